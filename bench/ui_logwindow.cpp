// layer: qx7_ui
// The log window on a 1,000,000-QSO log, offscreen: opening it with its first rows
// drawn, jumping to the last row, searching a call exactly and by prefix, switching the
// sort order, scrolling one page, and the memory all this takes above the bare program.
// Usage: bench_ui_logwindow [QSOs] [folder]. A folder given is kept, and a log of that
// size already in it is used again (to profile the opening alone).

#include "BenchUtil.h"
#include "core/Prompter.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"
#include "store/PrintQueue.h"
#include "ui/log/LogTableModel.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/SearchToolbar.h"
#include "ui/main/TQXForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

using namespace qx7;
using namespace qx7::bench;

namespace {

const char* const kBands[] = {"160m", "80m", "40m", "30m", "20m", "17m", "15m", "12m", "10m"};
const char* const kModes[] = {"SSB", "CW", "FT8", "RTTY"};

void makeLog(TQXDM& dm, long qsos)
{
    CreateLogTable(dm.QXLogPath, "big");
    const LogPaths p = logPaths(dm.QXLogPath, "big");
    CreateLogDescriptor(p.table);
    writeLogDescriptor(p.descriptor, {"DL0QX", {}});
    dbase::Table log;
    openLog(log, p.table, 0);
    log.suspendNotifications();
    std::mt19937 rng(7);
    for (long q = 0; q < qsos; ++q) {
        const long s = static_cast<long>(rng() % 200000u);
        char call[24];
        std::snprintf(call, sizeof call, "K%ldQ%c%c%ld", s % 10,
                      'A' + static_cast<int>(s / 10 % 26), 'A' + static_cast<int>(s / 260 % 26),
                      s / 6760);
        char date[16];
        std::snprintf(date, sizeof date, "20%02ld%02ld%02ld", 10 + q % 14, 1 + q % 12, 1 + q % 28);
        log.append();
        log.setText("CALL", call);
        log.setText("DATE", date);
        log.setText("TIME", "1200");
        log.setText("BAND", kBands[q % 9]);
        log.setText("MODE", kModes[q % 4]);
        log.setText("RSTS", "59");
        log.setText("RSTR", "59");
        log.setText("QSLS", "N");
        log.setText("QSLR", "N");
        log.post();
    }
    log.resumeNotifications();
    // The manager order is one of the three the window switches between.
    ensureQmgrIndex(log);
    log.close();
}

bool haveLog(TQXDM& dm, long qsos)
{
    try {
        dbase::Table log;
        log.open(logPaths(dm.QXLogPath, "big").table, {dbase::OpenMode::ReadOnly, {}});
        return log.recordCount() == static_cast<std::uint32_t>(qsos) && log.indexes().size() == 3;
    } catch (const dbase::Error&) {
        return false;
    }
}

long rssKb(const char* key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
    return -1;
}

void paint()
{
    QApplication::processEvents();
    QApplication::processEvents();
}

double ms(Clock::time_point t0)
{
    return secondsSince(t0) * 1000.0;
}

// The queue window during a fill of a queue that already holds 10,000 labels: each
// 3-second refresh counts the labels and reads the rows shown. The baseline is what a
// refresh costs that reads every label with its hint.
void queueRefresh(TQXForm& form, TQXDM& dm)
{
    PrintQueue& queue = dm.printQueue();
    dbase::Table& q = queue.QXPQTable();
    const int labels = 10000;
    q.suspendNotifications();
    for (int i = 0; i < labels; ++i) {
        char seq[8];
        std::snprintf(seq, sizeof seq, "%6d", i + 1);
        q.append();
        q.setText("INDEXD", seq);
        q.setText("INDEXB", "K" + std::to_string(100000 + i));
        q.setText("HISCALL", "K" + std::to_string(100000 + i));
        q.setText("NUMQSOS", "1");
        q.setText("A_BAND", "20m");
        q.setText("A_MODE", "SSB");
        q.post();
    }
    q.resumeNotifications();
    queue.RecountLabels();
    form.queueWindow()->refresh(queue, dm.PriRows, dm.ManagerText);
    paint();

    auto t0 = Clock::now();
    long read = 0;
    for (q.first(); !q.eof(); q.next()) {
        read += static_cast<long>(q.text("HISCALL").size() + q.text("NUMQSOS").size() +
                                  q.text("MANAGER").size() + q.text("MYCALL").size());
        read +=
            static_cast<long>(queue.QXPQDataSourceDataChange(dm.PriRows, dm.ManagerText).size());
    }
    const double everyLabel = ms(t0);

    // A label added as a fill adds it, then the refresh of the timer.
    q.append();
    q.setText("INDEXD", "999999");
    q.setText("INDEXB", "QA1ABC");
    q.setText("HISCALL", "QA1ABC");
    q.setText("NUMQSOS", "1");
    q.post();
    queue.RecountLabels();
    t0 = Clock::now();
    form.queueWindow()->refresh(queue, dm.PriRows, dm.ManagerText);
    paint();
    const double refresh = ms(t0);
    std::printf("queue window refresh with %d labels: %.2f ms (reading every label with its "
                "hint: %.1f ms, %.0fx; %zu characters)\n",
                labels + 1, refresh, everyLabel, everyLabel / std::max(refresh, 0.001),
                static_cast<size_t>(read));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long qsos = argc > 1 ? std::atol(argv[1]) : 1000000;
    const bool keep = argc > 2;
    const std::filesystem::path dir =
        keep ? argv[2] : std::filesystem::temp_directory_path() / "qx7-bench-logwindow";
    if (!keep)
        std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    SilentPrompter prompter;
    DataModuleEnvironment env;
    env.programFolder = dir.string() + "/";
    env.prompter = &prompter;
    TQXDM dm(std::move(env));
    dm.ConfirmF2 = false;

    auto t0 = Clock::now();
    if (keep && haveLog(dm, qsos)) {
        std::printf("using the %ld-QSO log in %s\n", qsos, dir.c_str());
    } else {
        makeLog(dm, qsos);
        std::printf("made a %ld-QSO log in %.1f s\n", qsos, secondsSince(t0));
    }

    TQXForm form(dm);
    form.resize(1200, 800);
    form.show();
    paint();
    const long bareRss = rssKb("VmRSS:");
    const long bareAnon = rssKb("RssAnon:");

    t0 = Clock::now();
    dm.addPendingLog("big.qx7");
    form.OpenPendingLogs();
    paint();
    const double open = ms(t0);
    TMDIChild* w = form.activeLogWindow();
    if (!w || w->model()->rowCount() != qsos) {
        std::fprintf(stderr, "the log window did not open\n");
        return 1;
    }
    std::printf("open the log window, first rows drawn: %.1f ms (target <= 200: %s)\n", open,
                verdict(open, 200));

    t0 = Clock::now();
    w->Last();
    paint();
    const double last = ms(t0);
    std::printf("jump to the last row: %.1f ms (target <= 50: %s)\n", last, verdict(last, 50));

    t0 = Clock::now();
    w->moveBy(-30);
    paint();
    const double page = ms(t0);
    std::printf("scroll one page: %.2f ms (target <= 5: %s)\n", page, verdict(page, 5));

    // A call in the middle of the log, exactly and as a prefix.
    w->moveTo(static_cast<int>(qsos / 2));
    const std::string call = w->currentText("CALL");
    QLineEdit* callEdit = form.searchToolbar()->callFromEdit();
    t0 = Clock::now();
    callEdit->setText(QString::fromStdString(call));
    form.LogSearchChange();
    paint();
    const double exact = ms(t0);
    std::printf("search call %s exactly: %.1f ms to the first hit, %d QSO(s) (target <= 50: %s)\n",
                call.c_str(), exact, w->model()->rowCount(), verdict(exact, 50));
    const std::string prefix = call.substr(0, 4);
    t0 = Clock::now();
    callEdit->setText(QString::fromStdString(prefix));
    form.LogSearchChange();
    paint();
    const double byPrefix = ms(t0);
    std::printf("search prefix %s: %.1f ms to the first hit at row %d (target <= 50: %s)\n",
                prefix.c_str(), byPrefix, w->currentRow(), verdict(byPrefix, 50));

    double worstSort = 0;
    for (const char* order : {"date", "manager", "call"}) {
        t0 = Clock::now();
        form.action("F5Action")->trigger();
        paint();
        const double sort = ms(t0);
        worstSort = std::max(worstSort, sort);
        std::printf("switch the sort order to %s: %.1f ms, %d QSO(s) shown\n", order, sort,
                    w->model()->rowCount());
    }
    std::printf("switch the sort order, slowest: %.1f ms (target <= 100: %s)\n", worstSort,
                verdict(worstSort, 100));

    const long anon = rssKb("RssAnon:") - bareAnon;
    const long rss = rssKb("VmRSS:") - bareRss;
    std::printf("memory above the bare program: %.1f MB private (target <= 60: %s), %.1f MB "
                "resident with the mapped log file\n",
                static_cast<double>(anon) / 1024.0, verdict(static_cast<double>(anon) / 1024.0, 60),
                static_cast<double>(rss) / 1024.0);
    queueRefresh(form, dm);
    form.close();

    // What of this the table engine itself takes: opening the log with its index, and
    // the first use of the date order.
    {
        dbase::Table bare;
        t0 = Clock::now();
        openLog(bare, logPaths(dm.QXLogPath, "big").table, 0);
        const double engineOpen = ms(t0);
        t0 = Clock::now();
        bare.setIndex("DATETIME");
        bare.first();
        const double engineDate = ms(t0);
        std::printf(
            "of which the table engine: open %.1f ms, first use of the date order %.1f ms\n",
            engineOpen, engineDate);
    }
    if (!keep)
        std::filesystem::remove_all(dir);
    return 0;
}
