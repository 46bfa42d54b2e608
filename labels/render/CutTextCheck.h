#pragma once
// Finds the labels of a run whose text would be cut by its element (a long call, a long
// manager text) before anything goes to the printer. The labels are laid out with the
// printer's renderer at a printer's resolution on a one-pixel page, so nothing is kept
// but what was cut.

#include "labels/LabelSource.h"
#include "labels/render/PainterSheetOutput.h"

#include <memory>
#include <string>
#include <vector>

namespace qx7 {

using CutLabel = PainterSheetOutput::CutLabel;

// The run as `layout.Page` sets it (start position, pages, order).
std::vector<CutLabel> findCutLabels(const LabelLayout& layout, const std::string& imageFolder,
                                    LabelSource& source, int dotsPerInch = 600);

// The same check a few labels at a time, for a window that must not wait for all of a
// long queue: step() until done(). `layout` and `source` must outlive the scan.
class CutLabelScan
{
public:
    CutLabelScan(const LabelLayout& layout, std::string imageFolder, LabelSource& source,
                 int dotsPerInch = 600);
    ~CutLabelScan();
    CutLabelScan(const CutLabelScan&) = delete;
    CutLabelScan& operator=(const CutLabelScan&) = delete;

    // Checks up to `labels` more labels; true when the whole run has been checked.
    bool step(int labels);
    bool done() const { return m_next >= m_plan.size(); }
    const std::vector<CutLabel>& cutLabels() const;

private:
    LabelSource& m_source;
    std::vector<LabelPlacement> m_plan;
    size_t m_next = 0;
    int m_openSheet = 0;
    std::unique_ptr<PainterSheetOutput> m_output;
};

// "2 label(s) would have text cut off by its element; the first: page 1, column 1,
// row 2 (QRDBText2)." for a message or a warning line.
std::string cutLabelsText(const std::vector<CutLabel>& cut);

} // namespace qx7
