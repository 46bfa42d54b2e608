#include "dbase/MdxFile_p.h"

#include "dbase/Bytes_p.h"
#include "dbase/EntrySort_p.h"
#include "dbase/Error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// .mdx layout. The file is made of 512-byte pages; every pointer is a page number, and
// tags and nodes occupy blocks of two pages (1024 bytes), which is what dBase and other
// readers expect. All integers little-endian.
//
// File header (pages 0-3):
//   0      version (2)            1-3    creation date (year-1900, month, day)
//   4-19   table base name, NUL padded
//   20-21  pages per block (2)    22-23  block size in bytes (1024)
//   24     production flag (1)    25     tag table entries (48)   26  entry length (32)
//   28-29  tags in use            31     language driver id (as in the .dbf)
//   32-35  pages in the file      36-39  first free page          40-43 free blocks
//   44-46  last update
//   48-79  unused by dBase; our currency stamp:
//          48-51 "QX7S", 52 stamp version (1), 53 dirty (1 while the table is written),
//          56-59 record count, 60-67 .dbf size, 68-75 .dbf mtime seconds, 76-79 nanoseconds
//   529    1
// Tag table entry i at 544 + 32·i:
//   0-3 tag header page, 4-14 name (NUL padded), 15 key format (0x10),
//   16/17/18 left / right / parent of a binary tree over the names (1-based, 0 none),
//   19 = 0x02, 20 key type (C, N, D)
// Tag header block:
//   0-3 root page, 4-7 pages used by the tag, 8 key format (0x10; +0x08 descending,
//   +0x40 unique), 9 key type, 12-13 key length, 14-15 keys per node,
//   18-19 item length (key length + 4, rounded up to 4), 24- key expression (NUL ended),
//   480 = 1 when the key is a single field
//   496-503 ours: sum over the tag's nodes of a hash of each node and its page number,
//           504 = 'Q' when present (catches damaged key bytes, which order alone cannot)
// Node block:
//   0-3 entry count n, 4-7 0, then from 8 n items [u32 pointer][key].
//   Leaf: pointer = record number; the u32 after item n is 0 (that is what marks a leaf).
//   Interior: pointer = child page, key = the highest key under that child; the u32
//   after item n points at the rightmost child.

namespace qx7::dbase::detail {

namespace {

constexpr std::size_t kPage = 512;
constexpr std::size_t kBlock = 1024;
constexpr std::size_t kTagTable = 544;
constexpr std::size_t kTagEntry = 32;
constexpr std::size_t kHeaderPages = 4;
constexpr std::size_t kMaxDepth = 32;
constexpr char kMagic[4] = {'Q', 'X', '7', 'S'};
constexpr std::size_t kChecksumOffset = 496;
constexpr char kChecksumMark = 'Q';

std::uint64_t nodeHash(const char* node, std::uint32_t page)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ page;
    for (std::size_t i = 0; i < kBlock; i += 8) {
        h = (h ^ getU64le(node + i)) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    return h;
}

[[noreturn]] void damaged(const std::string& table, const std::string& cause,
                          const std::string& where)
{
    throw Error(Error::Kind::Damaged, table, "read index", cause, where);
}

std::string cString(std::string_view bytes)
{
    return std::string(bytes.substr(0, bytes.find('\0')));
}

std::string trimRight(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) {
        s.pop_back();
    }
    return s;
}

std::size_t itemLengthFor(std::size_t keyLength)
{
    return (keyLength + 4 + 3) / 4 * 4;
}

// Walks a tag's tree depth first, checking every node on the way (bounds, cycles, key
// counts) and summing the nodes' hashes; hands each leaf to `leaf`.
class TreeWalk
{
public:
    using Leaf = std::function<void(const char* node, std::uint32_t n, std::uint32_t page)>;

