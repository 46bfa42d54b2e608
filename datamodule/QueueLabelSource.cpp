#include "datamodule/QueueLabelSource.h"

#include "datamodule/TQXDM.h"

#include <vector>

namespace qx7 {

namespace {

class PrintQueueLabelSource : public LabelSource
{
public:
    PrintQueueLabelSource(PrintQueue& queue, std::string managerText)
        : m_queue(queue), m_managerText(std::move(managerText))
    {
        // The order is taken once: marking a label must not move it during the run.
        dbase::Table& t = m_queue.QXPQTable();
        for (t.first(); !t.eof(); t.next())
            m_order.push_back(t.bookmark());
    }

    int count() override { return static_cast<int>(m_order.size()); }

    LabelRecord record(int index) override
    {
        LabelRecord r;
        dbase::Table& t = m_queue.QXPQTable();
        if (!at(index))
            return r;
        for (int f = 0; f < t.fieldCount(); ++f)
            r.set(t.field(f).name, t.text(f));
        // The queue holds the manager's call alone; the label gives it its text.
        r.set("MANAGER", managerLabelText(t.text("MANAGER"), m_managerText));
        return r;
    }

    bool markPrinted(int index) override
    {
        dbase::Table& t = m_queue.QXPQTable();
        try {
            if (!at(index))
                return false;
            t.edit();
            t.setText("XTRA3", kPrintedMark);
            t.post();
            return true;
        } catch (const dbase::Error&) {
            if (t.state() != dbase::Table::State::Browse)
                t.cancel();
            return false;
        }
    }

    int deletePrinted() override
    {
        dbase::Table& t = m_queue.QXPQTable();
        int printed = 0;
        try {
            for (t.first(); !t.eof(); t.next())
                printed += t.text("XTRA3") == kPrintedMark ? 1 : 0;
        } catch (const dbase::Error&) {
            return -1;
        }
        m_queue.DeletePrintedLabels();
        return printed;
    }

private:
    bool at(int index)
    {
        return index >= 0 && index < count() &&
               m_queue.QXPQTable().gotoBookmark(m_order[static_cast<size_t>(index)]);
    }

    PrintQueue& m_queue;
    std::string m_managerText;
    std::vector<dbase::Bookmark> m_order;
};

} // namespace

std::unique_ptr<LabelSource> openQueueLabelSource(TQXDM& dm)
{
    PrintQueue& queue = dm.printQueue();
    if (!queue.isOpen() && !dm.OpenPrintQueue())
        return nullptr;
    try {
        queue.restoreViewOrder();
        return std::make_unique<PrintQueueLabelSource>(queue, dm.ManagerText);
    } catch (const dbase::Error&) {
        return nullptr;
    }
}

} // namespace qx7
