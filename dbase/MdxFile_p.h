#pragma once
// The production index file (.mdx, dBase IV multiple-index format): its header, its tag
// table and each tag's B-tree. Reading checks every structure it walks, because a
// damaged index must lead to a rebuild, never to wrong answers or a crash. Writing
// produces the whole file from the in-memory key lists. Layouts are in MdxFile.cpp.

#include "dbase/DbfFile_p.h"
#include "dbase/KeyList_p.h"
#include "dbase/Schema.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qx7::dbase::detail {

struct MdxTagInfo
{
    std::string name;
    std::string expression;
    char keyType = 'C';
    std::uint8_t keyFormat = 0x10;
    std::uint16_t keyLength = 0;
    std::uint16_t itemLength = 0;
    std::uint32_t headerPage = 0;
    std::uint32_t rootPage = 0;
    bool descending() const { return (keyFormat & 0x08) != 0; }
    bool unique() const { return (keyFormat & 0x40) != 0; }
};

// What we record in the header's unused bytes to tell whether the index still matches
// its table: a dirty marker set before the first write to the table and cleared when
// the index is written back, and the table's count, size and modification time.
struct MdxStamp
{
    bool present = false;
    bool dirty = false;
    std::uint32_t recordCount = 0;
    FileStamp dbf;
};

struct MdxInfo
{
    std::string dbfName;
    std::uint8_t ldid = 0;
    std::vector<MdxTagInfo> tags;
    MdxStamp stamp;
};

struct MdxTagSource
{
    std::string name;
    std::string expression;
    bool singleField = false;
    const KeyList* keys = nullptr;
};

inline constexpr std::size_t kMdxDirtyOffset = 53;
// Where the .dbf's size and modification time sit in the stamp (see MdxFile.cpp).
inline constexpr std::size_t kMdxStampOffset = 60;
inline constexpr std::size_t kMdxMaxTags = 47;
inline constexpr std::size_t kMdxMaxKeyLength = 100;

// An index file read by its bytes: from memory, or through a descriptor kept open (the
// file is replaced by renaming, never rewritten under a reader, so what the descriptor
// reads stays one consistent index). Reads go through a few cached blocks of 64 KB.
class MdxReader
{
public:
    explicit MdxReader(std::string_view bytes) : m_bytes(bytes), m_size(bytes.size()) {}
    // Takes the descriptor; nullptr when the file cannot be opened.
    static std::shared_ptr<MdxReader> open(const std::filesystem::path& path);
    ~MdxReader();
    MdxReader(const MdxReader&) = delete;
    MdxReader& operator=(const MdxReader&) = delete;

    std::uint64_t size() const { return m_size; }
    // Copies `n` bytes at `offset`; false when they are not all in the file or unreadable.
    bool read(std::uint64_t offset, std::size_t n, char* out) const;

private:
    MdxReader(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    struct Block
    {
        std::uint64_t number = ~0ull;
        std::uint64_t used = 0;
        std::vector<char> bytes;
    };
    std::string_view m_bytes;
    int m_fd = -1;
    std::uint64_t m_size = 0;
    mutable std::vector<Block> m_blocks;
    mutable std::uint64_t m_clock = 0;
};

// Throws Error::Damaged when the header or tag table contradict the file.
MdxInfo parseMdxHeader(const MdxReader& file, const std::string& table);
MdxInfo parseMdxHeader(std::string_view file, const std::string& table);

// Walks the tag's tree into `out` (which must have the tag's key length). The entries
// must be in order and name every record 1..recordCount exactly once (dBase keeps
// deleted records indexed); anything else throws Error::Damaged.
void loadMdxTag(const MdxReader& file, const MdxTagInfo& tag, std::uint32_t recordCount,
                KeyList& out, const std::string& table);
void loadMdxTag(std::string_view file, const MdxTagInfo& tag, std::uint32_t recordCount,
                KeyList& out, const std::string& table);

// The same checks, but the keys stay in the file: `out` becomes a lazy list over the
// tag's leaves, reading one when it is needed. False (and `out` untouched) when the
// leaves hold equal keys out of record order, as other writers leave them: such a tag
// must be loaded and sorted instead.
bool openMdxTagLazily(const std::shared_ptr<const MdxReader>& file, const MdxTagInfo& tag,
                      std::uint32_t recordCount, KeyList& out, const std::string& table);

// Receives the bytes of a file at their offset, in any order.
using MdxSink = std::function<void(std::uint64_t offset, std::string_view bytes)>;

// The whole .mdx, handed to `sink` a tag at a time (the header pages last), so that
// the file is never held whole.
void buildMdx(const std::string& dbfName, std::uint8_t ldid, const std::vector<MdxTagSource>& tags,
              const MdxStamp& stamp, Date today, const MdxSink& sink);
// The same as one string.
std::string buildMdx(const std::string& dbfName, std::uint8_t ldid,
                     const std::vector<MdxTagSource>& tags, const MdxStamp& stamp, Date today);

} // namespace qx7::dbase::detail
