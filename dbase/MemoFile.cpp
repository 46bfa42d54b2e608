#include "dbase/MemoFile_p.h"

#include "dbase/Bytes_p.h"
#include "dbase/Error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

// Memo file layouts.
// dBase III .dbt: 512-byte blocks; header bytes 0-3 next free block. A memo is text
//   ending at the first 0x1A (dBase writes two).
// dBase IV .dbt: header 0-3 next free block, 8-15 dbf name, 20-21 block size. A memo
//   block starts FF FF 08 00, then a u32 length that counts these 8 bytes.
// FoxPro .fpt (big-endian): header 0-3 next free block, 6-7 block size. A memo block
//   starts with u32 type (0 picture, 1 text) and u32 length of the data that follows.

namespace qx7::dbase::detail {

namespace {

// Longest memo we agree to return; a corrupt length field must not make us allocate GBs.
constexpr std::size_t kMaxMemo = 64u * 1024 * 1024;

std::uint32_t blockSizeOf(std::string_view header, MemoKind kind)
{
    if (header.size() < 22) {
        return 512;
    }
    std::uint32_t size = 512;
    if (kind == MemoKind::Dbt4) {
        size = getU16le(header.data() + 20);
    } else if (kind == MemoKind::Fpt) {
        const auto* b = reinterpret_cast<const unsigned char*>(header.data());
        size = static_cast<std::uint32_t>((b[6] << 8) | b[7]);
    }
    return size == 0 ? 512 : size;
}

// Shared by the file and the in-memory reader: `fetch(offset, length)` returns what the
// file holds there (shorter at the end of the file).
std::string decodeMemo(MemoKind kind, std::uint32_t blockSize, std::uint64_t fileSize,
                       std::uint32_t block,
                       const std::function<std::string(std::uint64_t, std::size_t)>& fetch,
                       const std::string& table)
{
    const std::uint64_t offset = static_cast<std::uint64_t>(block) * blockSize;
    const std::string where = "memo block " + std::to_string(block);
    auto damaged = [&](const std::string& cause) {
        throw Error(Error::Kind::Damaged, table, "read memo", cause, where);
    };
    if (block == 0) {
        return {};
    }
    if (offset >= fileSize) {
        damaged("the memo pointer is past the end of the memo file");
    }
    if (kind == MemoKind::Fpt) {
        const std::string head = fetch(offset, 8);
        if (head.size() < 8) {
            damaged("the memo block header is cut short");
        }
        const std::uint32_t length = getU32be(head.data() + 4);
        if (length > kMaxMemo || offset + 8 + length > fileSize) {
            damaged("the memo length runs past the end of the memo file");
        }
        return fetch(offset + 8, length);
    }
    if (kind == MemoKind::Dbt4) {
        const std::string head = fetch(offset, 8);
        if (head.size() == 8 && static_cast<unsigned char>(head[0]) == 0xFF &&
            static_cast<unsigned char>(head[1]) == 0xFF) {
            const std::uint32_t length = getU32le(head.data() + 4);
            if (length < 8 || length > kMaxMemo || offset + length > fileSize) {
                damaged("the memo length runs past the end of the memo file");
            }
            return fetch(offset + 8, length - 8);
        }
    }
    // dBase III style: text up to the 0x1A terminator.
    std::string text;
    std::uint64_t at = offset;
    while (at < fileSize && text.size() < kMaxMemo) {
        std::string chunk = fetch(at, 512);
        if (chunk.empty()) {
            break;
        }
        const auto end = chunk.find('\x1A');
        if (end != std::string::npos) {
            text.append(chunk, 0, end);
            return text;
        }
        text += chunk;
        at += chunk.size();
    }
    return text;
}

} // namespace

MemoFile::~MemoFile()
{
    close();
}

void MemoFile::open(const std::filesystem::path& path, MemoKind kind, const std::string& table)
{
    close();
    m_table = table;
    m_kind = kind;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        throw Error(Error::Kind::NotFound, table, "open memo file",
                    path.filename().string() + ": " + std::strerror(errno));
    }
    struct stat st
    {};
    ::fstat(m_fd, &st);
    m_size = static_cast<std::uint64_t>(st.st_size);
    const std::string header = readAt(0, 512);
    if (header.size() < 8) {
        close();
        throw Error(Error::Kind::Damaged, table, "open memo file",
                    "the memo file header is cut short", path.filename().string() + " offset 0");
    }
    m_blockSize = blockSizeOf(header, kind);
}

void MemoFile::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::string MemoFile::readAt(std::uint64_t offset, std::size_t length) const
{
    std::string out(length, '\0');
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(m_fd, out.data() + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throw Error(Error::Kind::Io, m_table, "read memo", std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    out.resize(done);
    return out;
}

std::string MemoFile::read(std::uint32_t block) const
{
    if (m_fd < 0) {
        throw Error(Error::Kind::NotFound, m_table, "read memo", "the table has no memo file");
    }
    return decodeMemo(
        m_kind, m_blockSize, m_size, block,
        [this](std::uint64_t off, std::size_t len) { return readAt(off, len); }, m_table);
}

std::string MemoFile::readFrom(std::string_view file, MemoKind kind, std::uint32_t block,
                               const std::string& table)
{
    const std::uint32_t blockSize = blockSizeOf(file.substr(0, 512), kind);
    return decodeMemo(
        kind, blockSize, file.size(), block,
        [file](std::uint64_t off, std::size_t len) {
            return off >= file.size() ? std::string() : std::string(file.substr(off, len));
        },
        table);
}

} // namespace qx7::dbase::detail
