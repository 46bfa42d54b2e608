#include "labels/render/PdfSheetOutput.h"

#include "dbase/TempFiles.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/statvfs.h>

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

// The system's reason in the user's words, for the usual ones.
std::string reasonText(int error, const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    switch (error) {
    case ENOENT:
    case ENOTDIR: {
        // Said only when true: a file on the way, or a folder that takes no new files
        // (such as /proc), fail the same way.
        const std::string shown = folder.empty() ? std::string(".") : folder;
        std::error_code ec;
        const auto status = std::filesystem::status(shown, ec);
        if (!std::filesystem::exists(status))
            return "the folder " + shown + " does not exist";
        if (!std::filesystem::is_directory(status))
            return shown + " is a file, not a folder";
        return "the folder " + shown + " takes no new files (" + std::strerror(error) + ")";
    }
    case EACCES:
    case EPERM:
        return "permission denied";
    case ENOSPC:
    case EDQUOT:
        return "no space left on the device";
    case EROFS:
        return "the device is read-only";
    case EISDIR:
        return "a folder of that name is in the way";
    default:
        return std::strerror(error);
    }
}

// Qt says only that writing failed; the file system can say why.
std::string whyNotWritable(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return reasonText(errno, path);
    std::fclose(f);
    std::remove(path.c_str());
    return {};
}

bool deviceFull(const std::string& path)
{
    std::string folder = std::filesystem::path(path).parent_path().string();
    struct statvfs fs
    {};
    return ::statvfs(folder.empty() ? "." : folder.c_str(), &fs) == 0 && fs.f_bavail == 0;
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
    if (const std::string why = whyNotWritable(m_partPath); !why.empty()) {
        m_error = "cannot write " + m_path + ": " + why;
        return false;
    }
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
    std::string why;
    if (!ended || !pdfComplete(m_partPath))
        why = deviceFull(m_partPath) ? reasonText(ENOSPC, m_path)
                                     : "the file came out incomplete (is the device full?)";
    else if (std::rename(m_partPath.c_str(), m_path.c_str()) != 0)
        why = reasonText(errno, m_path);
    if (!why.empty()) {
        m_error = "cannot write " + m_path + ": " + why;
        std::remove(m_partPath.c_str());
        return false;
    }
    m_partPath.clear();
    return true;
}

} // namespace qx7
