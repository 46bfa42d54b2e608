#include "dbase/MdxFile_p.h"

#include "dbase/Bytes_p.h"
#include "dbase/Error.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <numeric>

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

class TreeWalk
{
public:
    TreeWalk(std::string_view file, const MdxTagInfo& tag, std::uint32_t recordCount,
             const std::string& table)
        : m_file(file), m_tag(tag), m_records(recordCount), m_table(table),
          m_visited(file.size() / kPage, false)
    {
        m_entries.reserve(static_cast<std::size_t>(recordCount) * (tag.keyLength + 4u));
    }

    void walk(std::uint32_t page, std::size_t depth)
    {
        const std::string where = "tag " + m_tag.name + ", page " + std::to_string(page);
        if (depth > kMaxDepth) {
            damaged(m_table, "the tree is too deep (a cycle?)", where);
        }
        if (page < kHeaderPages ||
            static_cast<std::uint64_t>(page) * kPage + kBlock > m_file.size()) {
            damaged(m_table, "a node pointer lies outside the file", where);
        }
        if (m_visited[page]) {
            damaged(m_table, "a node is reached twice", where);
        }
        m_visited[page] = true;
        const char* node = m_file.data() + static_cast<std::size_t>(page) * kPage;
        m_checksum += nodeHash(node, page);
        const std::uint32_t n = getU32le(node);
        const std::size_t item = m_tag.itemLength;
        if (n > (kBlock - 8) / item) {
            damaged(m_table, "the node claims " + std::to_string(n) + " keys", where);
        }
        const std::size_t after = 8 + n * item;
        const std::uint32_t rightmost = after + 4 <= kBlock ? getU32le(node + after) : 0;
        if (rightmost == 0) {
            leaf(node, n, where);
            return;
        }
        for (std::uint32_t i = 0; i < n; ++i) {
            walk(getU32le(node + 8 + i * item), depth + 1);
        }
        walk(rightmost, depth + 1);
    }

    std::string& entries() { return m_entries; }
    std::uint64_t checksum() const { return m_checksum; }

private:
    void leaf(const char* node, std::uint32_t n, const std::string& where)
    {
        for (std::uint32_t i = 0; i < n; ++i) {
            const char* item = node + 8 + i * m_tag.itemLength;
            const std::uint32_t recno = getU32le(item);
            if (recno == 0 || recno > m_records) {
                damaged(m_table,
                        "a key names record " + std::to_string(recno) + " of " +
                            std::to_string(m_records),
                        where);
            }
            if (m_entries.size() / (m_tag.keyLength + 4u) >= m_records) {
                damaged(m_table, "the tag holds more keys than the table has records", where);
            }
            m_entries.append(item + 4, m_tag.keyLength);
            char be[4];
            putU32be(be, recno);
            m_entries.append(be, 4);
        }
    }

    std::string_view m_file;
    const MdxTagInfo& m_tag;
    std::uint32_t m_records;
    const std::string& m_table;
    std::vector<bool> m_visited;
    std::string m_entries;
    std::uint64_t m_checksum = 0;
};

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
    std::vector<std::uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::memcmp(&entries[a * width], &entries[b * width], width) < 0;
    });
    std::string out(entries.size(), '\0');
    for (std::size_t i = 0; i < n; ++i) {
        std::memcpy(&out[i * width], &entries[order[i] * width], width);
    }
    entries.swap(out);
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

MdxInfo parseMdxHeader(std::string_view file, const std::string& table)
{
    if (file.size() < kHeaderPages * kPage) {
        damaged(table, "the index file is shorter than its header", "index offset 0");
    }
    const auto* b = reinterpret_cast<const unsigned char*>(file.data());
    if (b[0] != 2 || getU16le(b + 22) != kBlock || b[26] != kTagEntry) {
        damaged(table, "not a dBase IV index with 1024-byte blocks", "index offset 0");
    }
    MdxInfo info;
    info.dbfName = trimRight(cString(file.substr(4, 16)));
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
    for (std::size_t i = 0; i < tags; ++i) {
        const char* e = file.data() + kTagTable + kTagEntry * i;
        MdxTagInfo t;
        t.headerPage = getU32le(e);
        t.name = trimRight(cString(std::string_view(e + 4, 11)));
        const std::string where = "tag table entry " + std::to_string(i + 1);
        if (t.name.empty()) {
            damaged(table, "a tag has no name", where);
        }
        if (t.headerPage < kHeaderPages ||
            static_cast<std::uint64_t>(t.headerPage) * kPage + kPage > file.size()) {
            damaged(table, "tag " + t.name + " has its header outside the file", where);
        }
        const char* th = file.data() + static_cast<std::size_t>(t.headerPage) * kPage;
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
    TreeWalk walk(file, tag, recordCount, table);
    walk.walk(tag.rootPage, 0);
    const char* th = file.data() + static_cast<std::size_t>(tag.headerPage) * kPage;
    if (static_cast<std::size_t>(tag.headerPage) * kPage + kBlock <= file.size() &&
        th[kChecksumOffset + 8] == kChecksumMark &&
        getU64le(th + kChecksumOffset) != walk.checksum()) {
        damaged(table, "the tag's nodes do not match their checksum", "tag " + tag.name);
    }
    std::string& entries = walk.entries();
    const std::size_t width = tag.keyLength + 4u;
    sortEntries(entries, width);
    checkEveryRecordOnce(entries, tag.keyLength, recordCount, tag, table);
    out.clear();
    for (std::size_t off = 0; off < entries.size(); off += width) {
        out.appendSortedEntry(&entries[off]);
    }
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
