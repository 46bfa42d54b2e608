#pragma once
// One index tag's keys in memory, in order: a sorted sequence of fixed-width entries
// (key bytes, then the record number big-endian, so one memcmp orders by key and then
// by record number, which is how dBase orders duplicates). The entries live in chunks
// of a few kilobytes: inserting moves at most one chunk's bytes, and the whole list
// costs little more than the entries themselves.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qx7::dbase::detail {

class KeyList
{
public:
    // A place in the list; valid until the next change (see version()).
    struct Pos
    {
        std::size_t chunk = 0;
        std::size_t index = 0;
        friend bool operator==(const Pos&, const Pos&) = default;
    };

    explicit KeyList(std::size_t keyLength);

    std::size_t keyLength() const { return m_keyLength; }
    std::size_t entryWidth() const { return m_width; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Changes whenever entries are added or removed.
    std::uint64_t version() const { return m_version; }

    void clear();
    void insert(const char* key, std::uint32_t recno);
    // Removes the entry; false when it was not there.
    bool erase(const char* key, std::uint32_t recno);
    // Appends an entry not less than the last one (bulk loading sorted keys).
    void appendSorted(const char* key, std::uint32_t recno);
    // The same with a whole entry (key followed by the big-endian record number).
    void appendSortedEntry(const char* entry);

    Pos begin() const { return {}; }
    Pos end() const { return {m_chunks.size(), 0}; }
    bool atEnd(const Pos& p) const { return p.chunk >= m_chunks.size(); }
    // First entry whose first `length` bytes are >= `probe` (length <= entryWidth()).
    Pos lowerBound(const char* probe, std::size_t length) const;
    // First entry whose first `length` bytes are > `probe`.
    Pos upperBound(const char* probe, std::size_t length) const;
    // Steps; false (and end()) when stepping past either end.
    bool next(Pos& p) const;
    bool prior(Pos& p) const;
    Pos last() const;
    // The number of entries before p (size() at end()), and the place of entry n (end()
    // when n >= size()). Both walk the chunk counts, not the entries.
    std::size_t ordinal(const Pos& p) const;
    Pos posAt(std::size_t n) const;

    const char* entry(const Pos& p) const;
    std::uint32_t recno(const Pos& p) const;

    // The entry bytes for a key and record number.
    std::string makeEntry(const char* key, std::uint32_t recno) const;

private:
    struct Chunk
    {
        std::unique_ptr<char[]> data;
        std::size_t count = 0;
    };

    const char* at(const Chunk& c, std::size_t i) const { return c.data.get() + i * m_width; }
    char* at(Chunk& c, std::size_t i) { return c.data.get() + i * m_width; }
    Chunk newChunk() const;
    // First chunk whose last entry compares >= probe on `length` bytes (or > when `upper`).
    std::size_t findChunk(const char* probe, std::size_t length, bool upper) const;
    std::size_t findInChunk(const Chunk& c, const char* probe, std::size_t length,
                            bool upper) const;
    void insertEntry(const char* entry);
    // Chunk i's last entry, copied into one contiguous array: the search for the chunk
    // then stays in a few cache lines instead of touching one chunk per step.
    const char* fence(std::size_t i) const { return m_fences.data() + i * m_width; }
    void setFence(std::size_t i);

    std::size_t m_keyLength;
    std::size_t m_width;
    std::size_t m_capacity; // entries per chunk
    std::size_t m_size = 0;
    std::uint64_t m_version = 0;
    std::vector<Chunk> m_chunks;
    std::vector<char> m_fences;
    std::string m_scratch;
};

} // namespace qx7::dbase::detail
