#pragma once
// The accepted QSOs of a conversion run. Records are compared without regard to case,
// except for the mode code, whose letters of both cases are different modes. Identical
// records are dropped unless duplicates are kept ("ImportDupes"); when several logs are
// merged, a record whose key (call, date, time, band, mode) is already present either
// replaces the old one or is dropped. Writers walk the records sorted by that key.
//
// A million QSOs must load in a few seconds: records live in large text blocks, the
// duplicate test is an open-addressing table of hashes, and sorting happens once, when
// the writer asks for the order.

#include "convert/normalize/ImportRecord.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qx7 {

enum class KeyConflict
{
    ReplaceOld, // write mode 0: the new record wins
    KeepOld     // write mode 1: the record already there wins
};

class ImportBuffer
{
public:
    explicit ImportBuffer(RecordLayout layout = RecordLayout::DateFirst,
                          bool keepDuplicates = false);
    ImportBuffer(const ImportBuffer&) = delete; // the key index's functors point at this
    ImportBuffer& operator=(const ImportBuffer&) = delete;

    // Empties the buffer and takes the layout and duplicate rule for the next records.
    void clear(RecordLayout layout, bool keepDuplicates);
    RecordLayout layout() const { return m_layout; }
    bool keepsDuplicates() const { return m_keepDuplicates; }
    // Room for that many more records without growing on the way.
    void reserve(size_t records);

    // Adds the record unless it is a duplicate that is not kept; false when dropped.
    bool add(std::string_view record);
    // Resolves a key conflict first, then adds as above.
    bool addMerging(std::string_view record, KeyConflict rule);

    size_t size() const { return m_live; }
    bool empty() const { return m_live == 0; }
    // The records in key order (equal keys in the order they came).
    std::vector<std::string_view> sorted() const;
    // Frees the duplicate and key lookups, for when no record will be added before the
    // next clear(): the records stay readable, and their writer gets the memory.
    void releaseLookups();

private:
    struct KeyHash
    {
        const ImportBuffer* buffer;
        size_t operator()(std::string_view s) const { return buffer->foldHash(s); }
    };
    struct KeyEqual
    {
        const ImportBuffer* buffer;
        bool operator()(std::string_view a, std::string_view b) const
        {
            return buffer->foldEqual(a, b);
        }
    };
    struct Slot
    {
        uint32_t hash = 0;
        uint32_t index = kEmpty; // record number, or one of the markers
    };
    static constexpr uint32_t kEmpty = 0xFFFFFFFF;
    static constexpr uint32_t kRemoved = 0xFFFFFFFE;

    size_t modePos(std::string_view record) const;
    size_t foldHash(std::string_view s) const;
    bool foldEqual(std::string_view a, std::string_view b) const;
    std::string_view store(std::string_view record);
    // The slot holding an equal record, or the free slot where it would go.
    size_t findSlot(std::string_view record, uint32_t hash, bool& found) const;
    void growSlots(size_t minimum);
    void buildKeyIndex();
    void remove(uint32_t index);
    void insert(std::string_view record, uint32_t hash, size_t slot);

    RecordLayout m_layout;
    bool m_keepDuplicates;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    size_t m_blockFree = 0;
    char* m_blockPos = nullptr;
    std::vector<std::string_view> m_records;
    std::vector<bool> m_removed;
    size_t m_live = 0;
    std::vector<Slot> m_slots; // power-of-two size, at most half full
    size_t m_slotsUsed = 0;
    std::unordered_multimap<std::string_view, uint32_t, KeyHash, KeyEqual> m_keys;
    bool m_keyIndexBuilt = false;
};

} // namespace qx7
