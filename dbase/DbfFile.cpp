#include "dbase/DbfFile_p.h"

#include "dbase/Bytes_p.h"
#include "dbase/Error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qx7::dbase::detail {

namespace {

constexpr char kEndOfFile = 0x1A;
constexpr std::size_t kWindowBytes = 64 * 1024;

std::filesystem::path findMemoFile(const std::filesystem::path& dbf, MemoKind kind)
{
    const char* names[2] = {kind == MemoKind::Fpt ? ".fpt" : ".dbt",
                            kind == MemoKind::Fpt ? ".FPT" : ".DBT"};
    for (const char* ext : names) {
        auto p = dbf;
        p.replace_extension(ext);
        std::error_code ec;
        if (std::filesystem::exists(p, ec)) {
            return p;
        }
    }
    auto p = dbf;
    return p.replace_extension(names[0]);
}

} // namespace

DbfFile::~DbfFile()
{
    try {
        close();
    } catch (...) {
        // a destructor has no one to tell; close() reports errors to callers who ask
    }
}

void DbfFile::open(const std::filesystem::path& path, OpenMode mode, const std::string& table,
                   int adoptFd)
{
    close();
    m_table = table;
    m_path = path;
    m_mode = mode;
    const int flags = (mode == OpenMode::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    m_fd = adoptFd >= 0 ? adoptFd : ::open(path.c_str(), flags);
    if (m_fd < 0) {
        const int err = errno;
        throw Error(err == ENOENT ? Error::Kind::NotFound : Error::Kind::Io, table, "open",
                    path.string() + ": " + std::strerror(err));
    }
    const int lock = (mode == OpenMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    if (::flock(m_fd, lock) != 0) {
        const int err = errno;
        ::close(m_fd);
        m_fd = -1;
        if (err == EWOULDBLOCK) {
            throw Error(Error::Kind::InUse, table, "open",
                        mode == OpenMode::Exclusive ? "the table is in use"
                                                    : "the table is open exclusively elsewhere");
        }
        throw Error(Error::Kind::Io, table, "open", std::string("lock: ") + std::strerror(err));
    }
    try {
        if (mode == OpenMode::Shared) {
            m_writerLock.acquire(m_fd, table);
        }
        const FileStamp st = stamp();
        std::string head(std::min<std::uint64_t>(st.size, 32), '\0');
        preadAll(head.data(), head.size(), 0);
        std::size_t length = declaredHeaderLength(head);
        if (length > head.size() && length <= st.size) {
            head.resize(length);
            preadAll(head.data(), length, 0);
        }
        m_header = parseDbfHeader(head, st.size, table);
        checkRecordsPastCount(st.size);
        chooseCodePage();
        if (mode != OpenMode::ReadOnly) {
            void* map = ::mmap(nullptr, 8, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
            m_headMap = map == MAP_FAILED ? nullptr : static_cast<unsigned char*>(map);
        }
        if (m_header.memoKind != MemoKind::None && m_header.hasMemoFields()) {
            try {
                m_memo.open(findMemoFile(path, m_header.memoKind), m_header.memoKind, table);
            } catch (const Error& e) {
                if (e.kind() != Error::Kind::NotFound) {
                    throw;
                }
                // Tables whose memo file is lost still open; reading a memo says why not.
            }
        }
    } catch (...) {
        if (m_headMap) {
            ::munmap(m_headMap, 8);
            m_headMap = nullptr;
        }
        m_writerLock.release();
        ::close(m_fd);
        m_fd = -1;
        throw;
    }
    m_dirty = false;
    m_needsSync = false;
    m_windowCount = 0;
    m_appendBuffer.assign(m_header.recordLength + 1u, '\0');
    if (mode != OpenMode::ReadOnly) {
        try {
            finishInterruptedAppend();
        } catch (...) {
            close();
            throw;
        }
    }
}

void DbfFile::chooseCodePage()
{
    for (const char* ext : {".cpg", ".CPG"}) {
        auto cpg = m_path;
        cpg.replace_extension(ext);
        std::ifstream in(cpg, std::ios::binary);
        std::string text;
        if (!in || !std::getline(in, text)) {
            continue;
        }
        const auto name = cpgCodePageName(text);
        const auto page = name ? CodePage::named(*name) : std::nullopt;
        m_header.codePageOrigin = ".cpg file \"" + (name ? *name : text) + "\"";
        m_header.codePageKnown = page.has_value();
        m_header.codePage = page.value_or(CodePage());
        return;
    }
    if (m_header.ldid == 0) {
        m_header.codePageOrigin = "none given";
        return;
    }
    const LanguageDriver* driver = languageDriver(m_header.ldid);
    const auto page = driver ? CodePage::named(driver->codePage) : std::nullopt;
    m_header.codePageKnown = page.has_value();
    m_header.codePage = page.value_or(CodePage());
    if (!page) {
        static const char* digits = "0123456789ABCDEF";
        m_header.codePageOrigin = std::string("language driver 0x") + digits[m_header.ldid >> 4] +
                                  digits[m_header.ldid & 15];
    }
}

void DbfFile::checkRecordsPastCount(std::uint64_t fileSize) const
{
    const std::uint64_t counted =
        m_header.headerLength +
        static_cast<std::uint64_t>(m_header.recordCount) * m_header.recordLength;
    if (fileSize < counted + m_header.recordLength) {
        return;
    }
    // A whole record with a live or deleted flag right after the counted ones: the count
    // is too low, and trusting it would hide those records (and a rewrite would drop
    // them). The end mark there instead is a normal end or an append that never finished.
    char flag = 0;
    preadAll(&flag, 1, counted);
    if (flag != ' ' && flag != '*') {
        return;
    }
    const std::uint64_t inFile = (fileSize - m_header.headerLength) / m_header.recordLength;
    throw Error(Error::Kind::Damaged, m_table, "open",
                "the header counts " + std::to_string(m_header.recordCount) +
                    " records but the file holds " + std::to_string(inFile) +
                    "; the records past the count would be hidden",
                "offset 4");
}

void DbfFile::finishInterruptedAppend()
{
    // An append killed after its count was written but before its pending flag byte: the
    // records are whole and counted, only that flag still holds the end mark. It is the
    // first record of the last batch, so it lies within one batch of the end.
    if (m_header.recordCount == 0 || m_header.recordLength == 0) {
        return;
    }
    const std::size_t len = m_header.recordLength;
    const std::uint32_t span = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(m_header.recordCount, kMaxAppendBatchBytes / len + 1));
    const std::uint32_t from = m_header.recordCount - span + 1;
    std::vector<char> tail(span * len);
    preadAll(tail.data(), tail.size(), recordOffset(from));
    for (std::uint32_t i = 0; i < span; ++i) {
        if (tail[i * len] == kEndOfFile) {
            const char live = ' ';
            pwriteAll(&live, 1, recordOffset(from + i), "repair");
        }
    }
}

void DbfFile::create(const std::filesystem::path& path, const std::string& header, bool overwrite,
                     const std::string& table)
{
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (overwrite ? O_TRUNC : O_EXCL);
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        const int err = errno;
        throw Error(err == EEXIST ? Error::Kind::Invalid : Error::Kind::Io, table, "create",
                    err == EEXIST ? "the table already exists"
                                  : path.string() + ": " + std::strerror(err));
    }
    if (overwrite && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        throw Error(Error::Kind::InUse, table, "create", "the table is in use");
    }
    std::string bytes = header;
    bytes.push_back(kEndOfFile);
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                    ::fdatasync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok) {
        throw Error(Error::Kind::Io, table, "create", std::strerror(err));
    }
}