    TreeWalk(const MdxReader& file, const MdxTagInfo& tag, const std::string& table, Leaf leaf)
        : m_file(file), m_tag(tag), m_table(table), m_leaf(std::move(leaf)),
          m_visited(file.size() / kPage, false)
    {}

    void walk(std::uint32_t page, std::size_t depth)
    {
        if (depth > kMaxDepth) {
            damaged(m_table, "the tree is too deep (a cycle?)", where(page));
        }
        if (page < kHeaderPages ||
            static_cast<std::uint64_t>(page) * kPage + kBlock > m_file.size()) {
            damaged(m_table, "a node pointer lies outside the file", where(page));
        }
        if (m_visited[page]) {
            damaged(m_table, "a node is reached twice", where(page));
        }
        m_visited[page] = true;
        char node[kBlock];
        if (!m_file.read(static_cast<std::uint64_t>(page) * kPage, kBlock, node)) {
            damaged(m_table, "a node cannot be read", where(page));
        }
        m_checksum += nodeHash(node, page);
        const std::uint32_t n = getU32le(node);
        const std::size_t item = m_tag.itemLength;
        if (n > (kBlock - 8) / item) {
            damaged(m_table, "the node claims " + std::to_string(n) + " keys", where(page));
        }
        const std::size_t after = 8 + n * item;
        const std::uint32_t rightmost = after + 4 <= kBlock ? getU32le(node + after) : 0;
        if (rightmost == 0) {
            m_leaf(node, n, page);
            return;
        }
        std::uint32_t children[kBlock / 4]; // items are at least 5 bytes long
        for (std::uint32_t i = 0; i < n; ++i) {
            children[i] = getU32le(node + 8 + i * item);
        }
        children[n] = rightmost;
        for (std::uint32_t i = 0; i <= n; ++i) {
            walk(children[i], depth + 1);
        }
    }

    void walkAndCheck()
    {
        walk(m_tag.rootPage, 0);
        char th[kBlock];
        if (m_file.read(static_cast<std::uint64_t>(m_tag.headerPage) * kPage, kBlock, th) &&
            th[kChecksumOffset + 8] == kChecksumMark &&
            getU64le(th + kChecksumOffset) != m_checksum) {
            damaged(m_table, "the tag's nodes do not match their checksum", "tag " + m_tag.name);
        }
    }

    std::string where(std::uint32_t page) const
    {
        return "tag " + m_tag.name + ", page " + std::to_string(page);
    }

private:
    const MdxReader& m_file;
    const MdxTagInfo& m_tag;
    const std::string& m_table;
    Leaf m_leaf;
    std::vector<bool> m_visited;
    std::uint64_t m_checksum = 0;
};

void checkRecno(std::uint32_t recno, std::uint32_t records, const std::string& table,
                const std::string& tag, std::uint32_t page)
{
    if (recno == 0 || recno > records) {
        damaged(table,
                "a key names record " + std::to_string(recno) + " of " + std::to_string(records),
                "tag " + tag + ", page " + std::to_string(page));
    }
}

// Other writers may order equal keys differently; ours must be by record number.
void sortEntries(std::string& entries, std::size_t width)
{
    const std::size_t n = entries.size() / width;
    bool sorted = true;
    for (std::size_t i = 1; i < n && sorted; ++i) {
        sorted = std::memcmp(&entries[(i - 1) * width], &entries[i * width], width) <= 0;
    }
    if (sorted) {
        return;
    }
    sortEntriesByKey(entries, width, width);
}

void checkEveryRecordOnce(const std::string& entries, std::size_t keyLength, std::uint32_t records,
                          const MdxTagInfo& tag, const std::string& table)
{
    const std::size_t width = keyLength + 4;
    const std::size_t n = entries.size() / width;
    if (n != records) {
        damaged(table,
                "the tag holds " + std::to_string(n) + " keys for " + std::to_string(records) +
                    " records",
                "tag " + tag.name);
    }
    std::vector<bool> seen(records + 1u, false);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t r = getU32be(&entries[i * width + keyLength]);
        if (seen[r]) {
            damaged(table, "record " + std::to_string(r) + " is indexed twice", "tag " + tag.name);
        }
        seen[r] = true;
    }
}

} // namespace

