#pragma once
// The part every painted output shares: where a label lies on the sheet and drawing
// it with the layout's renderer. Subclasses own the device (printer, PDF, picture).

#include "labels/LabelFlow.h"
#include "labels/render/LabelRenderer.h"

#include <QPainter>

#include <string>
#include <vector>

namespace qx7 {

class PainterSheetOutput : public LabelSheetOutput
{
public:
    PainterSheetOutput(const LabelLayout& layout, std::string imageFolder);
    bool drawLabel(const LabelRecord& record, const LabelPlacement& placement) override;
    std::string errorText() const override { return m_error; }
    const LabelRenderer& renderer() const { return m_renderer; }

    // A label whose text did not fit its element: where it is and which elements.
    struct CutLabel
    {
        int record = 0; // index in the source
        int sheet = 0;
        int column = 0, row = 0;
        std::vector<std::string> elements;
    };
    const std::vector<CutLabel>& cutLabels() const { return m_cut; }

    // The page as it lies, in millimetres.
    static QSizeF pageSizeMm(const LabelLayout& layout);
    // Top left corner of a label position, in millimetres from the paper's corner.
    static QPointF labelOriginMm(const LabelLayout& layout, int column, int row);

protected:
    // Called after a label whose text was cut; a preview marks it on the sheet.
    virtual void labelCut(const LabelPlacement&) {}

    const LabelLayout& m_layout;
    QPainter m_painter;
    double m_pixelsPerMm = 1;
    std::string m_error;

private:
    LabelRenderer m_renderer;
    std::vector<CutLabel> m_cut;
};

} // namespace qx7
