#include "labels/render/CutTextCheck.h"

#include "core/Progress.h"

#include <QImage>

#include <cmath>

namespace qx7 {

namespace {

class CutTextOutput : public PainterSheetOutput
{
public:
    CutTextOutput(const LabelLayout& layout, std::string imageFolder, int dpi)
        : PainterSheetOutput(layout, std::move(imageFolder)), m_page(1, 1, QImage::Format_RGB32)
    {
        // Fonts are measured at the resolution of the page they are drawn on.
        const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
        m_page.setDotsPerMeterX(dotsPerMetre);
        m_page.setDotsPerMeterY(dotsPerMetre);
        m_pixelsPerMm = dpi / 25.4;
    }
    bool beginSheet(int) override { return m_painter.begin(&m_page); }
    bool endSheet() override { return m_painter.end(); }
    bool finish() override { return true; }
    bool marksPrinted() const override { return false; }

private:
    QImage m_page;
};

} // namespace

std::vector<CutLabel> findCutLabels(const LabelLayout& layout, const std::string& imageFolder,
                                    LabelSource& source, int dotsPerInch)
{
    CutTextOutput output(layout, imageFolder, dotsPerInch);
    NullProgress progress;
    runLabels(source, layout.Page, output, progress);
    return output.cutLabels();
}

CutLabelScan::CutLabelScan(const LabelLayout& layout, std::string imageFolder, LabelSource& source,
                           int dotsPerInch)
    : m_source(source), m_plan(planLabels(source.count(), layout.Page)),
      m_output(std::make_unique<CutTextOutput>(layout, std::move(imageFolder), dotsPerInch))
{}

CutLabelScan::~CutLabelScan()
{
    if (m_openSheet != 0)
        m_output->endSheet();
}

bool CutLabelScan::step(int labels)
{
    for (int n = 0; n < labels && !done(); ++n) {
        const LabelPlacement& p = m_plan[m_next++];
        if (p.sheet != m_openSheet) {
            if (m_openSheet != 0)
                m_output->endSheet();
            m_output->beginSheet(p.sheet);
            m_openSheet = p.sheet;
        }
        m_output->drawLabel(m_source.record(p.record), p);
    }
    if (done() && m_openSheet != 0) {
        m_output->endSheet();
        m_openSheet = 0;
    }
    return done();
}

const std::vector<CutLabel>& CutLabelScan::cutLabels() const
{
    return m_output->cutLabels();
}

std::string cutLabelsText(const std::vector<CutLabel>& cut)
{
    if (cut.empty())
        return {};
    const CutLabel& c = cut.front();
    std::string names;
    for (const std::string& n : c.elements)
        names += (names.empty() ? "" : ", ") + n;
    return std::to_string(cut.size()) +
           " label(s) would have text cut off by its element; the first: page " +
           std::to_string(c.sheet) + ", column " + std::to_string(c.column + 1) + ", row " +
           std::to_string(c.row + 1) + " (" + names + ").";
}

} // namespace qx7
