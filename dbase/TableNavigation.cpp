// Table: order, navigation, ranges, search, bookmarks, filters, master/detail links and
// notifications. Editing and files are in Table.cpp.

#include "dbase/Codepage.h"
#include "dbase/FieldCodec_p.h"
#include "dbase/Table.h"
#include "dbase/TableData_p.h"

#include <cstring>

namespace qx7::dbase {

// --- Indexes -----------------------------------------------------------------------------

std::vector<IndexInfo> Table::indexes() const
{
    requireOpen("list indexes");
    return d->indexes.describe();
}

void Table::setIndex(std::string_view tag)
{
    requireOpen("set index");
    checkBrowseMode();
    clearMasterLink();
    if (tag.empty()) {
        d->cursor.setOrder(std::nullopt);
    } else {
        const auto i = d->indexes.find(tag);
        if (!i) {
            throw Error(Error::Kind::NotFound, d->name, "set index", "no tag " + std::string(tag));
        }
        d->indexes.keys(*i); // loads or rebuilds it now, and says so if it cannot
        d->cursor.setOrder(*i);
    }
    d->rangeStart.clear();
    d->rangeEnd.clear();
    if (d->cursor.recno() == 0) {
        d->cursor.first();
    }
    notify(TableEvent::DataChanged);
}

std::string Table::currentIndex() const
{
    requireOpen("current index");
    const auto order = d->cursor.order();
    return order ? d->indexes.tag(*order).name : std::string();
}

void Table::addIndex(const IndexDef& def)
{
    requireOpen("add index");
    checkBrowseMode();
    d->indexes.add(def);
}

void Table::dropIndex(std::string_view tag)
{
    requireOpen("drop index");
    checkBrowseMode();
    const auto i = d->indexes.find(tag);
    const auto order = d->cursor.order();
    if (i && order && *order == *i) {
        setIndex("");
    }
    d->indexes.drop(tag);
    if (i && order && *order > *i) {
        d->cursor.setOrder(*order - 1);
    }
}

// --- Navigation --------------------------------------------------------------------------

void Table::afterMove()
{
    notify(TableEvent::Scrolled);
}

void Table::first()
{
    requireOpen("first");
    checkBrowseMode();
    d->cursor.first();
    afterMove();
}

void Table::last()
{
    requireOpen("last");
    checkBrowseMode();
    d->cursor.last();
    afterMove();
}

void Table::next()
{
    requireOpen("next");
    checkBrowseMode();
    if (d->cursor.next()) {
        afterMove();
    }
}

void Table::prior()
{
    requireOpen("prior");
    checkBrowseMode();
    if (d->cursor.prior()) {
        afterMove();
    }
}

int Table::moveBy(int count)
{
    requireOpen("move");
    checkBrowseMode();
    int moved = 0;
    while (moved < count && d->cursor.next()) {
        ++moved;
    }
    while (moved > count && d->cursor.prior()) {
        --moved;
    }
    if (moved != 0) {
        afterMove();
    }
    return moved;
}

bool Table::eof() const
{
    requireOpen("eof");
    return d->cursor.eof();
}

bool Table::bof() const
{
    requireOpen("bof");
    return d->cursor.bof();
}

bool Table::isEmpty() const
{
    requireOpen("is empty");
    return d->cursor.recno() == 0 && d->state != State::Insert;
}

std::uint32_t Table::recNo() const
{
    requireOpen("record number");
    return d->state == State::Insert ? 0 : d->cursor.recno();
}

// --- Ranges and search -------------------------------------------------------------------

std::string Table::encodeSearchKey(std::string_view key, std::size_t& length) const
{
    const auto order = d->cursor.order();
    if (!order) {
        throw Error(Error::Kind::Invalid, d->name, "search", "there is no current index");
    }
    const detail::Tag& tag = d->indexes.tag(*order);
    std::string bytes = d->dbf.header().codePage.fromUtf8(key, tag.keyLength);
    length = d->indexes.paddedLength(tag, bytes.size());
    bytes.resize(length, ' ');
    return bytes;
}

void Table::setRangeStart(std::string_view key)
{
    requireOpen("set range");
    d->rangeStart = key;
}

void Table::setRangeEnd(std::string_view key)
{
    requireOpen("set range");
    d->rangeEnd = key;
}

void Table::applyRange()
{
    requireOpen("apply range");
    checkBrowseMode();
    std::size_t length = 0;
    std::string lo = encodeSearchKey(d->rangeStart, length);
    std::string hi = encodeSearchKey(d->rangeEnd, length);
    d->cursor.setRange(std::move(lo), std::move(hi));
    d->cursor.first();
    notify(TableEvent::DataChanged);
}

void Table::cancelRange()
{
    requireOpen("cancel range");
    checkBrowseMode();
    clearMasterLink();
    d->cursor.clearRange();
    d->rangeStart.clear();
    d->rangeEnd.clear();
    if (d->cursor.recno() == 0) {
        d->cursor.first();
    }
    notify(TableEvent::DataChanged);
}

void Table::setRange(std::string_view start, std::string_view end)
{
    setRangeStart(start);
    setRangeEnd(end);
    applyRange();
}

bool Table::hasRange() const
{
    return isOpen() && d->cursor.hasRange();
}

bool Table::findKey(std::string_view key)
{
    requireOpen("find key");
    checkBrowseMode();
    std::size_t length = 0;
    const std::string probe = encodeSearchKey(key, length);
    const std::uint32_t saved = d->cursor.recno();
    if (d->cursor.seek(probe) && std::memcmp(d->cursor.entry().data(), probe.data(), length) == 0) {
        afterMove();
        return true;
    }
    if (saved == 0 || !d->cursor.gotoRecord(saved)) {
        d->cursor.clear();
    }
    return false;
}

void Table::findNearest(std::string_view key)
{
    requireOpen("find nearest");
    checkBrowseMode();
    std::size_t length = 0;
    const std::string probe = encodeSearchKey(key, length);
    if (!d->cursor.seek(probe)) {
        d->cursor.last(); // dBase leaves the cursor at the end when nothing is >= the key
    }
    afterMove();
}

// --- Bookmarks ---------------------------------------------------------------------------

Bookmark Table::bookmark() const
{
    requireOpen("bookmark");
    return {d->cursor.recno()};
}

bool Table::gotoBookmark(const Bookmark& mark)
{
    requireOpen("go to bookmark");
    checkBrowseMode();
    if (!d->cursor.gotoRecord(mark.recno)) {
        return false;
    }
    afterMove();
    return true;
}

// --- Places in the index ----------------------------------------------------------------

std::uint32_t Table::indexRangeCount() const
{
    requireOpen("count index entries");
    const auto [first, end] = d->cursor.rangeOrdinals();
    return static_cast<std::uint32_t>(end - first);
}

std::optional<std::uint32_t> Table::indexRangePosition()
{
    requireOpen("index position");
    const auto n = d->cursor.ordinal();
    const auto [first, end] = d->cursor.rangeOrdinals();
    if (!n || *n < first || *n >= end) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*n - first);
}

