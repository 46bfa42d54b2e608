#include "ui/main/Screenshots.h"

#include "ui/log/LogTableModel.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/SearchToolbar.h"
#include "ui/main/TQXForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QPixmap>
#include <QTableView>

namespace qx7 {

namespace {

void settle()
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool save(TQXForm& form, const QString& folder, const QString& name)
{
    settle();
    return form.grab().save(QDir(folder).filePath(name), "PNG");
}

} // namespace

bool takeScreenshots(TQXForm& form, const QString& folder)
{
    QDir().mkpath(folder);
    form.showNormal();
    form.resize(1280, 800);
    settle();
    form.OpenPendingLogs();
    form.mdiArea()->tileSubWindows();
    form.fillRun(true, true);
    // A few rows chosen in the active log, as a user would before Ctrl+Left.
    if (TMDIChild* w = form.activeLogWindow()) {
        w->moveTo(3);
        w->grid()->selectionModel()->select(w->model()->index(5, 0), QItemSelectionModel::Select |
                                                                         QItemSelectionModel::Rows);
    }
    bool ok = save(form, folder, QStringLiteral("main-window.png"));
    // The search narrowing every log to a call pattern.
    form.searchToolbar()->callFromEdit()->setText(QStringLiteral("*Q*"));
    form.LogSearchChange();
    ok = save(form, folder, QStringLiteral("log-search.png")) && ok;
    form.wipeSearchFields();
    ok = takeLogFileScreenshots(form, folder) && ok;
    return ok;
}

} // namespace qx7