std::shared_ptr<MdxReader> MdxReader::open(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::shared_ptr<MdxReader>(new MdxReader(fd, static_cast<std::uint64_t>(st.st_size)));
}

MdxReader::~MdxReader()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool MdxReader::read(std::uint64_t offset, std::size_t n, char* out) const
{
    if (offset > m_size || n > m_size - offset) {
        return false;
    }
    if (m_fd < 0) {
        std::memcpy(out, m_bytes.data() + offset, n);
        return true;
    }
    constexpr std::uint64_t kBlockBytes = 64 * 1024;
    constexpr std::size_t kBlocksKept = 4;
    while (n > 0) {
        const std::uint64_t number = offset / kBlockBytes;
        Block* b = nullptr;
        for (Block& c : m_blocks) {
            if (c.number == number) {
                b = &c;
            }
        }
        if (b == nullptr) {
            if (m_blocks.size() < kBlocksKept) {
                b = &m_blocks.emplace_back();
            } else {
                b = &*std::min_element(
                    m_blocks.begin(), m_blocks.end(),
                    [](const Block& x, const Block& y) { return x.used < y.used; });
            }
            const std::uint64_t start = number * kBlockBytes;
            const auto want = static_cast<std::size_t>(std::min(kBlockBytes, m_size - start));
            b->number = ~0ull;
            b->bytes.resize(want);
            std::size_t done = 0;
            while (done < want) {
                const ssize_t got = ::pread(m_fd, b->bytes.data() + done, want - done,
                                            static_cast<off_t>(start + done));
                if (got < 0 && errno == EINTR) {
                    continue;
                }
                if (got <= 0) {
                    return false;
                }
                done += static_cast<std::size_t>(got);
            }
            b->number = number;
        }
        b->used = ++m_clock;
        const auto within = static_cast<std::size_t>(offset - number * kBlockBytes);
        const std::size_t take = std::min(n, b->bytes.size() - within);
        std::memcpy(out, b->bytes.data() + within, take);
        out += take;
        offset += take;
        n -= take;
    }
    return true;
}

MdxInfo parseMdxHeader(std::string_view file, const std::string& table)
{
    return parseMdxHeader(MdxReader(file), table);
}

MdxInfo parseMdxHeader(const MdxReader& file, const std::string& table)
{
    std::string head(kHeaderPages * kPage, '\0');
    if (file.size() < kHeaderPages * kPage || !file.read(0, head.size(), head.data())) {
        damaged(table, "the index file is shorter than its header", "index offset 0");
    }
    const auto* b = reinterpret_cast<const unsigned char*>(head.data());
    if (b[0] != 2 || getU16le(b + 22) != kBlock || b[26] != kTagEntry) {
        damaged(table, "not a dBase IV index with 1024-byte blocks", "index offset 0");
    }
    MdxInfo info;
    info.dbfName = trimRight(cString(std::string_view(head).substr(4, 16)));
    info.ldid = b[31];
    const std::size_t tags = getU16le(b + 28);
    if (tags > kMdxMaxTags || tags > b[25]) {
        damaged(table, "the index claims " + std::to_string(tags) + " tags", "index offset 28");
    }
    if (std::memcmp(b + 48, kMagic, 4) == 0 && b[52] == 1) {
        info.stamp.present = true;
        info.stamp.dirty = b[53] != 0;
        info.stamp.recordCount = getU32le(b + 56);
        info.stamp.dbf.size = getU64le(b + 60);
        info.stamp.dbf.mtimeSec = static_cast<std::int64_t>(getU64le(b + 68));
        info.stamp.dbf.mtimeNsec = getU32le(b + 76);
    }
    char th[kPage];
    for (std::size_t i = 0; i < tags; ++i) {
        const char* e = head.data() + kTagTable + kTagEntry * i;
        MdxTagInfo t;
        t.headerPage = getU32le(e);
        t.name = trimRight(cString(std::string_view(e + 4, 11)));
        const std::string where = "tag table entry " + std::to_string(i + 1);
        if (t.name.empty()) {
            damaged(table, "a tag has no name", where);
        }
        if (t.headerPage < kHeaderPages ||
            !file.read(static_cast<std::uint64_t>(t.headerPage) * kPage, kPage, th)) {
            damaged(table, "tag " + t.name + " has its header outside the file", where);
        }
        t.rootPage = getU32le(th);
        t.keyFormat = static_cast<std::uint8_t>(th[8]);
        t.keyType = th[9];
        t.keyLength = getU16le(th + 12);
        t.itemLength = getU16le(th + 18);
        t.expression = trimRight(cString(std::string_view(th + 24, kPage - 24 - 32)));
        if (t.keyLength == 0 || t.keyLength > kMdxMaxKeyLength || t.itemLength < t.keyLength + 4u ||
            t.itemLength > kBlock - 12) {
            damaged(table, "tag " + t.name + " has impossible key or item lengths",
                    "tag " + t.name + " header, page " + std::to_string(t.headerPage));
        }
        info.tags.push_back(std::move(t));
    }
    return info;
}