bool Table::gotoIndexRangePosition(std::uint32_t n)
{
    requireOpen("go to index position");
    checkBrowseMode();
    const auto [first, end] = d->cursor.rangeOrdinals();
    if (first + n >= end || !d->cursor.gotoOrdinal(first + n)) {
        return false;
    }
    afterMove();
    return true;
}

// --- Filters -----------------------------------------------------------------------------

void Table::setFilter(std::string_view expression)
{
    requireOpen("set filter");
    checkBrowseMode();
    d->cursor.setFilter(detail::FilterExpr::parse(expression, d->dbf.header(), d->name));
    d->filterText = expression;
    d->cursor.first();
    notify(TableEvent::DataChanged);
}

std::string Table::filter() const
{
    return d->filterText;
}

void Table::setRecordFilter(RecordFilter accept)
{
    requireOpen("set record filter");
    checkBrowseMode();
    d->recordFilter = std::move(accept);
    if (d->recordFilter) {
        d->cursor.setCallback([this] { return d->recordFilter(*this); });
    } else {
        d->cursor.setCallback(nullptr);
    }
    d->cursor.first();
    notify(TableEvent::DataChanged);
}

// --- Master / detail ---------------------------------------------------------------------

void Table::setMasterLink(Table& master, std::string_view masterField)
{
    requireOpen("link to master");
    master.requireOpen("link to master");
    if (&master == this) {
        throw Error(Error::Kind::Invalid, d->name, "link to master",
                    "a table cannot be its own master");
    }
    if (!d->cursor.order()) {
        throw Error(Error::Kind::Invalid, d->name, "link to master", "there is no current index");
    }
    const int field = master.fieldIndex(masterField);
    clearMasterLink();
    d->master = &master;
    d->masterField = static_cast<std::size_t>(field);
    d->masterObserver = master.addObserver([this](Table&, TableEvent event) {
        if (event == TableEvent::Closing) {
            clearMasterLink();
        } else if (event == TableEvent::Scrolled || event == TableEvent::DataChanged) {
            applyMasterValue();
        }
    });
    applyMasterValue();
}

