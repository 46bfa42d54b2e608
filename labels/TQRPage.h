#pragma once
// The page of a label layout: the paper, the margins and the grid of labels on it,
// plus the values the label run needs (lines per label, start position, page range).
// Lengths are tenths of a millimetre; Width and Length are the paper as it lies on
// the page, so a landscape sheet has Width > Length.

#include "labels/PaperSize.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qx7 {

struct SheetGeometry;

enum class PageOrientation
{
    Portrait,
    Landscape
};

struct TQRPage
{
    qx7::PaperSize PaperSize = qx7::PaperSize::A4;
    PageOrientation Orientation = PageOrientation::Portrait;
    double Width = 2100.0;
    double Length = 2970.0;
    double TopMargin = 100.0;
    double BottomMargin = 100.0;
    double LeftMargin = 100.0;
    double RightMargin = 100.0;
    int Columns = 1;
    int Rows = 1;
    double ColumnSpace = 0.0;
    double RowSpace = 0.0;
    std::uint16_t QSOLines = 6;
    std::uint16_t FooterLines = 0;
    double QSOLineSpace = 0.0;
    double FooterLineSpace = 0.0;
    std::string LabelName;
    std::string LabelType;
    bool Reverse = false;
    std::uint16_t StartAt = 1;
    std::uint16_t PageFrom = 1;
    std::uint16_t PageTo = 9999;
    bool Ruler = false;
    // Run value, like StartAt: positions (from 1) of the first printed sheet that are
    // already used; the run leaves them empty as it does those before StartAt.
    std::vector<int> UsedPositions;

    // The ten lengths in their stored order: BottomMargin, Length, TopMargin, Width,
    // LeftMargin, RightMargin, ColumnSpace, RowSpace, QSOLineSpace, FooterLineSpace.
    std::array<double, 10> values() const;
    void setValues(const std::array<double, 10>& v);

    // A standard paper takes its size from the paper table (swapped in landscape);
    // Custom keeps the size it has.
    void setPaperSize(qx7::PaperSize size);
    // Turning the page swaps the paper's sides.
    void setOrientation(PageOrientation orientation);
    // Ignored for a value <= 0 (or the current one).
    void setRows(int rows);
    void setColumns(int columns);
    // Takes a sheet's paper, margins and grid; lengths of `g` in millimetres.
    void applySheet(const SheetGeometry& g);

    // Derived in tenths of a millimetre; never negative.
    double labelWidth() const;
    double labelHeight() const;
    int labelsPerSheet() const { return Columns * Rows; }

    // Back to the defaults of a print run (after loading and after printing).
    void resetRun()
    {
        PageFrom = 1;
        PageTo = 9999;
        StartAt = 1;
        UsedPositions.clear();
    }

    bool operator==(const TQRPage&) const = default;
};

} // namespace qx7
