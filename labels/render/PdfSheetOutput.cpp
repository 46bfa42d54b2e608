#include "labels/render/PdfSheetOutput.h"

#include "dbase/TempFiles.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cstdio>
#include <fstream>

namespace qx7 {

namespace {

// Qt does not report a short write (a full disk); a complete PDF ends with "%%EOF".
bool pdfComplete(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() < 16)
        return false;
    char tail[16] = {};
    in.seekg(-16, std::ios::end);
    in.read(tail, sizeof tail);
    return in && std::string(tail, sizeof tail).find("%%EOF") != std::string::npos;
}

} // namespace

PdfSheetOutput::PdfSheetOutput(const LabelLayout& layout, std::string imageFolder,
                               std::string pdfPath, int resolution)
    : PainterSheetOutput(layout, std::move(imageFolder)), m_path(std::move(pdfPath)),
      m_partPath(dbase::tempPathFor(m_path).string()), m_resolution(resolution)
{
    dbase::removeStaleTempFiles(std::filesystem::path(m_path).parent_path());
}

PdfSheetOutput::~PdfSheetOutput()
{
    if (m_painter.isActive())
        m_painter.end();
    m_writer.reset();
    if (!m_partPath.empty())
        std::remove(m_partPath.c_str());
}

bool PdfSheetOutput::beginSheet(int)
{
    if (m_writer)
        return m_writer->newPage();
    m_writer = std::make_unique<QPdfWriter>(QString::fromStdString(m_partPath));
    m_writer->setCreator(QStringLiteral("QX7 - QSL Labels"));
    m_writer->setResolution(m_resolution);
    // The page as it lies, exactly; a landscape sheet is simply wider than long.
    const QSizeF mm = pageSizeMm(m_layout);
    const QPageSize size(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    m_writer->setPageLayout(
        QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    m_pixelsPerMm = m_resolution / 25.4;
    if (!m_painter.begin(m_writer.get())) {
        m_error = "cannot write " + m_path;
        return false;
    }
    return true;
}

bool PdfSheetOutput::finish()
{
    if (!m_writer)
        return true; // nothing to print, nothing written
    const bool ended = m_painter.end();
    m_writer.reset();
    if (!ended || !pdfComplete(m_partPath) ||
        std::rename(m_partPath.c_str(), m_path.c_str()) != 0) {
        m_error = "cannot write " + m_path;
        std::remove(m_partPath.c_str());
        return false;
    }
    m_partPath.clear();
    return true;
}

} // namespace qx7
