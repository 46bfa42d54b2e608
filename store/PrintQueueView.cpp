#include "store/PrintQueueView.h"

#include "store/PrintQueue.h"

#include <algorithm>

namespace qx7 {

namespace {

// Puts the queue into the window's order for one read and back into the order it was
// in, on the record it was on.
class BorrowedCursor
{
public:
    BorrowedCursor(dbase::Table& t, const char* viewTag)
        : m_table(t), m_index(t.currentIndex()), m_mark(t.bookmark())
    {
        if (m_index != viewTag)
            m_table.setIndex(viewTag);
    }
    ~BorrowedCursor()
    {
        try {
            if (m_table.currentIndex() != m_index)
                m_table.setIndex(m_index);
            if (m_mark.isValid())
                m_table.gotoBookmark(m_mark);
        } catch (const dbase::Error&) {
            // the index was usable a moment ago; a failure here leaves the order as read
        }
    }
    BorrowedCursor(const BorrowedCursor&) = delete;
    BorrowedCursor& operator=(const BorrowedCursor&) = delete;

private:
    dbase::Table& m_table;
    std::string m_index;
    dbase::Bookmark m_mark;
};

const char* viewTag(const PrintQueue& q)
{
    return q.indexOnQXPQ() != 0 ? "INDEXB" : "INDEXD";
}

} // namespace

bool PrintQueueView::readable() const
{
    dbase::Table& t = m_queue.QXPQTable();
    // An open edit would be posted by the first move; a range would be lost.
    return t.isOpen() && t.state() == dbase::Table::State::Browse && !t.hasRange();
}

bool PrintQueueView::recount()
{
    dbase::Table& t = m_queue.QXPQTable();
    if (!t.isOpen()) {
        m_size = 0;
        m_hidden.clear();
        return true;
    }
    if (!readable())
        return false;
    try {
        const std::vector<std::uint32_t>& deleted = t.deletedRecords();
        std::vector<std::uint32_t> hidden;
        BorrowedCursor keep(t, viewTag(m_queue));
        const std::uint32_t entries = t.indexRangeCount();
        if (deleted.size() < entries) {
            for (const std::uint32_t recno : deleted) {
                if (!t.gotoBookmark(dbase::Bookmark{recno}))
                    continue;
                if (const auto n = t.indexRangePosition())
                    hidden.push_back(*n);
            }
            std::sort(hidden.begin(), hidden.end());
            m_size = static_cast<int>(entries - hidden.size());
        } else {
            m_size = 0; // every label printed or deleted
        }
        m_hidden = std::move(hidden);
    } catch (const dbase::Error&) {
        m_size = 0;
        m_hidden.clear();
    }
    return true;
}

std::uint32_t PrintQueueView::entryOf(int row) const
{
    auto n = static_cast<std::uint32_t>(row);
    for (const std::uint32_t h : m_hidden) {
        if (h > n)
            break;
        ++n;
    }
    return n;
}

std::vector<QueueLabelRow> PrintQueueView::read(int first, int count)
{
    std::vector<QueueLabelRow> rows;
    if (first < 0 || first >= m_size || count <= 0 || !readable())
        return rows;
    dbase::Table& t = m_queue.QXPQTable();
    try {
        BorrowedCursor keep(t, viewTag(m_queue));
        if (!t.gotoIndexRangePosition(entryOf(first)))
            return rows;
        const int last = std::min(m_size, first + count);
        // next() passes over deleted labels as the rows do.
        for (int r = first; r < last && !t.eof(); ++r, t.next()) {
            QueueLabelRow row;
            row.mark = t.bookmark();
            row.call = t.text("HISCALL");
            row.count = t.text("NUMQSOS");
            row.manager = t.text("MANAGER");
            row.myCall = t.text("MYCALL");
            rows.push_back(std::move(row));
        }
    } catch (const dbase::Error&) {
        // a queue that cannot be read shows what was read
    }
    return rows;
}

std::string PrintQueueView::hint(const dbase::Bookmark& label, int priRows,
                                 std::string_view managerText)
{
    if (!label.isValid() || !readable())
        return {};
    dbase::Table& t = m_queue.QXPQTable();
    try {
        BorrowedCursor keep(t, viewTag(m_queue));
        if (!t.gotoBookmark(label) || t.isDeleted())
            return {};
        return m_queue.QXPQDataSourceDataChange(priRows, managerText);
    } catch (const dbase::Error&) {
        return {};
    }
}

} // namespace qx7
