#include "labels/render/PrinterSheetOutput.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace qx7 {

PrinterSheetOutput::PrinterSheetOutput(const LabelLayout& layout, std::string imageFolder,
                                       const std::string& printerName)
    : PainterSheetOutput(layout, std::move(imageFolder)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_jobs(printerName)
{
    if (!printerName.empty())
        m_printer->setPrinterName(QString::fromStdString(printerName));
    m_jobs = SpoolerJobs(m_printer->printerName().toStdString());
    m_printer->setFullPage(true);
    // The printer is told the paper upright and turned, so that it takes the sheet
    // from its usual tray; a near-standard size is matched to the standard one.
    QSizeF mm = pageSizeMm(layout);
    const bool landscape = layout.Page.Orientation == PageOrientation::Landscape;
    if (landscape)
        mm.transpose();
    const QPageSize size(mm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    m_printer->setPageLayout(QPageLayout(size,
                                         landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

PrinterSheetOutput::~PrinterSheetOutput()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PrinterSheetOutput::setCopies(int copies)
{
    m_printer->setCopyCount(std::max(1, copies));
}

void PrinterSheetOutput::setSettings(const PrinterSettings& settings)
{
    applyPrinterSettings(*m_printer, settings);
}

bool PrinterSheetOutput::beginSheet(int sheet)
{
    m_printer->setDocName(QStringLiteral("QX7 labels, sheet %1").arg(sheet));
    m_jobs.markStart();
    if (!m_printer->isValid() || !m_painter.begin(m_printer.get())) {
        m_error = "cannot print on " + m_printer->printerName().toStdString();
        return false;
    }
    m_pixelsPerMm = m_printer->resolution() / 25.4;
    if (!m_calibration.isIdentity()) {
        m_painter.translate(m_calibration.offsetXMm * m_pixelsPerMm,
                            m_calibration.offsetYMm * m_pixelsPerMm);
        m_painter.scale(m_calibration.scaleX, m_calibration.scaleY);
    }
    return true;
}

bool PrinterSheetOutput::endSheet()
{
    const bool ended = m_painter.end();
    if (!ended || m_printer->printerState() == QPrinter::Error) {
        m_error = "the printer " + m_printer->printerName().toStdString() + " did not take the job";
        return false;
    }
    m_error = m_jobs.waitForCompletion(m_printer->docName().toStdString());
    return m_error.empty();
}

} // namespace qx7
