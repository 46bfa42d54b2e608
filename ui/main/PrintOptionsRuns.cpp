// The print options (F12) and the preview (Ctrl+R) of the labels in the queue.

#include "core/IniFile.h"
#include "core/Printers.h"
#include "core/Prompter.h"
#include "datamodule/QueueLabelSource.h"
#include "datamodule/TQXDM.h"
#include "labels/PrinterCalibration.h"
#include "labels/UsedPositions.h"
#include "ui/designer/DesignerOptionsIni.h"
#include "ui/designer/TQXDesigner.h"
#include "ui/designer/TQXDesPrintOptionsForm.h"
#include "ui/designer/TQXPreviewWindow.h"
#include "ui/main/TQXForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>

namespace qx7 {

void TQXForm::showPrintOptions()
{
    if (!m_layoutLoaded)
        return;
    TQXDesPrintOptionsForm form(m_layout.Page, m_dm.Printers, m_printer, this);
    form.useSettingsFile(m_dm.iniPath());
    form.setLabelCount(m_dm.LabelsInQueue());
    if (form.exec() != QDialog::Accepted)
        return;
    const PrintOptions options = form.options();
    if (form.previewRequested()) {
        std::unique_ptr<LabelSource> source = openQueueLabelSource(m_dm);
        if (!source)
            return;
        LabelLayout layout = m_layout;
        options.applyTo(layout.Page);
        TQXPreviewWindow preview(
            layout, QFileInfo(QString::fromStdString(m_layoutPath)).absolutePath().toStdString(),
            *source, this);
        const bool print = preview.exec() == QDialog::Accepted;
        source.reset();
        if (!print)
            return;
    }
    m_printer = options.printer;
    // The sheet fed now is what the next run on this sheet type most likely gets again.
    IniFile ini(m_dm.iniPath());
    rememberUsedPositions(ini, calibrationSheetName(m_layout.Page), options.usedPositions);
    if (ini.modified())
        ini.save();
    printLabelsWith(&options);
}

void TQXForm::previewLabels()
{
    if (!m_layoutLoaded)
        return;
    std::unique_ptr<LabelSource> source = openQueueLabelSource(m_dm);
    if (!source || source->count() == 0)
        return;
    TQXPreviewWindow preview(
        m_layout, QFileInfo(QString::fromStdString(m_layoutPath)).absolutePath().toStdString(),
        *source, this);
    const bool print = preview.exec() == QDialog::Accepted;
    source.reset();
    if (print)
        printLabels();
}

void TQXForm::openDesigner()
{
    auto* designer = new TQXDesigner(this);
    designer->setWindowFlag(Qt::Window);
    designer->setAttribute(Qt::WA_DeleteOnClose);
    designer->setOptions(readDesignerOptions(IniFile(m_dm.iniPath())));
    connect(designer, &TQXDesigner::optionsChanged, this, [this, designer] {
        IniFile ini(m_dm.iniPath());
        writeDesignerOptions(ini, designer->options());
        ini.save();
    });
    if (!m_layoutPath.empty()) {
        const std::string error = designer->openLayout(m_layoutPath);
        if (!error.empty())
            m_dm.prompter().ask(PromptIcon::Error, error, PromptButton::Ok);
    }
    connect(designer, &TQXDesigner::layoutSaved, this, [this](const QString& path) {
        loadLayout(path.toStdString());
        if (m_layoutLoaded && m_layoutPath == m_dm.layoutPath(path.toStdString()))
            m_dm.LastQXD = path.toStdString();
        SetActions();
    });
    designer->show();
}

bool TQXForm::screenshotPrintWindows(const QString& folder)
{
    if (!m_layoutLoaded)
        return true;
    const auto settle = [] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 300)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    bool ok = true;
    {
        TQXDesigner designer;
        if (designer.openLayout(m_layoutPath).empty()) {
            designer.selectElement(0);
            designer.setZoom(1.25);
            designer.resize(1000, 640);
            designer.show();
            settle();
            ok = designer.grab().save(QDir(folder).filePath("designer.png"), "PNG") && ok;
        }
    }
    {
        // A sheet fed again with a few labels gone, on a system printer (a machine
        // without one shows a named example), so the picture shows what can be chosen.
        TQRPage page = m_layout.Page;
        page.UsedPositions = {1, 2, 5};
        std::vector<std::string> printers = m_dm.Printers;
        if (std::all_of(printers.begin(), printers.end(),
                        [](const std::string& p) { return p == kPdfPrinterName; }))
            printers.insert(printers.begin(), "Laser");
        TQXDesPrintOptionsForm options(page, printers, printers.front(), this);
        options.useSettingsFile(m_dm.iniPath());
        options.setLabelCount(m_dm.LabelsInQueue());
        options.show();
        settle();
        ok = options.grab().save(QDir(folder).filePath("print-options.png"), "PNG") && ok;
    }
    if (std::unique_ptr<LabelSource> source = openQueueLabelSource(m_dm)) {
        LabelLayout layout = m_layout;
        layout.Page.StartAt = 4;
        TQXPreviewWindow preview(
            layout, QFileInfo(QString::fromStdString(m_layoutPath)).absolutePath().toStdString(),
            *source, this);
        preview.show();
        settle();
        ok = preview.grab().save(QDir(folder).filePath("print-preview.png"), "PNG") && ok;
    }
    return ok;
}

} // namespace qx7