void loadMdxTag(std::string_view file, const MdxTagInfo& tag, std::uint32_t recordCount,
                KeyList& out, const std::string& table)
{
    loadMdxTag(MdxReader(file), tag, recordCount, out, table);
}

void loadMdxTag(const MdxReader& file, const MdxTagInfo& tag, std::uint32_t recordCount,
                KeyList& out, const std::string& table)
{
    const std::size_t width = tag.keyLength + 4u;
    std::string entries;
    entries.reserve(static_cast<std::size_t>(recordCount) * width);
    TreeWalk walk(file, tag, table, [&](const char* node, std::uint32_t n, std::uint32_t page) {
        for (std::uint32_t i = 0; i < n; ++i) {
            const char* item = node + 8 + i * tag.itemLength;
            const std::uint32_t recno = getU32le(item);
            checkRecno(recno, recordCount, table, tag.name, page);
            if (entries.size() / width >= recordCount) {
                damaged(table, "the tag holds more keys than the table has records",
                        "tag " + tag.name + ", page " + std::to_string(page));
            }
            entries.append(item + 4, tag.keyLength);
            char be[4];
            putU32be(be, recno);
            entries.append(be, 4);
        }
    });
    walk.walkAndCheck();
    sortEntries(entries, width);
    checkEveryRecordOnce(entries, tag.keyLength, recordCount, tag, table);
    out.clear();
    for (std::size_t off = 0; off < entries.size(); off += width) {
        out.appendSortedEntry(&entries[off]);
    }
}

namespace {

// A lazy tag's leaves, read again from the file when the list needs one.
class LeafSource : public KeyList::ChunkSource
{
public:
    LeafSource(std::shared_ptr<const MdxReader> file, const MdxTagInfo& tag, std::uint32_t records,
               std::string table, std::vector<std::uint32_t> pages)
        : m_file(std::move(file)), m_tag(tag), m_records(records), m_table(std::move(table)),
          m_pages(std::move(pages))
    {}

    void read(std::size_t chunk, std::size_t count, char* out) const override
    {
        const std::uint32_t page = m_pages[chunk];
        char node[kBlock];
        if (!m_file->read(static_cast<std::uint64_t>(page) * kPage, kBlock, node) ||
            getU32le(node) != count) {
            damaged(m_table, "a node changed since the index was opened",
                    "tag " + m_tag.name + ", page " + std::to_string(page));
        }
        const std::size_t keyLength = m_tag.keyLength;
        for (std::size_t i = 0; i < count; ++i, out += keyLength + 4) {
            const char* item = node + 8 + i * m_tag.itemLength;
            const std::uint32_t recno = getU32le(item);
            checkRecno(recno, m_records, m_table, m_tag.name, page);
            std::memcpy(out, item + 4, keyLength);
            putU32be(out + keyLength, recno);
        }
    }

private:
    std::shared_ptr<const MdxReader> m_file;
    MdxTagInfo m_tag;
    std::uint32_t m_records;
    std::string m_table;
    std::vector<std::uint32_t> m_pages;
};

} // namespace

