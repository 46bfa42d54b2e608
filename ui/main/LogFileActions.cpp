// The main window's log file commands: open, new and delete a log, the statistics and
// the footer lines and grid setup of the active log.

#include "datamodule/TQXDM.h"
#include "store/LogFiles.h"
#include "store/LogTable.h"
#include "ui/log/TMDIChild.h"
#include "ui/logfiles/TQXNewLogForm.h"
#include "ui/logfiles/TQXOpenLogForm.h"
#include "ui/main/TQXForm.h"
#include "ui/report/TQXFooterLinesForm.h"
#include "ui/report/TQXLogGridSetupForm.h"
#include "ui/report/TQXStatisticsForm.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>

namespace qx7 {

void TQXForm::openLogByDialog()
{
    m_dm.clearPendingLogs();
    TQXOpenLogForm form(m_dm, m_openLogViewStyle, this);
    const bool confirmed = form.exec() == QDialog::Accepted;
    m_openLogViewStyle = form.viewStyle();
    if (!confirmed)
        return;
    OpenPendingLogs();
    LogSearchChange();
}

void TQXForm::newLog()
{
    if (makeAndOpenLog({}))
        LogSearchChange();
}

bool TQXForm::makeAndOpenLog(const QString& adif)
{
    const QString path = TQXNewLogForm::run(m_dm, this, adif, [this](const QString& folder) {
        return chooseFile(tr("ADIF file"), folder, tr("ADIF (*.adi *.adif)"), false);
    });
    if (path.isEmpty())
        return false;
    m_dm.LogCount = 1;
    m_dm.clearPendingLogs();
    m_dm.addPendingLog(QFileInfo(path).fileName().toStdString());
    OpenPendingLogs();
    return true;
}

void TQXForm::showStatistics()
{
    TMDIChild* w = activeLogWindow();
    if (!w)
        return;
    setActivity(tr(" Statistics Run..."));
    TQXStatisticsForm::exec(
        m_dm, *w, this, [this](const QString& caption, const QString& file, const QString& filter) {
            return chooseFile(caption, file, filter, true);
        });
    setActivity(m_dm.SWLMode ? tr(" SWL Mode") : QString());
    w->grid()->viewport()->update();
}

void TQXForm::editFooterLines()
{
    if (TMDIChild* w = activeLogWindow())
        TQXFooterLinesForm::exec(m_dm, *w, this);
}

void TQXForm::setupLogGrids()
{
    TMDIChild* w = activeLogWindow();
    if (!w || !TQXLogGridSetupForm::exec(m_dm, *w, this))
        return;
    for (QMdiSubWindow* s : m_mdi->subWindowList())
        if (auto* log = qobject_cast<TMDIChild*>(s->widget()))
            log->LoadGridSetup();
}

void TQXForm::deleteActiveLog()
{
    TMDIChild* w = activeLogWindow();
    if (!w)
        return;
    Prompter& p = m_dm.prompter();
    const PromptButton buttons = PromptButton::Yes | PromptButton::No | PromptButton::Cancel;
    if (p.ask(PromptIcon::Warning, "Are you sure to delete this log?", buttons) !=
            PromptButton::Yes ||
        p.ask(PromptIcon::Warning, "Are you really sure?", buttons) != PromptButton::Yes)
        return;
    const std::string name = w->logName().toStdString();
    // The window goes at once, and with it its hold on the table.
    for (QMdiSubWindow* s : m_mdi->subWindowList())
        if (s->widget() == w) {
            s->setAttribute(Qt::WA_DeleteOnClose, false);
            s->close();
            delete s;
            break;
        }
    std::string why;
    if (!deleteLogFiles(m_dm.QXLogPath, logBaseName(name), &why)) {
        p.ask(PromptIcon::Error, "The log \"" + name + "\" was not deleted: " + why,
              PromptButton::Ok);
    } else {
        p.ask(PromptIcon::Information, "Log deleted!", PromptButton::Ok);
    }
    m_dm.LogCount = static_cast<int>(listLogs(m_dm.QXLogPath).size());
    updateActionStates();
}

} // namespace qx7
