#include "dbase/Cursor_p.h"

#include "dbase/Bytes_p.h"

#include <cstring>

namespace qx7::dbase::detail {

void Cursor::attach(DbfFile* dbf, IndexSet* indexes)
{
    m_dbf = dbf;
    m_indexes = indexes;
    m_tag.reset();
    m_ranged = m_blocked = false;
    m_filter = {};
    m_callback = nullptr;
    m_showDeleted = false;
    m_record.assign(dbf->header().recordLength, ' ');
    clear();
}

void Cursor::clear()
{
    m_recno = 0;
    m_eof = m_bof = true;
    m_entry.clear();
    m_posVersion = ~0ull;
}

const KeyList* Cursor::keys() const
{
    return m_tag ? &m_indexes->keys(*m_tag) : nullptr;
}

void Cursor::setOrder(std::optional<std::size_t> tag)
{
    const std::uint32_t current = m_recno;
    m_tag = tag;
    clearRange();
    if (current != 0) {
        gotoRecord(current);
    }
}

void Cursor::setRange(std::string lo, std::string hi)
{
    m_lo = std::move(lo);
    m_hi = std::move(hi);
    m_ranged = true;
}

void Cursor::clearRange()
{
    m_lo.clear();
    m_hi.clear();
    m_ranged = false;
    m_blocked = false;
}

bool Cursor::inRange(const char* key) const
{
    return (m_lo.empty() || std::memcmp(key, m_lo.data(), m_lo.size()) >= 0) &&
           (m_hi.empty() || std::memcmp(key, m_hi.data(), m_hi.size()) <= 0);
}

bool Cursor::valid(const Slot& s) const
{
    if (m_blocked) {
        return false;
    }
    if (!m_tag) {
        return s.recno >= 1 && s.recno <= m_dbf->recordCount();
    }
    const KeyList* k = keys();
    return !k->atEnd(s.pos) && inRange(k->entry(s.pos));
}

bool Cursor::step(Slot& s, int direction) const
{
    if (!m_tag) {
        s.recno = direction > 0 ? s.recno + 1 : s.recno - 1;
        return s.recno != 0;
    }
    return direction > 0 ? keys()->next(s.pos) : keys()->prior(s.pos);
}

Cursor::Slot Cursor::firstSlot() const
{
    Slot s;
    if (!m_tag) {
        s.recno = 1;
    } else {
        const KeyList* k = keys();
        s.pos = m_lo.empty() ? k->begin() : k->lowerBound(m_lo.data(), m_lo.size());
    }
    return s;
}

Cursor::Slot Cursor::lastSlot() const
{
    Slot s;
    if (!m_tag) {
        s.recno = m_dbf->recordCount();
    } else {
        const KeyList* k = keys();
        s.pos = m_hi.empty() ? k->end() : k->upperBound(m_hi.data(), m_hi.size());
        k->prior(s.pos);
    }
    return s;
}

bool Cursor::accept(const Slot& s)
{
    const std::uint32_t recno = m_tag ? keys()->recno(s.pos) : s.recno;
    if (m_tag) {
        // Records in index order lie anywhere in the file: ask for one a few steps on.
        constexpr int kAhead = 8;
        const KeyList* k = keys();
        KeyList::Pos ahead = s.pos;
        int n = 0;
        while (n < kAhead && k->next(ahead)) {
            ++n;
        }
        if (n == kAhead) {
            m_dbf->prefetchRecord(k->recno(ahead));
        }
    }
    m_dbf->readRecord(recno, m_record.data());
    if (!m_showDeleted && m_record[0] == '*') {
        return false;
    }
    if (!m_filter.matches(m_record.data())) {
        return false;
    }
    if (!m_callback) {
        return true;
    }
    m_testing = true;
    bool ok = false;
    try {
        ok = m_callback();
    } catch (...) {
        m_testing = false;
        throw;
    }
    m_testing = false;
    return ok;
}

void Cursor::commit(const Slot& s)
{
    if (m_tag) {
        const KeyList* k = keys();
        m_recno = k->recno(s.pos);
        m_entry.assign(k->entry(s.pos), k->entryWidth());
        m_pos = s.pos;
        m_posVersion = k->version();
    } else {
        m_recno = s.recno;
        m_entry.clear();
    }
}

bool Cursor::scan(Slot s, int direction)
{
    while (valid(s)) {
        if (accept(s)) {
            commit(s);
            return true;
        }
        if (!step(s, direction)) {
            break;
        }
    }
    reload(); // the candidates overwrote the buffer
    return false;
}

Cursor::Slot Cursor::locate(bool& exact)
{
    Slot s;
    exact = true;
    if (!m_tag) {
        s.recno = m_recno;
        return s;
    }
    const KeyList* k = keys();
    if (m_posVersion != k->version()) {
        m_pos = k->lowerBound(m_entry.data(), m_entry.size());
        m_posVersion = k->version();
    }
    s.pos = m_pos;
    exact = !k->atEnd(s.pos) && std::memcmp(k->entry(s.pos), m_entry.data(), m_entry.size()) == 0;
    return s;
}

bool Cursor::first()
{
    const bool found = scan(firstSlot(), +1);
    if (!found) {
        clear();
    }
    m_bof = true;
    m_eof = !found;
    return found;
}

bool Cursor::last()
{
    const bool found = scan(lastSlot(), -1);
    if (!found) {
        clear();
    }
    m_eof = true;
    m_bof = !found;
    return found;
}

bool Cursor::next()
{
    if (m_recno == 0) {
        m_eof = true;
        return false;
    }
    bool exact = false;
    Slot s = locate(exact);
    // When our entry vanished, the lower bound already is its successor.
    const bool stepped = exact ? step(s, +1) : true;
    if (stepped && scan(s, +1)) {
        m_bof = m_eof = false;
        return true;
    }
    m_eof = true;
    return false;
}

bool Cursor::prior()
{
    if (m_recno == 0) {
        m_bof = true;
        return false;
    }
    bool exact = false;
    Slot s = locate(exact);
    if (step(s, -1) && scan(s, -1)) {
        m_bof = m_eof = false;
        return true;
    }
    m_bof = true;
    return false;
}

bool Cursor::seek(const std::string& probe)
{
    const KeyList* k = keys();
    Slot s;
    s.pos = k->lowerBound(probe.data(), probe.size());
    if (!m_lo.empty() &&
        (k->atEnd(s.pos) || std::memcmp(k->entry(s.pos), m_lo.data(), m_lo.size()) < 0)) {
        s.pos = k->lowerBound(m_lo.data(), m_lo.size());
    }
    if (scan(s, +1)) {
        m_bof = m_eof = false;
        return true;
    }
    return false;
}

bool Cursor::gotoRecord(std::uint32_t recno)
{
    if (recno == 0 || recno > m_dbf->recordCount()) {
        return false;
    }
    m_dbf->readRecord(recno, m_record.data());
    gotoWritten(recno, m_record);
    return true;
}

void Cursor::gotoWritten(std::uint32_t recno, const std::vector<char>& record)
{
    if (&record != &m_record) {
        m_record = record;
    }
    m_recno = recno;
    m_bof = m_eof = false;
    if (m_tag) {
        const Tag& t = m_indexes->tag(*m_tag);
        const KeyList* k = keys();
        m_entry.assign(k->entryWidth(), '\0');
        m_indexes->makeKey(t, m_record.data(), m_entry.data());
        putU32be(m_entry.data() + t.keyLength, recno);
        m_posVersion = ~0ull;
    }
}

void Cursor::stepOffDeleted()
{
    if (m_showDeleted) {
        return;
    }
    if (next() || prior()) {
        m_bof = m_eof = false;
        return;
    }
    clear();
}

void Cursor::reload()
{
    if (m_recno != 0) {
        m_dbf->readRecord(m_recno, m_record.data());
    }
}

std::pair<std::size_t, std::size_t> Cursor::rangeOrdinals() const
{
    const KeyList* k = keys();
    if (!k || m_blocked) {
        return {0, 0};
    }
    const std::size_t first =
        m_lo.empty() ? 0 : k->ordinal(k->lowerBound(m_lo.data(), m_lo.size()));
    const std::size_t end =
        m_hi.empty() ? k->size() : k->ordinal(k->upperBound(m_hi.data(), m_hi.size()));
    return {first, std::max(first, end)};
}

std::optional<std::size_t> Cursor::ordinal()
{
    if (!m_tag || m_recno == 0) {
        return std::nullopt;
    }
    bool exact = false;
    const Slot s = locate(exact);
    if (!exact) {
        return std::nullopt;
    }
    return keys()->ordinal(s.pos);
}

bool Cursor::gotoOrdinal(std::size_t n)
{
    const KeyList* k = keys();
    if (!k) {
        return false;
    }
    Slot s;
    s.pos = k->posAt(n);
    if (k->atEnd(s.pos)) {
        return false;
    }
    commit(s);
    m_dbf->readRecord(m_recno, m_record.data());
    m_bof = m_eof = false;
    return true;
}

} // namespace qx7::dbase::detail