bool openMdxTagLazily(const std::shared_ptr<const MdxReader>& file, const MdxTagInfo& tag,
                      std::uint32_t recordCount, KeyList& out, const std::string& table)
{
    const std::size_t keyLength = tag.keyLength;
    const std::size_t width = keyLength + 4u;
    std::vector<std::uint32_t> pages;
    std::vector<std::uint32_t> counts;
    std::vector<char> fences;
    std::vector<bool> seen(static_cast<std::size_t>(recordCount) + 1u, false);
    std::size_t total = 0;
    bool ordered = true;
    const std::size_t itemLength = tag.itemLength;
    // Entries in order of key, then of record number; the first of each leaf against
    // the last of the leaf before.
    const auto before = [&](const char* a, std::uint32_t ra, const char* b, std::uint32_t rb) {
        const int c = std::memcmp(a, b, keyLength);
        return c < 0 || (c == 0 && ra < rb);
    };
    TreeWalk walk(*file, tag, table, [&](const char* node, std::uint32_t n, std::uint32_t page) {
        if (n == 0) {
            return;
        }
        total += n;
        if (total > recordCount) {
            damaged(table, "the tag holds more keys than the table has records",
                    "tag " + tag.name + ", page " + std::to_string(page));
        }
        const char* item = node + 8;
        std::uint32_t recno = 0;
        for (std::uint32_t i = 0; i < n; ++i, item += itemLength) {
            const std::uint32_t previous = recno;
            recno = getU32le(item);
            checkRecno(recno, recordCount, table, tag.name, page);
            if (seen[recno]) {
                damaged(table, "record " + std::to_string(recno) + " is indexed twice",
                        "tag " + tag.name);
            }
            seen[recno] = true;
            if (i > 0 && ordered) {
                ordered = before(item - itemLength + 4, previous, item + 4, recno);
            }
        }
        const char* first = node + 8;
        if (!fences.empty() && ordered) {
            const char* last = &fences[fences.size() - width];
            ordered = before(last, getU32be(last + keyLength), first + 4, getU32le(first));
        }
        const char* lastItem = item - itemLength;
        const std::size_t at = fences.size();
        fences.resize(at + width);
        std::memcpy(&fences[at], lastItem + 4, keyLength);
        putU32be(&fences[at + keyLength], recno);
        pages.push_back(page);
        counts.push_back(n);
    });
    walk.walkAndCheck();
    if (total != recordCount) {
        damaged(table,
                "the tag holds " + std::to_string(total) + " keys for " +
                    std::to_string(recordCount) + " records",
                "tag " + tag.name);
    }
    if (!ordered) {
        return false;
    }
    out.setLazy(std::make_shared<LeafSource>(file, tag, recordCount, table, std::move(pages)),
                std::move(counts), std::move(fences));
    return true;
}

namespace {

// The file is built a tag at a time: the header pages stay until the end, the pages of
// one tag are handed on as soon as the tag is complete.
struct Builder
{
    std::string header = std::string(kHeaderPages * kPage, '\0');
    std::string part; // pages from partFirst to nextPage
    std::size_t partFirst = kHeaderPages;
    std::size_t nextPage = kHeaderPages;

