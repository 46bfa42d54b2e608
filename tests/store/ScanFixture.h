#pragma once
// A log, a print queue and a journal in a temporary folder, and the context a scan
// runs with, for tests of the scan and the queue.

#include "core/Prompter.h"
#include "store/AdifJournal.h"
#include "store/LogScan.h"
#include "store/LogTable.h"
#include "store/PrintQueue.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qx7::testing {

struct Qso
{
    std::string call, date, time, band, mode;
    std::string qsls = "N", qslr = "N", qmgr = "";
    bool mark = false;
};

// Stops the scan after a number of steps, as if Escape had been pressed.
class CountingProgress : public Progress
{
public:
    long stopAfter = -1;
    long steps = 0;
    bool step(long long) override { return stopAfter < 0 || ++steps <= stopAfter; }
};

class ScanFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings.LabelDateFormat = "yyyy-mm-dd";
        run.ContinueAsk = false; // the page prompt has tests of its own
        ASSERT_TRUE(CreateLogTable(dir.path(), "log"));
        openLog(log, dir.file("log.dbf"), 0);
        queue = std::make_unique<PrintQueue>(dir.file("qx7pq.dbf"), 4, prompter);
        ASSERT_TRUE(queue->OpenPrintQueue());
        journal = std::make_unique<AdifJournal>(dir.path());
    }

    void add(const Qso& q)
    {
        log.append();
        log.setText("CALL", q.call);
        log.setText("DATE", q.date);
        log.setText("TIME", q.time);
        log.setText("BAND", q.band);
        log.setText("MODE", q.mode);
        log.setText("QSLS", q.qsls);
        log.setText("QSLR", q.qslr);
        log.setText("QMGR", q.qmgr);
        log.setText("RSTS", "59");
        log.setText("RSTR", "57");
        log.setBoolean("MARK", q.mark);
        log.post();
    }

    int scan(bool printRun = true, int selection = 0)
    {
        run.PrintRun = printRun;
        run.ScanSelection = selection;
        ScanContext ctx{settings,
                        sentDate,
                        rcvdDate,
                        LabelFormat{settings.LabelDateFormat, 0, 0, {}},
                        search,
                        run,
                        stats,
                        *queue,
                        *journal,
                        nullptr,
                        prompter,
                        progress,
                        [this] {
                            ++printedNow;
                            if (onPrintNow)
                                onPrintNow();
                        }};
        if (selection == 0 && !search.ExactMatch)
            log.first();
        return ScanLog(ctx, log, ownCall, footers);
    }

    // The labels in first-in, first-out order, as "HISCALL|MANAGER|MYCALL|NUMQSOS".
    std::vector<std::string> labels()
    {
        std::vector<std::string> out;
        dbase::Table& q = queue->QXPQTable();
        queue->restoreViewOrder();
        for (q.first(); !q.eof(); q.next())
            out.push_back(q.text("HISCALL") + "|" + q.text("MANAGER") + "|" + q.text("MYCALL") +
                          "|" + q.text("NUMQSOS"));
        return out;
    }

    // One field of the n-th label (0-based) in first-in, first-out order.
    std::string labelField(int n, const std::string& field)
    {
        dbase::Table& q = queue->QXPQTable();
        queue->restoreViewOrder();
        q.first();
        q.moveBy(n);
        return q.text(field);
    }

    // A field of a log record by its record number.
    std::string logField(std::uint32_t recno, const char* field)
    {
        log.gotoBookmark({recno});
        return log.text(field);
    }

    TempFolder dir;
    Settings settings;
    std::optional<Date> sentDate = Date{2026, 12, 8};
    std::optional<Date> rcvdDate = Date{2026, 12, 9};
    SearchState search;
    QueueRunState run;
    ScanStatistics stats;
    ScriptedPrompter prompter;
    CountingProgress progress;
    dbase::Table log;
    std::unique_ptr<PrintQueue> queue;
    std::unique_ptr<AdifJournal> journal;
    std::string ownCall = "DL1ABC";
    std::vector<std::string> footers;
    std::function<void()> onPrintNow; // what printing does to the queue besides
    int printedNow = 0;
};

} // namespace qx7::testing
