#pragma once
// The current record and how to move it: physical or index order, bounded by a range,
// skipping records that are deleted (unless shown) or fail the filters. Knows nothing
// of editing; Table builds that on top.

#include "dbase/DbfFile_p.h"
#include "dbase/FilterExpr_p.h"
#include "dbase/IndexSet_p.h"
#include "dbase/KeyList_p.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx7::dbase::detail {

class Cursor
{
public:
    void attach(DbfFile* dbf, IndexSet* indexes);
    void clear(); // no current record; eof and bof

    void setOrder(std::optional<std::size_t> tag);
    std::optional<std::size_t> order() const { return m_tag; }
    // Bounds as padded key bytes; a record is inside when its key's first lo.size()
    // bytes are >= lo and its first hi.size() bytes are <= hi. Empty = unbounded.
    void setRange(std::string lo, std::string hi);
    void clearRange();
    bool hasRange() const { return m_ranged; }
    void setBlocked(bool blocked) { m_blocked = blocked; }
    void setFilter(FilterExpr filter) { m_filter = std::move(filter); }
    void setCallback(std::function<bool()> accept) { m_callback = std::move(accept); }
    void setShowDeleted(bool show) { m_showDeleted = show; }
    bool showDeleted() const { return m_showDeleted; }

    bool first();
    bool last();
    bool next();
    bool prior();
    // First visible record whose key's first probe.size() bytes are >= probe.
    bool seek(const std::string& probe);
    // Goes to the record whatever the filters say; false when it does not exist.
    bool gotoRecord(std::uint32_t recno);
    // The same for a record whose bytes the caller has just written.
    void gotoWritten(std::uint32_t recno, const std::vector<char>& record);
    // After the current record was deleted: the next visible one, else the prior one.
    void stepOffDeleted();
    void reload();
    // Entry numbers of the current order: the range as [first, end), the current
    // record's entry, and a move to entry n whatever the filters say.
    std::pair<std::size_t, std::size_t> rangeOrdinals() const;
    std::optional<std::size_t> ordinal();
    bool gotoOrdinal(std::size_t n);

    std::uint32_t recno() const { return m_recno; }
    // True on a record, and while a filter callback looks at a candidate.
    bool hasRecord() const { return m_recno != 0 || m_testing; }
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    const std::vector<char>& record() const { return m_record; }
    // The current record's index entry (key bytes first); empty in physical order.
    const std::string& entry() const { return m_entry; }

private:
    struct Slot
    {
        std::uint32_t recno = 0;
        KeyList::Pos pos;
    };

    const KeyList* keys() const;
    bool inRange(const char* key) const;
    bool valid(const Slot& s) const;
    bool step(Slot& s, int direction) const;
    bool accept(const Slot& s);
    void commit(const Slot& s);
    bool scan(Slot s, int direction);
    Slot locate(bool& exact);
    Slot firstSlot() const;
    Slot lastSlot() const;

    DbfFile* m_dbf = nullptr;
    IndexSet* m_indexes = nullptr;
    std::optional<std::size_t> m_tag;
    bool m_ranged = false;
    bool m_blocked = false;
    std::string m_lo;
    std::string m_hi;
    FilterExpr m_filter;
    std::function<bool()> m_callback;
    bool m_showDeleted = false;
    bool m_testing = false;

    std::uint32_t m_recno = 0;
    bool m_eof = true;
    bool m_bof = true;
    std::vector<char> m_record;
    std::string m_entry;
    KeyList::Pos m_pos;
    std::uint64_t m_posVersion = ~0ull;
};

} // namespace qx7::dbase::detail
