#include "ui/main/Screenshots.h"

#include "datamodule/TQXDM.h"
#include "ui/log/LogTableModel.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/SearchToolbar.h"
#include "ui/main/TQXForm.h"
#include "ui/wizard/TQXToolsForm.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPixmap>
#include <QPushButton>
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

bool saveWidget(QWidget& w, const QString& folder, const QString& name)
{
    settle();
    return w.grab().save(QDir(folder).filePath(name), "PNG");
}

// The Tools Wizard with the open logs as inputs, one picture per page.
bool toolsWizardShots(TQXForm& form, const QString& folder)
{
    form.openToolsWizard();
    auto* wizard = form.findChild<TQXToolsForm*>();
    if (!wizard)
        return false;
    const auto press = [wizard](const char* name) {
        if (auto* b = wizard->findChild<QPushButton*>(QLatin1String(name)))
            b->click();
    };
    bool ok = saveWidget(*wizard, folder, QStringLiteral("tools-wizard-choose.png"));
    press("ChooseNextButton");
    // With no log open, the shipped sample stands in.
    if (wizard->run().logs().empty())
        wizard->addLogFile(QString::fromStdString(wizard->dataModule().QXTmpPath + "/sample.adi"),
                           45);
    ok = saveWidget(*wizard, folder, QStringLiteral("tools-wizard-input.png")) && ok;
    press("InputNextButton");
    if (auto* type = wizard->findChild<QComboBox*>(QStringLiteral("OutputLogTypeBox")))
        type->setCurrentIndex(type->findData(45));
    if (auto* file = wizard->findChild<QLineEdit*>(QStringLiteral("FileNameEdit")))
        file->setText(QStringLiteral("converted.adi"));
    ok = saveWidget(*wizard, folder, QStringLiteral("tools-wizard-output.png")) && ok;
    press("StartButton");
    ok = saveWidget(*wizard, folder, QStringLiteral("tools-wizard-converting.png")) && ok;
    press("NextConversionButton");
    press("InputBackButton");
    if (auto* tasks = wizard->findChild<QListWidget*>(QStringLiteral("TaskList")))
        tasks->setCurrentRow(1);
    press("ChooseNextButton");
    ok = saveWidget(*wizard, folder, QStringLiteral("tools-wizard-macros.png")) && ok;
    wizard->close();
    return ok;
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
    ok = form.saveBatchScreenshots(folder) && ok;
    ok = toolsWizardShots(form, folder) && ok;
    ok = form.screenshotPrintWindows(folder) && ok;
    form.wipeSearchFields();
    ok = takeLogFileScreenshots(form, folder) && ok;
    return ok;
}

} // namespace qx7
