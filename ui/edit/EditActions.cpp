// The main window's commands that change QSOs: marks, QSL flags with their dates, the
// QSL date dialog, the whole-log manager fill and the QSO edit window.

#include "datamodule/TQXDM.h"
#include "store/QsoEdit.h"
#include "ui/edit/TQXQslDateDlg.h"
#include "ui/edit/TQXQsoEditForm.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/TQXForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>

namespace qx7 {

namespace {

QslDate ymd(const std::optional<Date>& d)
{
    if (!d)
        return std::nullopt;
    return toYmd(*d);
}

} // namespace

TQXQsoEditForm* TQXForm::editWindow() const
{
    return m_editForm.data();
}

void TQXForm::toggleQsoMark()
{
    TMDIChild* w = activeLogWindow();
    if (!w || action("SWLAction")->isChecked())
        return;
    try {
        ToggleQsoMark(w->table());
    } catch (const dbase::Error& e) {
        m_dm.prompter().error(e.what());
    }
    w->refreshRows();
    w->Unselect();
    w->moveBy(1);
}

void TQXForm::removeAllMarks()
{
    TMDIChild* w = activeLogWindow();
    if (!w)
        return;
    wipeSearchFields();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RemoveAllMarks(w->table());
    QApplication::restoreOverrideCursor();
    w->refreshRows();
    w->First();
}

void TQXForm::cycleQslFlag(bool sent)
{
    TMDIChild* w = activeLogWindow();
    if (!w)
        return;
    const dbase::Bookmark keep = w->table().bookmark();
    w->grid()->setUpdatesEnabled(false);
    CycleQSLFlag(w->table(), w->selectedRows(), sent,
                 ymd(sent ? m_dm.QSLSentDate : m_dm.QSLRcvdDate));
    if (keep.isValid())
        w->table().gotoBookmark(keep);
    w->refreshRows();
    w->grid()->setUpdatesEnabled(true);
    if (m_editForm && m_editForm->isVisible())
        m_editForm->load();
}

void TQXForm::chooseQslDates()
{
    TQXQslDateDlg dlg(m_dm.QSLSentDate, m_dm.QSLRcvdDate, this);
    dlg.exec();
}

void TQXForm::fillLogManagers()
{
    TMDIChild* w = activeLogWindow();
    if (!w)
        return;
    m_dm.Printing = true;
    m_dm.Terminated = 0;
    const auto lookUp = [this](const std::string& call, const std::string& date) {
        return m_dm.managers().isOpen() ? m_dm.managers().LookUpManager(call, "", date).manager
                                        : std::string();
    };
    const ManagerFillResult r = FillLogManagers(w->table(), lookUp, [this] {
        QApplication::processEvents(); // Escape on the progress sets Terminated
        return m_dm.Terminated != -1;
    });
    m_dm.Printing = false;
    w->refreshRows();
    if (r.aborted)
        m_dm.prompter().inform(kManagerUpdateAborted);
}

void TQXForm::showEditWindow(bool on)
{
    TMDIChild* w = activeLogWindow();
    QLabel* mode = m_panels.size() > 1 ? m_panels[1] : nullptr;
    if (!on || !w) {
        if (mode)
            mode->setText(tr(" Readonly"));
        if (m_editForm)
            m_editForm->hide();
        return;
    }
    if (!m_editForm) {
        m_editForm = new TQXQsoEditForm(m_dm, this);
        connect(m_editForm, &TQXQsoEditForm::recordChanged, this,
                [this] { ShowManagerOfCurrentQSO(); });
    }
    if (mode)
        mode->setText(tr(" Edit Mode"));
    m_editForm->bind(w);
    if (!m_editForm->isVisible()) {
        m_editForm->show();
        m_editForm->field("CALL")->setFocus();
    }
}

} // namespace qx7