void DbfFile::close()
{
    if (m_fd < 0) {
        return;
    }
    m_memo.close();
    const bool syncFailed = m_needsSync && ((m_headMap && ::msync(m_headMap, 8, MS_SYNC) != 0) ||
                                            ::fdatasync(m_fd) != 0);
    if (m_headMap) {
        ::munmap(m_headMap, 8);
        m_headMap = nullptr;
    }
    unmapForRead(); // a mapping keeps the file, and so its lock, alive
    const int err = errno;
    ::close(m_fd); // also releases the lock
    m_fd = -1;
    m_writerLock.release();
    m_needsSync = false;
    if (syncFailed) {
        throw Error(Error::Kind::Io, m_table, "close", std::strerror(err));
    }
}

std::uint64_t DbfFile::recordOffset(std::uint32_t recno) const
{
    return m_header.headerLength + static_cast<std::uint64_t>(recno - 1) * m_header.recordLength;
}

void DbfFile::preadAll(void* data, std::size_t length, std::uint64_t offset) const
{
    auto* p = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(m_fd, p + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw Error(n == 0 ? Error::Kind::Damaged : Error::Kind::Io, m_table, "read",
                        n == 0 ? "the file ends early" : std::strerror(errno),
                        "offset " + std::to_string(offset + done));
        }
        done += static_cast<std::size_t>(n);
    }
}

