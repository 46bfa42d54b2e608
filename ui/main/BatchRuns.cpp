// Batch input from the main window: the maintenance dialog, the tool window, and the
// check and run of the imported requests against the active log.

#include "datamodule/BatchRun.h"
#include "datamodule/TQXDM.h"
#include "store/BatchFile.h"
#include "ui/batch/BatchFrames.h"
#include "ui/batch/BatchInputWindow.h"
#include "ui/batch/TQXBatchInputForm.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/TQXForm.h"
#include "ui/manager/TableCursorModel.h"
#include "ui/QtProgress.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTableView>

#include <optional>

namespace qx7 {

BatchInputWindow* TQXForm::batchWindow() const
{
    return m_batchWindow.data();
}

bool TQXForm::saveBatchScreenshots(const QString& folder)
{
    bool ok = qx7::saveBatchScreenshots(m_dm, this, folder);
    TMDIChild* w = activeLogWindow();
    if (!w || m_batchWindow || !w->table().isOpen() || w->table().isEmpty())
        return ok;
    // The tool window after a check: requests for two calls of the active log (one claim
    // found, one on another band) and one call the log does not hold. They leave the
    // tables again afterwards.
    dbase::Table& log = w->table();
    const dbase::Bookmark keep = log.bookmark();
    std::vector<std::string> calls;
    std::string date, time, band, mode; // of the first call's first QSO
    for (log.first(); !log.eof() && calls.size() < 2; log.next()) {
        const std::string call = log.text("CALL");
        if (call.empty() || (!calls.empty() && calls.back() == call))
            continue;
        if (calls.empty()) {
            date = log.text("DATE");
            time = log.text("TIME");
            band = log.text("BAND");
            mode = log.text("MODE");
        }
        calls.push_back(call);
    }
    log.gotoBookmark(keep);
    if (calls.size() < 2)
        return ok;
    const std::string claim = "QSO ;" + calls[0] + ";" + date + ";" + time + ";";
    const std::string text = "CALL;" + calls[0] + ";pse direct\n" + claim + band + ";" + mode +
                             "\n" + claim + (band == "2m" ? "70cm" : "2m") + ";" + mode +
                             "\nCALL;" + calls[1] + ";\nCALL;QA9NOT;\n" +
                             "QSO ;QA9NOT;20240101;1200;20m;SSB\n";
    const auto list = parseBatchText(text);
    if (!list)
        return ok;
    importBatchList(m_dm.batchInput(), *list, "");
    const bool useBefore = m_dm.UseBatchInput;
    m_dm.UseBatchInput = true;
    showBatchWindow(true);
    m_batchWindow->resize(940, 520);
    batchInputCommand(0);
    QTableView* grid = m_batchWindow->callsFrame()->grid();
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 1).data().toString() == QString::fromStdString(calls[0]))
            grid->setCurrentIndex(grid->model()->index(r, 1));
    QTableView* claims = m_batchWindow->qsosFrame()->grid();
    if (claims->model()->rowCount() > 1)
        claims->setCurrentIndex(claims->model()->index(1, 0));
    claims->resizeColumnsToContents();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    ok = m_batchWindow->grab().save(QDir(folder).filePath(QStringLiteral("batch-input-window.png")),
                                    "PNG") &&
         ok;
    dbase::Table& stations = m_dm.batchInput().BatchInputTable1();
    m_dm.batchInput().FilterBatchTables("");
    for (const std::string& call : {calls[0], calls[1], std::string("QA9NOT")})
        if (stations.findKey(call))
            m_dm.deleteBatchStation();
    m_dm.UseBatchInput = useBefore && m_dm.batchInput().hasStations();
    showBatchWindow(false);
    return ok;
}

void TQXForm::openBatchMaintenance()
{
    TQXBatchInputForm::exec(m_dm, this);
    if (m_batchWindow)
        m_batchWindow->reload();
    SetActions();
}