    std::size_t allocate()
    {
        const std::size_t page = nextPage;
        nextPage += kBlock / kPage;
        part.resize((nextPage - partFirst) * kPage, '\0');
        return page;
    }
    char* at(std::size_t page)
    {
        return page < kHeaderPages ? header.data() + page * kPage
                                   : part.data() + (page - partFirst) * kPage;
    }
    void handOn(const MdxSink& sink)
    {
        if (!part.empty())
            sink(static_cast<std::uint64_t>(partFirst) * kPage, part);
        part.clear();
        partFirst = nextPage;
    }
};

struct Child
{
    std::uint32_t page;
    const char* highKey;
};

// Splits `n` items into groups of at most `cap`, as evenly as possible.
std::vector<std::size_t> groupSizes(std::size_t n, std::size_t cap)
{
    const std::size_t groups = std::max<std::size_t>(1, (n + cap - 1) / cap);
    std::vector<std::size_t> sizes(groups, n / groups);
    for (std::size_t i = 0; i < n % groups; ++i) {
        ++sizes[i];
    }
    return sizes;
}

// The blocks writeTree takes for `n` keys: the leaves and every level above them.
std::size_t treeBlocks(std::size_t n, std::size_t maxKeys)
{
    std::size_t level = groupSizes(n, maxKeys).size();
    std::size_t total = level;
    while (level > 1) {
        level = groupSizes(level, maxKeys + 1).size();
        total += level;
    }
    return total;
}

std::uint32_t writeTree(Builder& b, const KeyList& keys, std::size_t item, std::size_t maxKeys)
{
    const std::size_t keyLength = keys.keyLength();
    std::vector<Child> level;
    KeyList::Pos pos = keys.begin();
    for (std::size_t count : groupSizes(keys.size(), maxKeys)) {
        const std::size_t page = b.allocate();
        char* node = b.at(page);
        putU32le(node, static_cast<std::uint32_t>(count));
        const char* high = nullptr;
        for (std::size_t i = 0; i < count; ++i, keys.next(pos)) {
            const char* e = keys.entry(pos);
            char* it = node + 8 + i * item;
            putU32le(it, keys.recno(pos));
            std::memcpy(it + 4, e, keyLength);
            high = e;
        }
        level.push_back({static_cast<std::uint32_t>(page), high});
    }
    while (level.size() > 1) {
        std::vector<Child> upper;
        std::size_t first = 0;
        for (std::size_t count : groupSizes(level.size(), maxKeys + 1)) {
            const std::size_t page = b.allocate();
            char* node = b.at(page);
            putU32le(node, static_cast<std::uint32_t>(count - 1));
            for (std::size_t i = 0; i + 1 < count; ++i) {
                char* it = node + 8 + i * item;
                putU32le(it, level[first + i].page);
                std::memcpy(it + 4, level[first + i].highKey, keyLength);
            }
            putU32le(node + 8 + (count - 1) * item, level[first + count - 1].page);
            upper.push_back({static_cast<std::uint32_t>(page), level[first + count - 1].highKey});
            first += count;
        }
        level.swap(upper);
    }
    return level.front().page;
}

void linkTagNames(char* table, const std::vector<MdxTagSource>& tags)
{
    for (std::size_t i = 1; i < tags.size(); ++i) {
        std::size_t at = 0;
        while (true) {
            char* e = table + kTagEntry * at;
            const bool left = tags[i].name < tags[at].name;
            const auto link = static_cast<unsigned char>(e[left ? 16 : 17]);
            if (link == 0) {
                e[left ? 16 : 17] = static_cast<char>(i + 1);
                table[kTagEntry * i + 18] = static_cast<char>(at + 1);
                break;
            }
            at = link - 1u;
        }
    }
}

} // namespace

