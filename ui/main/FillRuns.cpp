// How QSOs reach the print queue from the windows (F2, F3, put-selected, a drop on the
// queue grid), how the queue is printed, and the queue's status texts. The scan and the
// print run are the ones qx7cli's "queue fill" and "print" call.

#include "core/IniFile.h"
#include "core/Printers.h"
#include "datamodule/QueueLabelSource.h"
#include "datamodule/QueueStatus.h"
#include "datamodule/TQXDM.h"
#include "labels/PrinterCalibration.h"
#include "labels/render/CutTextCheck.h"
#include "labels/render/LabelPrinting.h"
#include "labels/render/LayoutFindings.h"
#include "ui/designer/TQXDesPrintOptionsForm.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/TQXForm.h"
#include "ui/QtProgress.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QTableView>

#include <algorithm>

namespace qx7 {

bool TQXForm::ConfirmPrintAll()
{
    if (m_dm.Search.ExactMatch || !m_dm.ConfirmF2)
        return true;
    return m_dm.prompter().ask(PromptIcon::Confirmation, "Do you want to print all calls?",
                               PromptButton::Yes | PromptButton::No) == PromptButton::Yes;
}

void TQXForm::fillRun(bool allLogs, bool confirmed)
{
    TMDIChild* active = activeLogWindow();
    if (!active || m_filling)
        return;
    m_dm.Terminated = 0;
    if (!confirmed && !ConfirmPrintAll())
        return;
    m_filling = true;
    m_dm.Printing = true;
    m_queueTimer.start();
    setActivity(tr(" Printing..."));
    std::vector<TMDIChild*> windows{active};
    if (allLogs) {
        windows = logWindows();
        std::reverse(windows.begin(), windows.end());
    }
    for (TMDIChild* w : windows) {
        if (m_dm.Terminated == -1)
            break;
        fillWindow(*w, w->hasSelection() ? 1 : 0);
    }
    m_queueTimer.stop();
    setActivity(QString());
    m_dm.Printing = false;
    m_filling = false;
    afterFill();
    if (m_dm.ClearSearchFields)
        wipeSearchFields();
}

void TQXForm::fillWindow(TMDIChild& w, int selection)
{
    if (!w.table().isOpen())
        return;
    m_dm.PrintRun = true;
    w.setGridEnabled(false);
    m_dm.ScanSelection = selection;
    const std::vector<dbase::Bookmark> marks =
        selection == 1 ? w.selectedRows() : std::vector<dbase::Bookmark>{};
    QtProgress progress;
    try {
        m_dm.ScanLog(w.table(), w.OwnCall(), w.LogFooterLines(), progress, marks,
                     [this] { printLabels(); });
    } catch (const dbase::Error& e) {
        m_dm.prompter().ask(PromptIcon::Error, e.what(), PromptButton::Ok);
    }
    m_dm.PrintRun = false;
    w.setGridEnabled(true);
    w.Unselect();
    w.refreshRows();
}

void TQXForm::afterFill()
{
    m_dm.printQueue().RecountLabels();
    m_dm.Terminated = 0;
    try {
        m_dm.printQueue().restoreViewOrder();
    } catch (const dbase::Error&) {
    }
    refreshQueueWindow();
    SetActions();
    ReturnToSearchField();
}

void TQXForm::putSelectedIntoQueue()
{
    TMDIChild* w = activeLogWindow();
    if (m_dm.SWLMode || !w || m_filling)
        return;
    m_filling = true;
    m_dm.Printing = true;
    m_dm.Terminated = 0;
    fillWindow(*w, w->hasSelection() ? 1 : 2);
    m_dm.Printing = false;
    m_filling = false;
    w->moveBy(1);
    afterFill();
}

void TQXForm::printLabels()
{
    printLabelsWith(nullptr);
}

void TQXForm::printLabelsWith(const PrintOptions* options)
{
    if (!m_layoutLoaded)
        return;
    std::unique_ptr<LabelSource> source = openQueueLabelSource(m_dm);
    if (!source || source->count() == 0)
        return;
    // Labels printed from a queue that cannot be written would be printed again next time.
    if (m_dm.printQueue().isReadOnly()) {
        m_dm.prompter().ask(PromptIcon::Error,
                            queueReadOnlyText(m_dm.LastPQ, m_dm.printQueue().readOnlyCause()),
                            PromptButton::Ok);
        return;
    }
    LabelLayout layout = m_layout;
    if (options)
        options->applyTo(layout.Page);
    const std::string folder = layoutFolder();
    // Nothing is printed or marked from a layout that fails its check; the run itself
    // refuses too, this says so before any other question.
    if (const std::vector<LayoutFinding> findings = findLayoutProblems(layout, folder);
        !findings.empty()) {
        m_dm.prompter().ask(PromptIcon::Warning, printRefusedText(findings), PromptButton::Ok);
        return;
    }
    // A call or manager cut off by its field would go out that way: ask first.
    const std::vector<CutLabel> cut = findCutLabels(layout, folder, *source);
    if (!cut.empty() &&
        m_dm.prompter().ask(PromptIcon::Warning, cutLabelsText(cut) + "\r\nPrint anyway?",
                            PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    const std::string printer = options ? options->printer : m_printer;
    LabelOutputTarget target;
    if (printer == kPdfPrinterName || printer.empty()) {
        const QString file = chooseFile(tr("Print Labels to PDF"),
                                        QString::fromStdString(m_dm.QXTmpPath) + "/labels.pdf",
                                        tr("PDF files (*.pdf)"), true);
        if (file.isEmpty())
            return;
        target.kind = LabelOutputTarget::Kind::PdfFile;
        target.path = file.toStdString();
    } else {
        target.printerName = printer;
        target.copies = options ? options->copies : 1;
        if (options)
            target.settings = options->printerSettings;
        target.calibration =
            findCalibration(IniFile(m_dm.iniPath()), printer, calibrationSheetName(layout.Page));
    }
    QtProgress progress;
    const AfterPrintPolicy after{true, m_dm.AutoDeleteQXPQ, &m_dm.prompter()};
    const QString activity = m_panels[5]->text();
    setActivity(tr(" Printing..."));
    const PrintJobResult r = runPrintJob(layout, folder, *source, target, progress, after);
    setActivity(activity);
    source.reset();
    if (r.run.failed)
        m_dm.prompter().ask(PromptIcon::Error, "Printing failed: " + r.run.error, PromptButton::Ok);
    if (!m_filling) {
        m_dm.printQueue().RecountLabels();
        refreshQueueWindow();
        SetActions();
    }
}

void TQXForm::deleteQueueEntries()
{
    if (m_filling || m_dm.LabelsInQueue() == 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    dbase::Table& q = m_dm.printQueue().QXPQTable();
    try {
        for (const dbase::Bookmark& b : m_queueWindow->labelsToDelete())
            if (b.isValid() && q.gotoBookmark(b))
                q.deleteRecord();
        q.flush();
    } catch (const dbase::Error& e) {
        m_dm.prompter().ask(PromptIcon::Error, e.what(), PromptButton::Ok);
    }
    QApplication::restoreOverrideCursor();
    m_dm.printQueue().RecountLabels();
    refreshQueueWindow();
    SetActions();
    if (m_dm.LabelsInQueue() == 0)
        ReturnToSearchField();
}

void TQXForm::refreshQueueWindow()
{
    // Also during a fill: the grid borrows the queue's cursor between the scan's records
    // and reads only the rows it shows.
    if (!m_dm.printQueue().isOpen())
        return;
    m_queueWindow->refresh(m_dm.printQueue(), m_dm.PriRows, m_dm.ManagerText);
}

void TQXForm::ShowQueueStatus()
{
    QueueStatusInputs in;
    in.labels = m_dm.LabelsInQueue();
    in.perPage = m_dm.LabelsPerPage;
    in.startAt = m_layout.Page.StartAt;
    in.printerAndLayout = m_dm.PrinterAvailable && m_layoutLoaded;
    if (const auto text = queueStatusText(in))
        m_panels[4]->setText(QString::fromStdString(*text));
}

void TQXForm::showQueueInformation()
{
    QueueStatusInputs in;
    in.labels = m_dm.LabelsInQueue();
    in.perPage = m_dm.LabelsPerPage;
    in.startAt = m_layout.Page.StartAt;
    in.printerAndLayout = true;
    const std::string layoutFile =
        QFileInfo(QString::fromStdString(m_layoutPath)).fileName().toStdString();
    m_dm.prompter().ask(PromptIcon::Information,
                        queueInformationText(in, m_dm.PriRows, m_dm.PriBoLN, layoutFile,
                                             m_dm.printQueue().indexOnQXPQ() == 1),
                        PromptButton::Ok);
}

void TQXForm::chooseLayout()
{
    const QString file =
        chooseFile(tr("Load Label Layout"), QString::fromStdString(m_dm.QXLayoutPath),
                   tr("Label layouts (*.qxd)"), false);
    if (file.isEmpty())
        return;
    loadLayout(file.toStdString());
    if (m_layoutLoaded && m_layoutPath == m_dm.layoutPath(file.toStdString()))
        m_dm.LastQXD = file.toStdString();
    SetActions();
}

void TQXForm::choosePrinter()
{
    QStringList names;
    for (const std::string& p : m_dm.Printers)
        names << QString::fromStdString(p);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        this, tr("Printer Setup"), tr("Print labels on:"), names,
        static_cast<int>(names.indexOf(QString::fromStdString(m_printer))), false, &ok);
    if (ok && !chosen.isEmpty())
        m_printer = chosen.toStdString();
}

} // namespace qx7
