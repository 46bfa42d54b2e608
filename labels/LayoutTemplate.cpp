// The standard label the designer creates on request: who the card is for, the own
// call confirming, a table of QSO lines with headings, the footers and a thank-you.

#include "labels/FieldNames.h"
#include "labels/LayoutOperations.h"

namespace qx7 {

namespace {

class TemplateBuilder
{
public:
    TemplateBuilder(LabelLayout& layout, const TextMeasure& measure, double ppi)
        : m_layout(layout), m_measure(measure), m_ctx(layout.unitContext(ppi))
    {}

    // Design pixels of the layout's view to millimetres.
    double mm(double pixels) const { return toTenthsMm(pixels, LayoutUnit::Pixels, m_ctx) / 10.0; }

    LayoutElement& text(ElementKind kind, const std::string& content, double left, double top)
    {
        LayoutElement& e = m_layout.addElement(kind);
        if (kind == ElementKind::Expression)
            e.expression = content;
        else
            e.caption = content;
        if (kind == ElementKind::DataField)
            e.dataField = content;
        e.left = mm(left);
        e.top = mm(top);
        e.autoSize = true;
        fit(e, content);
        return e;
    }

    // A bold blue-or-black call, its right edge 20 pixels inside the label.
    void callField(const std::string& field, double top, bool blue)
    {
        LayoutElement& e = text(ElementKind::DataField, field, 0, top);
        e.alignment = TextAlignment::Right;
        e.font.bold = true;
        e.font.pointSize = 14;
        if (blue)
            e.font.color = Color::fromRgb(0, 0, 255);
        fit(e, field);
        e.left = m_layout.labelWidthMm() - mm(20) - e.width;
    }

    void fit(LayoutElement& e, const std::string& content) const
    {
        const SizeMm size = m_measure.measure(e.font, content);
        e.width = size.width;
        e.height = size.height;
    }

private:
    LabelLayout& m_layout;
    const TextMeasure& m_measure;
    UnitContext m_ctx;
};

} // namespace

bool createLayoutTemplate(LabelLayout& layout, const TextMeasure& measure,
                          double screenPixelsPerInch)
{
    if (layout.DataSet.empty())
        return false;
    layout.Elements.clear();
    layout.Band = LabelBand{};
    TemplateBuilder b(layout, measure, screenPixelsPerInch);
    b.text(ElementKind::Text, "To Radio:", 10, 10);
    b.callField("MANAGER", 10, true);
    b.text(ElementKind::Expression, "MYCALL+' confirms the following QSO(s):'", 10, 36);
    b.callField("HISCALL", 36, false);
    const struct
    {
        const char* heading;
        const char* suffix;
        double left;
    } columns[] = {{"Date", "DATE", 10},
                   {"Time", "TIME", 160},
                   {"Band", "BAND", 240},
                   {"Mode", "MODE", 320},
                   {"RST", "RSTS", 400}};
    for (const auto& c : columns)
        b.text(ElementKind::Text, c.heading, c.left, 60);
    if (layout.Page.QSOLines == 0)
        layout.Page.QSOLines = 6;
    double y = b.mm(80);
    for (int line = 1; line <= layout.Page.QSOLines && line <= kMaxQsoLines; ++line) {
        double height = 0;
        for (const auto& c : columns) {
            LayoutElement& e =
                b.text(ElementKind::DataField, qsoFieldName(line, c.suffix), c.left, 0);
            e.top = y;
            height = e.height;
        }
        y += height;
    }
    for (int n = 1; n <= layout.Page.FooterLines && n <= kMaxFooterLines; ++n) {
        LayoutElement& e = b.text(ElementKind::DataField, footerFieldName(n), 10, 0);
        e.top = y;
        y += e.height;
    }
    LayoutElement& thanks = b.text(ElementKind::Text, "TNX for the QSOs", 10, 0);
    thanks.top = y + b.mm(10);
    adjustLines(layout);
    return true;
}

} // namespace qx7
