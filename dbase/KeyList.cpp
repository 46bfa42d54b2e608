#include "dbase/KeyList_p.h"

#include "dbase/Bytes_p.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace qx7::dbase::detail {

namespace {

constexpr std::size_t kChunkBytes = 8 * 1024;
// Chunks a lazy list holds at once: a few grid pages' worth, whatever the list's size.
constexpr std::size_t kLazyChunksHeld = 64;
std::uint64_t g_versions = 0; // lists replaced by others never repeat a version

int compare(const char* a, const char* b, std::size_t length)
{
    return std::memcmp(a, b, length);
}

} // namespace

KeyList::KeyList(std::size_t keyLength)
    : m_keyLength(keyLength), m_width(keyLength + 4),
      m_capacity(std::max<std::size_t>(16, kChunkBytes / (keyLength + 4))),
      m_scratch(keyLength + 4, '\0')
{
    m_version = ++g_versions << 20;
}

void KeyList::clear()
{
    m_chunks.clear();
    m_fences.clear();
    m_source.reset();
    m_starts.clear();
    m_held.clear();
    m_size = 0;
    ++m_version;
}

KeyList::Chunk KeyList::newChunk() const
{
    Chunk c;
    // Not value-initialised: every byte is written before it is read.
    c.data.reset(new char[m_capacity * m_width]);
    return c;
}

void KeyList::setLazy(std::shared_ptr<const ChunkSource> source, std::vector<std::uint32_t> counts,
                      std::vector<char> fences)
{
    clear();
    assert(fences.size() == counts.size() * m_width);
    m_chunks.resize(counts.size());
    m_starts.resize(counts.size() + 1);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        assert(counts[i] > 0);
        m_chunks[i].count = counts[i];
        m_starts[i] = m_size;
        m_size += counts[i];
    }
    m_starts[counts.size()] = m_size;
    m_fences = std::move(fences);
    m_source = std::move(source);
    ++m_version;
}

const KeyList::Chunk& KeyList::loaded(std::size_t i) const
{
    const Chunk& c = m_chunks[i];
    if (c.data || !m_source) {
        return c;
    }
    auto data = std::unique_ptr<char[]>(new char[c.count * m_width]);
    m_source->read(i, c.count, data.get());
    if (m_held.size() >= kLazyChunksHeld) {
        const_cast<Chunk&>(m_chunks[m_held.front()]).data.reset();
        m_held.erase(m_held.begin());
    }
    m_held.push_back(i);
    const_cast<Chunk&>(c).data = std::move(data);
    return c;
}

std::size_t KeyList::chunksHeld() const
{
    std::size_t n = 0;
    for (const Chunk& c : m_chunks) {
        n += c.data ? 1 : 0;
    }
    return n;
}

void KeyList::materialize()
{
    if (!m_source) {
        return;
    }
    KeyList full(m_keyLength);
    for (std::size_t i = 0; i < m_chunks.size(); ++i) {
        const Chunk& c = loaded(i);
        for (std::size_t k = 0; k < c.count; ++k) {
            full.appendSortedEntry(at(c, k));
        }
    }
    const std::uint64_t version = m_version;
    *this = std::move(full);
    m_version = std::max(m_version, version) + 1;
}

std::string KeyList::makeEntry(const char* key, std::uint32_t recno) const
{
    std::string e(m_width, '\0');
    std::memcpy(e.data(), key, m_keyLength);
    putU32be(e.data() + m_keyLength, recno);
    return e;
}

void KeyList::setFence(std::size_t i)
{
    if (m_fences.size() < m_chunks.size() * m_width)
        m_fences.resize(m_chunks.size() * m_width);
    const Chunk& c = m_chunks[i];
    std::memcpy(m_fences.data() + i * m_width, at(c, c.count - 1), m_width);
}

