#pragma once
// A label layout: the page with its grid of labels, the one label band
// ("Detailband1") and the elements printed on every label. The data behind the
// elements is always the print queue, one record per label.

#include "labels/LayoutElement.h"
#include "labels/TQRPage.h"
#include "labels/Units.h"

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr const char* kPrintQueueDataSet = "PrintQueue";

class LabelLayout
{
public:
    LayoutUnit Units = LayoutUnit::Millimetres;
    int Zoom = 100; // percent, of the design view
    std::vector<std::string> Description;
    std::string ReportTitle;
    std::string DataSet = kPrintQueueDataSet;
    TQRPage Page;
    LabelBand Band;
    std::vector<LayoutElement> Elements; // drawing order: later ones on top

    // The label's size in millimetres (the band is always the label).
    double labelWidthMm() const { return Page.labelWidth() / 10.0; }
    double labelHeightMm() const { return Page.labelHeight() / 10.0; }

    // A new element of the kind, named with the kind's prefix and the lowest free
    // number, appended on top of the others.
    LayoutElement& addElement(ElementKind kind);
    std::string freeElementName(ElementKind kind) const;

    LayoutElement* findElement(std::string_view name);
    // The first data field showing `field` (ignoring case), or none.
    LayoutElement* findDataField(std::string_view field);
    const LayoutElement* findDataField(std::string_view field) const;
    bool removeElement(std::string_view name);

    // Design pixels of this layout's view (for positions the designer gives in pixels).
    UnitContext unitContext(double screenPixelsPerInch = 96.0) const;

    bool operator==(const LabelLayout&) const = default;
};

} // namespace qx7
