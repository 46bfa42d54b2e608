#pragma once
// Preview pictures: each sheet as a PNG file ("page-001.png", ...) in a folder. A
// preview never marks labels printed. Optionally the label positions are outlined in
// light grey so that the start position can be checked on the picture.

#include "labels/render/PainterSheetOutput.h"

#include <QImage>

#include <vector>

namespace qx7 {

class PngSheetOutput : public PainterSheetOutput
{
public:
    // An empty `folder` keeps the last sheet in memory only (image()), for a window.
    PngSheetOutput(const LabelLayout& layout, std::string imageFolder, std::string folder,
                   int dotsPerInch = 150, bool outlineLabels = true);

    bool beginSheet(int sheet) override;
    bool endSheet() override;
    bool finish() override { return m_error.empty(); }
    bool marksPrinted() const override { return false; }

    const std::vector<std::string>& files() const { return m_files; }
    // The sheet last ended.
    const QImage& image() const { return m_image; }

protected:
    // Outlined labels (a preview) show a label whose text was cut with a red frame.
    void labelCut(const LabelPlacement& placement) override;

private:
    void outlineLabels();

    std::string m_folder;
    int m_dpi;
    bool m_outline;
    QImage m_image;
    std::vector<std::string> m_files;
};

} // namespace qx7
