#pragma once
// The .dbf file itself: descriptor, lock, header and fixed-width records. Writes go
// straight to the file (pwrite) so that a killed process loses nothing that was posted;
// fdatasync waits for sync() and close() because doing it per record would make bulk
// appends crawl.

#include "dbase/DbfHeader_p.h"
#include "dbase/MemoFile_p.h"
#include "dbase/Schema.h"
#include "dbase/WriterLock_p.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qx7::dbase::detail {

struct FileStamp
{
    std::uint64_t size = 0;
    std::int64_t mtimeSec = 0;
    std::uint32_t mtimeNsec = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class DbfFile
{
public:
    DbfFile() = default;
    DbfFile(const DbfFile&) = delete;
    DbfFile& operator=(const DbfFile&) = delete;
    ~DbfFile();

    // Opens and locks (shared, or exclusive for OpenMode::Exclusive; a Shared open also
    // takes the one writer's lock). Throws InUse when a lock is held elsewhere, NotFound,
    // Io, or Damaged for a bad header or records hidden past the header's count.
    // `adoptFd`, when given, is an already open and locked descriptor for `path`.
    void open(const std::filesystem::path& path, OpenMode mode, const std::string& table,
              int adoptFd = -1);
    // Writes a new empty table (header, end-of-file mark) and syncs it.
    static void create(const std::filesystem::path& path, const std::string& header, bool overwrite,
                       const std::string& table);
    void close();
    bool isOpen() const { return m_fd >= 0; }

    const DbfHeader& header() const { return m_header; }
    std::uint32_t recordCount() const { return m_header.recordCount; }
    bool readOnly() const { return m_mode == OpenMode::ReadOnly; }
    OpenMode mode() const { return m_mode; }
    const MemoFile* memo() const { return &m_memo; }
    const std::filesystem::path& path() const { return m_path; }

    // recno is 1-based. Throws Invalid for a number outside 1..recordCount().
    void readRecord(std::uint32_t recno, char* out) const;
    // A hint that `recno` is read soon: a scan in index order reads records all over the
    // file, and fetching the next ones while this one is worked on hides the memory wait.
    void prefetchRecord(std::uint32_t recno) const;
    // Reads `count` consecutive records starting at `first` into `out`.
    void readRecords(std::uint32_t first, std::uint32_t count, char* out) const;
    void writeRecord(std::uint32_t recno, const char* data);
    // Writes the record and the end mark, then the header's count; returns the new recno.
    std::uint32_t appendRecord(const char* data);
    // Appends `count` consecutive records held in `data`, which has room for one byte
    // more than they take (for the end mark). Kill-safe like appendRecord: one write of
    // the records with the first one's flag byte holding the end mark, then the count,
    // then that flag. A batch is at most kMaxAppendBatchBytes long, so that the repair
    // on open knows how far back a pending flag can be. Returns the first new recno.
    std::uint32_t appendRecords(char* data, std::uint32_t count);
    static constexpr std::size_t kMaxAppendBatchBytes = 1u << 20;
    // Rewrites byte 28 and the descriptors' own-tag bytes to match the production index.
    void setProductionIndex(bool hasIndex, const std::vector<bool>& ownTag);
    // Only byte 28: cleared while the .mdx on disk lags behind the records, so dBase
    // programs do not open an index that would mislead them.
    void setIndexFlag(bool on);
    void sync();
    FileStamp stamp() const;
    bool wroteSinceOpen() const { return m_dirty; }

private:
    void pwriteAll(const void* data, std::size_t length, std::uint64_t offset, const char* what);
    void preadAll(void* data, std::size_t length, std::uint64_t offset) const;
    void touchHeader();
    void writeCount(std::uint32_t count);
    void chooseCodePage();
    void checkRecordsPastCount(std::uint64_t fileSize) const;
    void finishInterruptedAppend();
    std::uint64_t recordOffset(std::uint32_t recno) const;

    int m_fd = -1;
    // The first page of a writable file, mapped shared: the record count of every append
    // is stored there instead of through a second write call. A killed process leaves it
    // in the page cache like a write would; sync() and close() flush it with the file.
    unsigned char* m_headMap = nullptr;
    OpenMode m_mode = OpenMode::Shared;
    std::filesystem::path m_path;
    std::string m_table;
    DbfHeader m_header;
    MemoFile m_memo;
    WriterLock m_writerLock;
    bool m_dirty = false;
    bool m_needsSync = false;
    std::vector<char> m_appendBuffer;
    // A window of consecutive records kept after a read, so scans in record order do
    // one read per window instead of one per record.
    // Writable tables map their file for reading: visiting records in index order
    // then costs a copy instead of a read call per record. Records appended after the
    // mapping are read the ordinary way until the file has grown enough to map again.
    bool readMapped(std::uint64_t offset, std::size_t length, char* out) const;
    void unmapForRead() const;
    mutable const char* m_readMap = nullptr;
    mutable std::size_t m_readMapSize = 0;
    mutable std::vector<char> m_window;
    mutable std::uint32_t m_windowFirst = 0;
    mutable std::uint32_t m_windowCount = 0;
};

} // namespace qx7::dbase::detail
