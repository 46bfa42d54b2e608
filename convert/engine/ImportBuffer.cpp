#include "convert/engine/ImportBuffer.h"

#include <algorithm>
#include <cstring>

namespace qx7 {

namespace {

constexpr size_t kBlockSize = 4 << 20;

char fold(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// The sort order puts "|" before every other character, so that "DL1AB" sorts
// before "DL1ABC" in the call-first layout.
unsigned char sortWeight(char c)
{
    return c == '|' ? 1 : static_cast<unsigned char>(fold(c));
}

// Records sort by their weights. Most neighbours differ where their bytes differ, so
// the bytes are compared eight at a time and only a difference is looked at closely.
bool sortsBefore(std::string_view x, std::string_view y)
{
    const size_t n = std::min(x.size(), y.size());
    size_t i = 0;
    while (i < n) {
        while (i + 8 <= n && std::memcmp(x.data() + i, y.data() + i, 8) == 0)
            i += 8;
        while (i < n && x[i] == y[i])
            ++i;
        if (i == n)
            break;
        const unsigned char wx = sortWeight(x[i]);
        const unsigned char wy = sortWeight(y[i]);
        if (wx != wy)
            return wx < wy;
        ++i;
    }
    return x.size() < y.size();
}

} // namespace

ImportBuffer::ImportBuffer(RecordLayout layout, bool keepDuplicates)
    : m_layout(layout), m_keepDuplicates(keepDuplicates), m_keys(16, KeyHash{this}, KeyEqual{this})
{}

void ImportBuffer::clear(RecordLayout layout, bool keepDuplicates)
{
    m_layout = layout;
    m_keepDuplicates = keepDuplicates;
    m_blocks.clear();
    m_blockFree = 0;
    m_blockPos = nullptr;
    m_records.clear();
    m_records.shrink_to_fit();
    m_removed.clear();
    m_live = 0;
    m_slots.clear();
    m_slots.shrink_to_fit();
    m_slotsUsed = 0;
    m_keys.clear();
    m_keyIndexBuilt = false;
}

void ImportBuffer::reserve(size_t records)
{
    m_records.reserve(m_records.size() + records);
    m_removed.reserve(m_records.size() + records);
    if (!m_keepDuplicates)
        growSlots(2 * (m_slotsUsed + records));
}

size_t ImportBuffer::modePos(std::string_view record) const
{
    const size_t pipe = record.find('|');
    if (pipe == std::string_view::npos)
        return std::string_view::npos;
    return m_layout == RecordLayout::CallFirst ? pipe + 14 : pipe + 2;
}

size_t ImportBuffer::foldHash(std::string_view s) const
{
    // Every letter folded, the mode code too: records that foldEqual calls equal still
    // hash alike, and the two cases of a mode only share a slot chain. Eight bytes a
    // step, lower-case ASCII letters turned upper-case in the word itself.
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    uint64_t h = 1469598103934665603ull ^ s.size();
    for (size_t i = 0; i < s.size(); i += 8) {
        uint64_t w = 0;
        std::memcpy(&w, s.data() + i, std::min<size_t>(8, s.size() - i));
        const uint64_t low7 = w & ~kHigh;
        const uint64_t atLeastA = low7 + (0x80 - 'a') * kOnes;
        const uint64_t aboveZ = low7 + (0x80 - 'z' - 1) * kOnes;
        const uint64_t lower = atLeastA & ~aboveZ & ~w & kHigh;
        w -= lower >> 2;
        h = (h ^ w) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    return static_cast<size_t>(h ^ (h >> 32));
}

bool ImportBuffer::foldEqual(std::string_view a, std::string_view b) const
{
    if (a.size() != b.size())
        return false;
    const size_t mode = modePos(a);
    for (size_t i = 0; i < a.size(); ++i) {
        const bool same = i == mode ? a[i] == b[i] : fold(a[i]) == fold(b[i]);
        if (!same)
            return false;
    }
    return true;
}

std::string_view ImportBuffer::store(std::string_view record)
{
    if (record.size() > m_blockFree) {
        const size_t size = std::max(kBlockSize, record.size());
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        m_blockPos = m_blocks.back().get();
        m_blockFree = size;
    }
    std::memcpy(m_blockPos, record.data(), record.size());
    const std::string_view stored(m_blockPos, record.size());
    m_blockPos += record.size();
    m_blockFree -= record.size();
    return stored;
}

size_t ImportBuffer::findSlot(std::string_view record, uint32_t hash, bool& found) const
{
    const size_t mask = m_slots.size() - 1;
    size_t free = std::string_view::npos;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.index == kEmpty) {
            found = false;
            return free != std::string_view::npos ? free : i;
        }
        if (slot.index == kRemoved) {
            if (free == std::string_view::npos)
                free = i;
        } else if (slot.hash == hash && foldEqual(m_records[slot.index], record)) {
            found = true;
            return i;
        }
    }
}

void ImportBuffer::growSlots(size_t minimum)
{
    if (m_slots.size() >= minimum && 2 * (m_slotsUsed + 1) <= m_slots.size())
        return;
    size_t size = 1024;
    while (size < minimum || size < 4 * m_live)
        size *= 2;
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(size, Slot{});
    m_slotsUsed = 0;
    for (const Slot& slot : old) {
        if (slot.index == kEmpty || slot.index == kRemoved)
            continue;
        size_t i = slot.hash & (size - 1);
        while (m_slots[i].index != kEmpty)
            i = (i + 1) & (size - 1);
        m_slots[i] = slot;
        ++m_slotsUsed;
    }
}

void ImportBuffer::insert(std::string_view record, uint32_t hash, size_t slot)
{
    const auto index = static_cast<uint32_t>(m_records.size());
    const std::string_view stored = store(record);
    m_records.push_back(stored);
    m_removed.push_back(false);
    ++m_live;
    if (!m_keepDuplicates) {
        if (m_slots[slot].index == kEmpty)
            ++m_slotsUsed;
        m_slots[slot] = Slot{hash, index};
    }
    if (m_keyIndexBuilt)
        m_keys.emplace(RecordView(stored, m_layout).key(), index);
}

bool ImportBuffer::add(std::string_view record)
{
    if (m_keepDuplicates) {
        insert(record, 0, 0);
        return true;
    }
    growSlots(0);
    const auto hash = static_cast<uint32_t>(foldHash(record));
    bool found = false;
    const size_t slot = findSlot(record, hash, found);
    if (found)
        return false;
    insert(record, hash, slot);
    return true;
}

void ImportBuffer::buildKeyIndex()
{
    m_keys.reserve(m_records.size() * 2);
    for (size_t i = 0; i < m_records.size(); ++i)
        if (!m_removed[i])
            m_keys.emplace(RecordView(m_records[i], m_layout).key(), static_cast<uint32_t>(i));
    m_keyIndexBuilt = true;
}

void ImportBuffer::remove(uint32_t index)
{
    const std::string_view stored = m_records[index];
    auto [first, last] = m_keys.equal_range(RecordView(stored, m_layout).key());
    for (auto it = first; it != last; ++it) {
        if (it->second == index) {
            m_keys.erase(it);
            break;
        }
    }
    if (!m_keepDuplicates) {
        bool found = false;
        const size_t slot = findSlot(stored, static_cast<uint32_t>(foldHash(stored)), found);
        if (found)
            m_slots[slot].index = kRemoved;
    }
    m_removed[index] = true;
    --m_live;
}

bool ImportBuffer::addMerging(std::string_view record, KeyConflict rule)
{
    if (!m_keyIndexBuilt)
        buildKeyIndex();
    auto [first, last] = m_keys.equal_range(RecordView(record, m_layout).key());
    if (first != last) {
        if (rule == KeyConflict::KeepOld)
            return false;
        // The old record that sorts first is the one replaced, as a sorted list finds it.
        uint32_t oldest = first->second;
        for (auto it = first; it != last; ++it)
            if (sortsBefore(m_records[it->second], m_records[oldest]))
                oldest = it->second;
        remove(oldest);
    }
    return add(record);
}

void ImportBuffer::releaseLookups()
{
    std::vector<Slot>().swap(m_slots);
    m_slotsUsed = 0;
    m_keys = decltype(m_keys)(16, KeyHash{this}, KeyEqual{this});
    m_keyIndexBuilt = false;
}

std::vector<std::string_view> ImportBuffer::sorted() const
{
    // The first eight weights of every record as one number: most comparisons end
    // there, without touching the records spread over the blocks.
    struct Entry
    {
        uint64_t prefix;
        uint32_t index;
    };
    std::vector<Entry> entries;
    entries.reserve(m_live);
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_removed[i])
            continue;
        uint64_t prefix = 0;
        const std::string_view r = m_records[i];
        for (size_t k = 0; k < 8; ++k)
            prefix = (prefix << 8) | (k < r.size() ? sortWeight(r[k]) : 0);
        entries.push_back({prefix, static_cast<uint32_t>(i)});
    }
    std::sort(entries.begin(), entries.end(), [this](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const std::string_view x = m_records[a.index], y = m_records[b.index];
        if (sortsBefore(x, y))
            return true;
        if (sortsBefore(y, x))
            return false;
        return a.index < b.index; // equal records keep the order they came in
    });
    std::vector<std::string_view> out;
    out.reserve(entries.size());
    for (const Entry& e : entries)
        out.push_back(m_records[e.index]);
    return out;
}

} // namespace qx7