void DbfFile::pwriteAll(const void* data, std::size_t length, std::uint64_t offset,
                        const char* what)
{
    if (m_mode == OpenMode::ReadOnly) {
        throw Error(Error::Kind::ReadOnly, m_table, what, "the table is open read-only");
    }
    const auto* p = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pwrite(m_fd, p + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw Error(Error::Kind::Io, m_table, what, std::strerror(errno));
        }
        done += static_cast<std::size_t>(n);
    }
    m_needsSync = true;
}

void DbfFile::readRecord(std::uint32_t recno, char* out) const
{
    const std::size_t len = m_header.recordLength;
    if (recno == 0 || recno > m_header.recordCount) {
        throw Error(Error::Kind::Invalid, m_table, "read record",
                    "record " + std::to_string(recno) + " does not exist");
    }
    if (recno >= m_windowFirst && recno < m_windowFirst + m_windowCount) {
        std::memcpy(out, m_window.data() + (recno - m_windowFirst) * len, len);
        return;
    }
    if (readMapped(recordOffset(recno), len, out)) {
        return;
    }
    if (m_windowCount != 0 && recno == m_windowFirst + m_windowCount) {
        // Reading on in record order: fetch a window's worth at once.
        const auto per = static_cast<std::uint32_t>(std::max<std::size_t>(1, kWindowBytes / len));
        const std::uint32_t count = std::min(per, m_header.recordCount - recno + 1);
        m_window.resize(static_cast<std::size_t>(count) * len);
        readRecords(recno, count, m_window.data());
        m_windowFirst = recno;
        m_windowCount = count;
        std::memcpy(out, m_window.data(), len);
        return;
    }
    m_window.resize(len);
    preadAll(m_window.data(), len, recordOffset(recno));
    m_windowFirst = recno;
    m_windowCount = 1;
    std::memcpy(out, m_window.data(), len);
}

void DbfFile::prefetchRecord(std::uint32_t recno) const
{
    const std::size_t len = m_header.recordLength;
    if (recno == 0 || recno > m_header.recordCount || m_readMap == nullptr) {
        return;
    }
    const std::uint64_t offset = recordOffset(recno);
    if (offset + len > m_readMapSize) {
        return;
    }
    for (std::size_t at = 0; at < len; at += 64) {
        __builtin_prefetch(m_readMap + offset + at);
    }
    __builtin_prefetch(m_readMap + offset + len - 1);
}