void TQXForm::showBatchWindow(bool on)
{
    if (!on) {
        if (m_batchWindow) {
            m_batchWindow->disconnect(this);
            m_batchWindow->close();
            m_batchWindow->deleteLater();
        }
        m_batchWindow = nullptr;
        m_dm.batchInput().FilterBatchTables("");
        SetActions();
        return;
    }
    if (!m_batchWindow) {
        m_batchWindow = new BatchInputWindow(m_dm, this);
        connect(m_batchWindow, &BatchInputWindow::checkRequested, this,
                [this] { batchInputCommand(0); });
        connect(m_batchWindow, &BatchInputWindow::runRequested, this,
                [this] { batchInputCommand(1); });
        connect(m_batchWindow, &BatchInputWindow::performRequested, this,
                [this] { batchInputCommand(2); });
        connect(m_batchWindow, &BatchInputWindow::takeNearestRequested, this,
                [this] { batchInputCommand(3); });
        connect(m_batchWindow, &BatchInputWindow::closed, this, [this] {
            action("BatchInputWindowAction")->setChecked(false);
            QMetaObject::invokeMethod(
                this, [this] { showBatchWindow(false); }, Qt::QueuedConnection);
        });
    }
    if (TMDIChild* w = activeLogWindow())
        prepareBatchInput(*w);
    m_batchWindow->show();
    SetActions();
}

void TQXForm::prepareBatchInput(TMDIChild& w)
{
    // Requests are looked up by call: the logs go to the call order, unsearched.
    if (m_dm.Search.IndexNumber == 2)
        ToggleIndex(true);
    else if (m_dm.Search.IndexNumber == 1)
        ToggleIndex(false);
    wipeSearchFields();
    m_dm.Search.SearchMethod = 1;
    m_dm.batchInput().FilterBatchTablesForLog(w.OwnCall());
    if (m_batchWindow)
        m_batchWindow->reload();
}

void TQXForm::batchInputCommand(int command)
{
    TMDIChild* w = activeLogWindow();
    if (!w || !m_batchWindow || m_filling || !w->table().isOpen())
        return;
    TQXBatchInputCallsFrame* calls = m_batchWindow->callsFrame();
    // Perform works on the row the user double-clicked; keep it past the preparation.
    const int row = calls->grid()->currentIndex().row();
    // Taking the nearest QSO works on the claim chosen in the QSOs frame.
    std::optional<BatchQsoCheck> claim;
    if (command == 3) {
        if (!m_batchWindow->qsosFrame()->canTakeNearest())
            return;
        claim = *m_batchWindow->qsosFrame()->currentClaim();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_filling = true;
    m_dm.Terminated = 0;
    try {
        if (command < 2)
            prepareBatchInput(*w);
        if (command == 0) {
            m_batchWindow->setCheckReport(
                checkBatchInput(m_dm.batchInput(), w->table(), w->OwnCall()));
        } else {
            if (const std::string why = m_dm.printRunBlocker(w->table()); !why.empty()) {
                m_dm.prompter().error(why);
            } else {
                m_dm.Printing = true;
                w->setGridEnabled(false);
                QtProgress progress;
                if (command == 1) {
                    runBatchInput(m_dm, w->table(), w->OwnCall(), w->LogFooterLines(), progress,
                                  [this] { printLabels(); });
                } else if (command == 2 && row >= 0 && calls->model()->gotoRow(row)) {
                    performBatchCall(m_dm, w->table(), w->OwnCall(), w->LogFooterLines(), progress,
                                     [this] { printLabels(); });
                } else if (command == 3 && row >= 0 && calls->model()->gotoRow(row)) {
                    if (takeBatchQso(m_dm, w->table(), w->OwnCall(), w->LogFooterLines(), progress,
                                     claim->line, claim->verdict.nearest->mark,
                                     [this] { printLabels(); }) == 0)
                        m_dm.prompter().inform(kBatchQsoNotTaken);
                }
                w->setGridEnabled(true);
                m_dm.Printing = false;
            }
        }
    } catch (const dbase::Error& e) {
        m_dm.Printing = false;
        w->setGridEnabled(true);
        m_dm.prompter().error(e.what());
    }
    m_filling = false;
    QApplication::restoreOverrideCursor();
    // The lookups moved the log's cursor: show the search result again.
    LogSearchChange();
    w->refreshRows();
    m_batchWindow->reload();
    if (command != 0)
        afterFill();
    SetActions();
}

} // namespace qx7
