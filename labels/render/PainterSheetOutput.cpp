#include "labels/render/PainterSheetOutput.h"

namespace qx7 {

PainterSheetOutput::PainterSheetOutput(const LabelLayout& layout, std::string imageFolder)
    : m_layout(layout), m_renderer(layout, std::move(imageFolder))
{}

QSizeF PainterSheetOutput::pageSizeMm(const LabelLayout& layout)
{
    return {layout.Page.Width / 10.0, layout.Page.Length / 10.0};
}

QPointF PainterSheetOutput::labelOriginMm(const LabelLayout& layout, int column, int row)
{
    const TQRPage& p = layout.Page;
    return {(p.LeftMargin + column * (p.labelWidth() + p.ColumnSpace)) / 10.0,
            (p.TopMargin + row * (p.labelHeight() + p.RowSpace)) / 10.0};
}

bool PainterSheetOutput::drawLabel(const LabelRecord& record, const LabelPlacement& placement)
{
    ExpressionContext ctx;
    ctx.record = &record;
    ctx.pageNumber = placement.sheet;
    ctx.columnNumber = placement.column + 1;
    ctx.reportTitle = m_layout.ReportTitle;
    std::vector<std::string> cut;
    const bool wrote = m_renderer.drawLabel(
        m_painter, m_pixelsPerMm, labelOriginMm(m_layout, placement.column, placement.row), record,
        ctx, &cut);
    if (!cut.empty()) {
        m_cut.push_back(
            {placement.record, placement.sheet, placement.column, placement.row, std::move(cut)});
        labelCut(placement);
    }
    return wrote;
}

} // namespace qx7