bool DbfFile::readMapped(std::uint64_t offset, std::size_t length, char* out) const
{
    constexpr std::size_t kRemapGrowth = 1 << 20;
    if (m_mode == OpenMode::ReadOnly || m_fd < 0) {
        return false; // another program may shrink a file we only read: no mapping
    }
    if (offset + length > m_readMapSize) {
        struct stat st
        {};
        if (::fstat(m_fd, &st) != 0 || offset + length > static_cast<std::uint64_t>(st.st_size) ||
            static_cast<std::size_t>(st.st_size) < m_readMapSize + kRemapGrowth) {
            return false;
        }
        unmapForRead();
        void* map =
            ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_SHARED, m_fd, 0);
        if (map == MAP_FAILED) {
            return false;
        }
        m_readMap = static_cast<const char*>(map);
        m_readMapSize = static_cast<std::size_t>(st.st_size);
    }
    std::memcpy(out, m_readMap + offset, length);
    return true;
}

void DbfFile::unmapForRead() const
{
    if (m_readMap != nullptr) {
        ::munmap(const_cast<char*>(m_readMap), m_readMapSize);
        m_readMap = nullptr;
        m_readMapSize = 0;
    }
}

void DbfFile::readRecords(std::uint32_t first, std::uint32_t count, char* out) const
{
    if (first == 0 || count > m_header.recordCount || first - 1 > m_header.recordCount - count) {
        throw Error(Error::Kind::Invalid, m_table, "read records", "records out of range");
    }
    preadAll(out, static_cast<std::size_t>(count) * m_header.recordLength, recordOffset(first));
}

void DbfFile::touchHeader()
{
    if (m_dirty) {
        return;
    }
    const Date d = today();
    m_header.lastUpdate = d;
    m_dirty = true;
}

void DbfFile::writeRecord(std::uint32_t recno, const char* data)
{
    if (recno == 0 || recno > m_header.recordCount) {
        throw Error(Error::Kind::Invalid, m_table, "write record",
                    "record " + std::to_string(recno) + " does not exist");
    }
    const std::size_t len = m_header.recordLength;
    pwriteAll(data, len, recordOffset(recno), "write record");
    if (recno >= m_windowFirst && recno < m_windowFirst + m_windowCount) {
        std::memcpy(m_window.data() + (recno - m_windowFirst) * len, data, len);
    }
    if (!m_dirty) {
        touchHeader();
        unsigned char date[3] = {static_cast<unsigned char>(m_header.lastUpdate.year - 1900),
                                 static_cast<unsigned char>(m_header.lastUpdate.month),
                                 static_cast<unsigned char>(m_header.lastUpdate.day)};
        pwriteAll(date, 3, 1, "write header");
    }
}

std::uint32_t DbfFile::appendRecord(const char* data)
{
    if (m_header.recordCount == 0xFFFFFFFFu) {
        throw Error(Error::Kind::Invalid, m_table, "append", "the table is full");
    }
    const std::size_t len = m_header.recordLength;
    const std::uint32_t recno = m_header.recordCount + 1;
    // The record first, then the count: a kill between the two leaves a stray record past
    // the count, which every reader ignores, never a count that promises a missing record.
    // The flag byte goes last: until then the record's first byte is the end mark, so
    // readers that stop at the mark (most of them) and readers that trust the count
    // both see the table without it.
    std::memcpy(m_appendBuffer.data(), data, len);
    m_appendBuffer[0] = kEndOfFile;
    m_appendBuffer[len] = kEndOfFile;
    pwriteAll(m_appendBuffer.data(), len + 1, recordOffset(recno), "append");
    writeCount(recno);
    pwriteAll(data, 1, recordOffset(recno), "append");
    return recno;
}

