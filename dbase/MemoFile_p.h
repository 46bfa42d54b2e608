#pragma once
// Read access to memo files (.dbt of dBase III and IV, .fpt of FoxPro). New tables have
// no memo fields, so the engine only ever reads them.

#include "dbase/DbfHeader_p.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace qx7::dbase::detail {

class MemoFile
{
public:
    MemoFile() = default;
    MemoFile(const MemoFile&) = delete;
    MemoFile& operator=(const MemoFile&) = delete;
    ~MemoFile();

    // Throws Error::NotFound when the file is missing, Damaged when its header is short.
    void open(const std::filesystem::path& path, MemoKind kind, const std::string& table);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    // The stored bytes of the memo starting at `block` (0 = no memo). Throws Damaged
    // when the block or the length it declares lies past the end of the file.
    std::string read(std::uint32_t block) const;

    // The same on a memo file held in memory (for the fuzzer and for tests).
    static std::string readFrom(std::string_view file, MemoKind kind, std::uint32_t block,
                                const std::string& table);

private:
    int m_fd = -1;
    MemoKind m_kind = MemoKind::None;
    std::uint32_t m_blockSize = 512;
    std::uint64_t m_size = 0;
    std::string m_table;

    std::string readAt(std::uint64_t offset, std::size_t length) const;
};

} // namespace qx7::dbase::detail
