#include "datamodule/QueueLabelSource.h"

#include "core/IniFile.h"
#include "core/Prompter.h"
#include "datamodule/TQXDM.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <vector>

namespace qx7 {

namespace {

// The labels a run is marking, one "INDEXD|HISCALL" a line, written before the first
// mark and removed after the last: a run killed in between is completed on next open.
std::string journalPath(const PrintQueue& queue)
{
    std::string p = queue.path();
    if (p.size() > 4 && p.compare(p.size() - 4, 4, ".dbf") == 0)
        p.resize(p.size() - 4);
    return p + ".marking";
}

std::string labelKey(dbase::Table& t)
{
    return t.text("INDEXD") + "|" + t.text("HISCALL");
}

class PrintQueueLabelSource : public LabelSource
{
public:
    PrintQueueLabelSource(PrintQueue& queue, std::string managerText, bool leaveOutPrinted)
        : m_queue(queue), m_managerText(std::move(managerText))
    {
        // The order is taken once: marking a label must not move it during the run.
        dbase::Table& t = m_queue.QXPQTable();
        for (t.first(); !t.eof(); t.next()) {
            if (leaveOutPrinted && t.text("XTRA3") == kPrintedMark)
                ++m_leftOut;
            else
                m_order.push_back(t.bookmark());
        }
    }

    int leftOut() const { return m_leftOut; }

    void beginMarking(const std::vector<int>& indexes) override
    {
        std::string keys;
        try {
            for (int index : indexes)
                if (at(index))
                    keys += labelKey(m_queue.QXPQTable()) + "\n";
        } catch (const dbase::Error&) {
        }
        writeFileAtomically(journalPath(m_queue), keys);
    }

    void endMarking() override { std::remove(journalPath(m_queue).c_str()); }

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
    int m_leftOut = 0;
};

} // namespace

namespace {

// Finishes the marks of a run that was stopped while marking labels it had printed.
void finishInterruptedMarking(PrintQueue& queue)
{
    std::ifstream in(journalPath(queue));
    if (!in)
        return;
    std::set<std::string> keys;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            keys.insert(line);
    dbase::Table& t = queue.QXPQTable();
    for (t.first(); !t.eof(); t.next()) {
        if (!keys.count(labelKey(t)) || t.text("XTRA3") == kPrintedMark)
            continue;
        t.edit();
        t.setText("XTRA3", kPrintedMark);
        t.post();
    }
    in.close();
    std::remove(journalPath(queue).c_str());
}

std::unique_ptr<PrintQueueLabelSource> openSource(TQXDM& dm, bool leaveOutPrinted)
{
    PrintQueue& queue = dm.printQueue();
    if (!queue.isOpen() && !dm.OpenPrintQueue())
        return nullptr;
    try {
        queue.restoreViewOrder();
        finishInterruptedMarking(queue);
        return std::make_unique<PrintQueueLabelSource>(queue, dm.ManagerText, leaveOutPrinted);
    } catch (const dbase::Error&) {
        return nullptr;
    }
}

} // namespace

std::unique_ptr<LabelSource> openQueueLabelSource(TQXDM& dm)
{
    return openSource(dm, false);
}

std::unique_ptr<LabelSource> openQueueForPrinting(TQXDM& dm, int* leftOut)
{
    std::unique_ptr<PrintQueueLabelSource> probe = openSource(dm, true);
    if (leftOut)
        *leftOut = 0;
    if (!probe || probe->leftOut() == 0)
        return probe;
    const std::string question = std::to_string(probe->leftOut()) + kLeaveOutPrintedQuestion;
    if (dm.prompter().ask(PromptIcon::Confirmation, question,
                          PromptButton::Yes | PromptButton::No) == PromptButton::Yes) {
        if (leftOut)
            *leftOut = probe->leftOut();
        return probe;
    }
    return openSource(dm, false);
}

} // namespace qx7