std::size_t KeyList::findChunk(const char* probe, std::size_t length, bool upper) const
{
    // Chunks are ordered, so their last entries are too.
    std::size_t lo = 0;
    std::size_t hi = m_chunks.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const int cmp = compare(fence(mid), probe, length);
        if (upper ? cmp > 0 : cmp >= 0) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

std::size_t KeyList::findInChunk(const Chunk& c, const char* probe, std::size_t length,
                                 bool upper) const
{
    std::size_t lo = 0;
    std::size_t hi = c.count;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const int cmp = compare(at(c, mid), probe, length);
        if (upper ? cmp > 0 : cmp >= 0) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

KeyList::Pos KeyList::lowerBound(const char* probe, std::size_t length) const
{
    const std::size_t c = findChunk(probe, length, false);
    if (c == m_chunks.size()) {
        return end();
    }
    return {c, findInChunk(loaded(c), probe, length, false)};
}

KeyList::Pos KeyList::upperBound(const char* probe, std::size_t length) const
{
    const std::size_t c = findChunk(probe, length, true);
    if (c == m_chunks.size()) {
        return end();
    }
    return {c, findInChunk(loaded(c), probe, length, true)};
}

void KeyList::insert(const char* key, std::uint32_t recno)
{
    materialize(); // first: it replaces the scratch entry too
    std::memcpy(m_scratch.data(), key, m_keyLength);
    putU32be(m_scratch.data() + m_keyLength, recno);
    insertEntry(m_scratch.data());
}

void KeyList::insertEntry(const char* entry)
{
    ++m_version;
    ++m_size;
    if (m_chunks.empty()) {
        m_chunks.push_back(newChunk());
        std::memcpy(at(m_chunks[0], 0), entry, m_width);
        m_chunks[0].count = 1;
        setFence(0);
        return;
    }
    std::size_t ci = findChunk(entry, m_width, false);
    if (ci == m_chunks.size()) {
        --ci; // larger than everything: goes to the end of the last chunk
    }
    Chunk* c = &m_chunks[ci];
    std::size_t i = findInChunk(*c, entry, m_width, false);
    if (c->count == m_capacity) {
        if (ci + 1 == m_chunks.size() && i == c->count) {
            // Appending in key order (dates, times): start a fresh chunk and keep this one full.
            m_chunks.push_back(newChunk());
            ci = m_chunks.size() - 1;
            c = &m_chunks.back();
            i = 0;
        } else {
            Chunk right = newChunk();
            const std::size_t half = c->count / 2;
            right.count = c->count - half;
            std::memcpy(right.data.get(), at(*c, half), right.count * m_width);
            c->count = half;
            m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(ci) + 1,
                            std::move(right));
            m_fences.insert(m_fences.begin() + static_cast<std::ptrdiff_t>((ci + 1) * m_width),
                            m_width, '\0');
            setFence(ci);
            setFence(ci + 1);
            c = &m_chunks[ci];
            if (i > half) {
                i -= half;
                ++ci;
                c = &m_chunks[ci];
            }
        }
    }
    std::memmove(at(*c, i + 1), at(*c, i), (c->count - i) * m_width);
    std::memcpy(at(*c, i), entry, m_width);
    ++c->count;
    if (i + 1 == c->count)
        setFence(ci);
}

bool KeyList::erase(const char* key, std::uint32_t recno)
{
    materialize();
    std::memcpy(m_scratch.data(), key, m_keyLength);
    putU32be(m_scratch.data() + m_keyLength, recno);
    const Pos p = lowerBound(m_scratch.data(), m_width);
    if (atEnd(p) || compare(entry(p), m_scratch.data(), m_width) != 0) {
        return false;
    }
    Chunk& c = m_chunks[p.chunk];
    std::memmove(at(c, p.index), at(c, p.index + 1), (c.count - p.index - 1) * m_width);
    --c.count;
    if (c.count == 0) {
        m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(p.chunk));
        const auto from = m_fences.begin() + static_cast<std::ptrdiff_t>(p.chunk * m_width);
        m_fences.erase(from, from + static_cast<std::ptrdiff_t>(m_width));
    } else if (p.index == c.count) {
        setFence(p.chunk);
    }
    --m_size;
    ++m_version;
    return true;
}

void KeyList::appendSorted(const char* key, std::uint32_t recno)
{
    materialize();
    if (m_chunks.empty() || m_chunks.back().count == m_capacity) {
        m_chunks.push_back(newChunk());
    }
    Chunk& c = m_chunks.back();
    char* e = at(c, c.count);
    std::memcpy(e, key, m_keyLength);
    putU32be(e + m_keyLength, recno);
    ++c.count;
    setFence(m_chunks.size() - 1);
    ++m_size;
    ++m_version;
}

void KeyList::appendSortedEntry(const char* entry)
{
    materialize();
    if (m_chunks.empty() || m_chunks.back().count == m_capacity) {
        m_chunks.push_back(newChunk());
    }
    Chunk& c = m_chunks.back();
    std::memcpy(at(c, c.count), entry, m_width);
    ++c.count;
    setFence(m_chunks.size() - 1);
    ++m_size;
    ++m_version;
}

bool KeyList::next(Pos& p) const
{
    if (atEnd(p)) {
        return false;
    }
    if (++p.index >= m_chunks[p.chunk].count) {
        ++p.chunk;
        p.index = 0;
    }
    return !atEnd(p);
}

bool KeyList::prior(Pos& p) const
{
    if (p.chunk == 0 && p.index == 0) {
        p = end();
        return false;
    }
    if (atEnd(p)) {
        p = last();
        return !atEnd(p);
    }
    if (p.index == 0) {
        --p.chunk;
        p.index = m_chunks[p.chunk].count;
    }
    --p.index;
    return true;
}

KeyList::Pos KeyList::last() const
{
    if (m_chunks.empty()) {
        return end();
    }
    return {m_chunks.size() - 1, m_chunks.back().count - 1};
}

std::size_t KeyList::ordinal(const Pos& p) const
{
    if (atEnd(p)) {
        return m_size;
    }
    if (m_source) {
        return m_starts[p.chunk] + p.index;
    }
    std::size_t n = p.index;
    for (std::size_t c = 0; c < p.chunk; ++c) {
        n += m_chunks[c].count;
    }
    return n;
}

KeyList::Pos KeyList::posAt(std::size_t n) const
{
    if (m_source) {
        if (n >= m_size) {
            return end();
        }
        const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), n);
        const auto c = static_cast<std::size_t>(after - m_starts.begin()) - 1;
        return {c, n - m_starts[c]};
    }
    for (std::size_t c = 0; c < m_chunks.size(); ++c) {
        if (n < m_chunks[c].count) {
            return {c, n};
        }
        n -= m_chunks[c].count;
    }
    return end();
}

const char* KeyList::entry(const Pos& p) const
{
    assert(!atEnd(p));
    return at(loaded(p.chunk), p.index);
}

std::uint32_t KeyList::recno(const Pos& p) const
{
    return getU32be(entry(p) + m_keyLength);
}

} // namespace qx7::dbase::detail