std::uint32_t DbfFile::appendRecords(char* data, std::uint32_t count)
{
    const std::size_t len = m_header.recordLength;
    if (count == 0) {
        return m_header.recordCount + 1;
    }
    if (len * count > kMaxAppendBatchBytes + len) {
        throw Error(Error::Kind::Invalid, m_table, "append", "the batch is too long");
    }
    if (0xFFFFFFFFu - m_header.recordCount < count) {
        throw Error(Error::Kind::Invalid, m_table, "append", "the table is full");
    }
    const std::uint32_t first = m_header.recordCount + 1;
    // As for one record: the records past the count first, the first one's flag holding
    // the end mark so that readers stopping at the mark see none of them even when the
    // write was cut short; then the count; then that one flag.
    const char flag = data[0];
    data[0] = kEndOfFile;
    data[len * count] = kEndOfFile;
    try {
        pwriteAll(data, len * count + 1, recordOffset(first), "append");
    } catch (...) {
        data[0] = flag;
        throw;
    }
    data[0] = flag;
    writeCount(first + count - 1);
    pwriteAll(&flag, 1, recordOffset(first), "append");
    return first;
}

void DbfFile::writeCount(std::uint32_t count)
{
    touchHeader();
    unsigned char head[7];
    head[0] = static_cast<unsigned char>(m_header.lastUpdate.year - 1900);
    head[1] = static_cast<unsigned char>(m_header.lastUpdate.month);
    head[2] = static_cast<unsigned char>(m_header.lastUpdate.day);
    putU32le(head + 3, count);
    if (m_headMap)
        std::memcpy(m_headMap + 1, head, sizeof head);
    else
        pwriteAll(head, sizeof head, 1, "append");
    m_header.recordCount = count;
}

void DbfFile::setIndexFlag(bool on)
{
    if (m_header.format != Format::DBase3 && m_header.format != Format::DBase4 &&
        m_header.format != Format::DBase7) {
        return; // FoxPro's byte 28 means a .cdx; never claim one
    }
    if (((m_header.tableFlags & 0x01) != 0) != on) {
        m_header.tableFlags =
            static_cast<std::uint8_t>((m_header.tableFlags & ~0x01) | (on ? 0x01 : 0x00));
        pwriteAll(&m_header.tableFlags, 1, 28, "write header");
    }
}

void DbfFile::setProductionIndex(bool hasIndex, const std::vector<bool>& ownTag)
{
    if (m_header.format != Format::DBase3 && m_header.format != Format::DBase4 &&
        m_header.format != Format::DBase7) {
        return; // FoxPro's byte 28 means a .cdx; never claim one
    }
    const unsigned char flag = hasIndex ? 0x01 : 0x00;
    if (((m_header.tableFlags & 0x01) != 0) != hasIndex) {
        m_header.tableFlags = static_cast<std::uint8_t>((m_header.tableFlags & ~0x01) | flag);
        pwriteAll(&m_header.tableFlags, 1, 28, "write header");
    }
    const bool level7 = m_header.format == Format::DBase7;
    for (std::size_t i = 0; i < m_header.fields.size() && i < ownTag.size(); ++i) {
        if (m_header.fields[i].hasOwnTag == ownTag[i]) {
            continue;
        }
        m_header.fields[i].hasOwnTag = ownTag[i];
        const unsigned char v = ownTag[i] ? 0x01 : 0x00;
        const std::uint64_t at = level7 ? 68 + 48 * i + 37 : 32 + 32 * i + 31;
        pwriteAll(&v, 1, at, "write header");
    }
}

void DbfFile::sync()
{
    if (m_fd >= 0 && m_needsSync) {
        if ((m_headMap && ::msync(m_headMap, 8, MS_SYNC) != 0) || ::fdatasync(m_fd) != 0) {
            throw Error(Error::Kind::Io, m_table, "flush", std::strerror(errno));
        }
        m_needsSync = false;
    }
}

FileStamp DbfFile::stamp() const
{
    struct stat st
    {};
    if (::fstat(m_fd, &st) != 0) {
        throw Error(Error::Kind::Io, m_table, "stat", std::strerror(errno));
    }
    return {static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
            static_cast<std::uint32_t>(st.st_mtim.tv_nsec)};
}

} // namespace qx7::dbase::detail
