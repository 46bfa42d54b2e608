#include "dbase/KeyList_p.h"

#include "dbase/Bytes_p.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace qx7::dbase::detail {

namespace {

constexpr std::size_t kChunkBytes = 8 * 1024;

int compare(const char* a, const char* b, std::size_t length)
{
    return std::memcmp(a, b, length);
}

} // namespace

KeyList::KeyList(std::size_t keyLength)
    : m_keyLength(keyLength), m_width(keyLength + 4),
      m_capacity(std::max<std::size_t>(16, kChunkBytes / (keyLength + 4))),
      m_scratch(keyLength + 4, '\0')
{}

void KeyList::clear()
{
    m_chunks.clear();
    m_fences.clear();
    m_size = 0;
    ++m_version;
}

KeyList::Chunk KeyList::newChunk() const
{
    Chunk c;
    c.data = std::make_unique<char[]>(m_capacity * m_width);
    return c;
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
    return {c, findInChunk(m_chunks[c], probe, length, false)};
}

KeyList::Pos KeyList::upperBound(const char* probe, std::size_t length) const
{
    const std::size_t c = findChunk(probe, length, true);
    if (c == m_chunks.size()) {
        return end();
    }
    return {c, findInChunk(m_chunks[c], probe, length, true)};
}

void KeyList::insert(const char* key, std::uint32_t recno)
{
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
    std::size_t n = p.index;
    for (std::size_t c = 0; c < p.chunk; ++c) {
        n += m_chunks[c].count;
    }
    return n;
}

KeyList::Pos KeyList::posAt(std::size_t n) const
{
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
    return at(m_chunks[p.chunk], p.index);
}

std::uint32_t KeyList::recno(const Pos& p) const
{
    return getU32be(entry(p) + m_keyLength);
}

} // namespace qx7::dbase::detail
