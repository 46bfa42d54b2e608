#pragma once
// One index tag's keys in memory, in order: a sorted sequence of fixed-width entries
// (key bytes, then the record number big-endian, so one memcmp orders by key and then
// by record number, which is how dBase orders duplicates). The entries live in chunks
// of a few kilobytes: inserting moves at most one chunk's bytes, and the whole list
// costs little more than the entries themselves.
//
// A list can also be a read-only view of keys kept elsewhere (an index file's leaves):
// each chunk's count and last entry are known, its entries are fetched when first
// needed, and only a few chunks are held at a time. Changing such a list first reads
// every chunk into memory (materialize()).

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

    // Supplies the entries of one chunk of a lazy list, in this list's entry format.
    class ChunkSource
    {
    public:
        virtual ~ChunkSource() = default;
        // Writes chunk i's `count` entries to `out`; throws when they cannot be read.
        virtual void read(std::size_t chunk, std::size_t count, char* out) const = 0;
    };

    explicit KeyList(std::size_t keyLength);

    // Makes this a lazy view: counts[i] entries in chunk i (none empty), whose last
    // entries are `fences` (entryWidth() bytes each), read from `source` on demand.
    void setLazy(std::shared_ptr<const ChunkSource> source, std::vector<std::uint32_t> counts,
                 std::vector<char> fences);
    bool isLazy() const { return m_source != nullptr; }
    // Reads a lazy list's entries into memory; the list then behaves as any other.
    void materialize();
    // Bytes held in memory (for tests of the lazy view).
    std::size_t chunksHeld() const;

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
    // Chunk i with its entries present (read from the source of a lazy list).
    const Chunk& loaded(std::size_t i) const;
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
    // Lazy view: where chunks come from, the entries before each chunk, and the chunks
    // held now (oldest first).
    std::shared_ptr<const ChunkSource> m_source;
    std::vector<std::size_t> m_starts;
    mutable std::vector<std::size_t> m_held;
};

} // namespace qx7::dbase::detail