void buildMdx(const std::string& dbfName, std::uint8_t ldid, const std::vector<MdxTagSource>& tags,
              const MdxStamp& stamp, Date today, const MdxSink& sink)
{
    Builder b;
    for (std::size_t t = 0; t < tags.size(); ++t) {
        const MdxTagSource& tag = tags[t];
        const std::size_t keyLength = tag.keys->keyLength();
        const std::size_t item = itemLengthFor(keyLength);
        const std::size_t maxKeys = (kBlock - 12) / item;
        // Reserved whole: grown step by step, a tag's pages would need twice the room.
        b.part.reserve((1 + treeBlocks(tag.keys->size(), maxKeys)) * kBlock);
        const std::size_t headerPage = b.allocate();
        const std::size_t firstPage = b.nextPage;
        const std::uint32_t root = writeTree(b, *tag.keys, item, maxKeys);
        char* th = b.at(headerPage);
        putU32le(th, root);
        putU32le(th + 4, static_cast<std::uint32_t>(b.nextPage - firstPage + 2));
        th[8] = 0x10;
        th[9] = 'C';
        putU16le(th + 12, static_cast<std::uint16_t>(keyLength));
        putU16le(th + 14, static_cast<std::uint16_t>(maxKeys));
        putU16le(th + 18, static_cast<std::uint16_t>(item));
        std::memcpy(th + 24, tag.expression.data(),
                    std::min<std::size_t>(tag.expression.size(), 200));
        th[480] = tag.singleField ? 0x01 : 0x00;
        std::uint64_t sum = 0;
        for (std::size_t page = firstPage; page < b.nextPage; page += kBlock / kPage) {
            sum += nodeHash(b.at(page), static_cast<std::uint32_t>(page));
        }
        putU64le(th + kChecksumOffset, sum);
        th[kChecksumOffset + 8] = kChecksumMark;
        char* e = b.header.data() + kTagTable + kTagEntry * t;
        putU32le(e, static_cast<std::uint32_t>(headerPage));
        std::memcpy(e + 4, tag.name.data(), std::min<std::size_t>(tag.name.size(), 10));
        e[15] = 0x10;
        e[19] = 0x02;
        e[20] = 'C';
        b.handOn(sink);
    }
    auto* h = reinterpret_cast<unsigned char*>(b.header.data());
    h[0] = 2;
    h[1] = static_cast<unsigned char>(today.year - 1900);
    h[2] = static_cast<unsigned char>(today.month);
    h[3] = static_cast<unsigned char>(today.day);
    std::string base = dbfName.substr(0, 16);
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::memcpy(h + 4, base.data(), base.size());
    putU16le(h + 20, kBlock / kPage);
    putU16le(h + 22, kBlock);
    h[24] = 1;
    h[25] = 48;
    h[26] = kTagEntry;
    putU16le(h + 28, static_cast<std::uint16_t>(tags.size()));
    h[31] = ldid;
    putU32le(h + 32, static_cast<std::uint32_t>(b.nextPage));
    putU32le(h + 36, static_cast<std::uint32_t>(b.nextPage));
    h[44] = h[1];
    h[45] = h[2];
    h[46] = h[3];
    std::memcpy(h + 48, kMagic, 4);
    h[52] = 1;
    h[53] = stamp.dirty ? 1 : 0;
    putU32le(h + 56, stamp.recordCount);
    putU64le(h + 60, stamp.dbf.size);
    putU64le(h + 68, static_cast<std::uint64_t>(stamp.dbf.mtimeSec));
    putU32le(h + 76, stamp.dbf.mtimeNsec);
    h[529] = 1;
    linkTagNames(b.header.data() + kTagTable, tags);
    sink(0, b.header);
}

std::string buildMdx(const std::string& dbfName, std::uint8_t ldid,
                     const std::vector<MdxTagSource>& tags, const MdxStamp& stamp, Date today)
{
    std::string file;
    buildMdx(dbfName, ldid, tags, stamp, today, [&](std::uint64_t offset, std::string_view bytes) {
        if (file.size() < offset + bytes.size())
            file.resize(static_cast<std::size_t>(offset) + bytes.size(), '\0');
        std::memcpy(file.data() + offset, bytes.data(), bytes.size());
    });
    return file;
}

} // namespace qx7::dbase::detail
