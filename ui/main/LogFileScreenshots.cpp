// Pictures of the log file and report dialogs, taken on the active log window.

#include "datamodule/TQXDM.h"
#include "ui/edit/TQXQslDateDlg.h"
#include "ui/edit/TQXQsoEditForm.h"
#include "ui/log/TMDIChild.h"
#include "ui/logfiles/TQXDirectoryDlgForm.h"
#include "ui/logfiles/TQXNewLogForm.h"
#include "ui/logfiles/TQXOpenLogForm.h"
#include "ui/main/Screenshots.h"
#include "ui/main/TQXForm.h"
#include "ui/report/TQXFooterLinesForm.h"
#include "ui/report/TQXLogGridSetupForm.h"
#include "ui/report/TQXStatisticsForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>

namespace qx7 {

namespace {

bool grabDialog(QWidget& dialog, const QString& folder, const QString& name)
{
    dialog.show();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const bool ok = dialog.grab().save(QDir(folder).filePath(name), "PNG");
    dialog.hide();
    return ok;
}

} // namespace

bool takeLogFileScreenshots(TQXForm& form, const QString& folder)
{
    TQXDM& dm = form.dataModule();
    bool ok = true;
    {
        TQXOpenLogForm dlg(dm, 3, &form);
        ok = grabDialog(dlg, folder, QStringLiteral("open-log.png")) && ok;
        dm.clearPendingLogs();
    }
    {
        TQXNewLogForm dlg(dm, QString::fromStdString(dm.QXTmpPath + "/sample.adi"), &form);
        dlg.findChild<QLineEdit*>("CallEdit")->setText(QStringLiteral("DL0QX"));
        ok = grabDialog(dlg, folder, QStringLiteral("new-log.png")) && ok;
    }
    TMDIChild* log = form.activeLogWindow();
    if (!log)
        return ok;
    {
        TQXStatisticsForm dlg(dm, *log, &form);
        dlg.runCount();
        ok = grabDialog(dlg, folder, QStringLiteral("statistics.png")) && ok;
        dlg.findChild<QTabWidget*>("StatisticsTabs")->setCurrentIndex(1);
        ok = grabDialog(dlg, folder, QStringLiteral("statistics-chart.png")) && ok;
    }
    {
        TQXFooterLinesForm dlg(dm, *log, &form);
        ok = grabDialog(dlg, folder, QStringLiteral("footer-lines.png")) && ok;
    }
    {
        TQXLogGridSetupForm dlg(dm, *log, &form);
        ok = grabDialog(dlg, folder, QStringLiteral("log-grid-setup.png")) && ok;
        if (auto* pages = dlg.findChild<QTabWidget*>())
            pages->setCurrentIndex(1);
        if (dlg.fieldList()->count() > 0)
            dlg.fieldList()->setCurrentRow(0);
        ok = grabDialog(dlg, folder, QStringLiteral("log-grid-setup-columns.png")) && ok;
    }
    {
        log->moveTo(2);
        TQXQsoEditForm edit(dm, &form);
        edit.bind(log);
        ok = grabDialog(edit, folder, QStringLiteral("qso-edit.png")) && ok;
    }
    {
        std::optional<Date> sent = Date::today();
        std::optional<Date> rcvd;
        TQXQslDateDlg dlg(sent, rcvd, &form);
        ok = grabDialog(dlg, folder, QStringLiteral("qsl-dates.png")) && ok;
    }
    {
        TQXDirectoryDlgForm dlg(QString::fromStdString(dm.QXLogPath), &form);
        // The folders are read in the background: wait until the start folder shows.
        dlg.show();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 1500)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        ok = grabDialog(dlg, folder, QStringLiteral("directory.png")) && ok;
    }
    return ok;
}

} // namespace qx7