void Table::applyMasterValue()
{
    checkBrowseMode();
    const detail::TableData& m = *d->master->d;
    if (m.cursor.recno() == 0) {
        d->cursor.setBlocked(true); // no master record: no detail records
    } else {
        const FieldInfo& f = m.dbf.header().fields[d->masterField];
        std::string value(detail::rawField(f, m.cursor.record().data()));
        if (value.empty()) {
            value = " "; // so that a blank master matches blank keys, not every key
        }
        const detail::Tag& tag = d->indexes.tag(*d->cursor.order());
        value.resize(std::min(value.size(), tag.keyLength));
        value.resize(d->indexes.paddedLength(tag, value.size()), ' ');
        d->cursor.setRange(value, value);
        d->cursor.setBlocked(false);
    }
    d->cursor.first();
    notify(TableEvent::DataChanged);
}

void Table::clearMasterLink()
{
    if (d->master == nullptr) {
        return;
    }
    d->master->removeObserver(d->masterObserver);
    d->master = nullptr;
    d->masterObserver = 0;
    d->cursor.clearRange();
}

// --- Notifications -----------------------------------------------------------------------

int Table::addObserver(Observer observer)
{
    const int id = d->nextObserverId++;
    d->observers.emplace(id, std::move(observer));
    return id;
}

void Table::removeObserver(int id)
{
    d->observers.erase(id);
}

void Table::suspendNotifications()
{
    ++d->suspended;
}

void Table::resumeNotifications()
{
    if (d->suspended == 0 || --d->suspended != 0) {
        return;
    }
    const bool change = d->pendingChange;
    const bool scroll = d->pendingScroll;
    d->pendingChange = d->pendingScroll = false;
    if (change) {
        notify(TableEvent::DataChanged);
    } else if (scroll) {
        notify(TableEvent::Scrolled);
    }
}

void Table::notify(TableEvent event)
{
    if (d->suspended > 0 && event != TableEvent::Closing) {
        d->pendingChange = d->pendingChange || event == TableEvent::DataChanged;
        d->pendingScroll = d->pendingScroll || event == TableEvent::Scrolled;
        return;
    }
    // A copy: observers may add or remove observers (a detail unlinking itself).
    const auto observers = d->observers;
    for (const auto& [id, observer] : observers) {
        if (d->observers.count(id) != 0) {
            observer(*this, event);
        }
    }
}

} // namespace qx7::dbase
