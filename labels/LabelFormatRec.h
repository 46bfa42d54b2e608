#pragma once
// One sheet row of the label-sheet catalogue and what it does to a layout's page:
// "name;top;left;width;height;columns;rows;row pitch;column pitch;paper;" with
// centimetres written with a decimal comma.

#include "labels/PaperSize.h"
#include "labels/Units.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qx7 {

// All lengths in the unit the row was parsed for.
struct LabelFormatRec
{
    std::string Name;
    double TopMargin = 0;
    double LeftMargin = 0;
    double LabelWidth = 0;
    double LabelHeight = 0;
    std::int32_t Columns = 0;
    std::int32_t Rows = 0;
    double RowPitch = 0;    // 0: labels touch
    double ColumnPitch = 0; // 0: labels touch
    PaperSize Paper = PaperSize::A4;
    bool Landscape = false;
    double PaperWidth = 0;  // custom papers only
    double PaperLength = 0; // custom papers only
};

// Parses a row; false (and no message) when a number field is not a number, an
// integer field not an integer, or the sheet has no label at all.
bool parseLabelFormatRow(std::string_view row, LabelFormatRec& rec,
                         LayoutUnit unit = LayoutUnit::Millimetres, const UnitContext& ctx = {});

// Paper and orientation of a paper code ("", "A4Q", "L", "PQ", "B4 JIS", ...).
// Custom papers also get their size in millimetres.
struct PaperChoice
{
    PaperSize paper = PaperSize::A4;
    bool landscape = false;
    double customWidthMm = 0;
    double customLengthMm = 0;
};
PaperChoice paperFromCode(std::string_view code);

// The page geometry a sheet gives a layout, in the same unit as the record.
struct SheetGeometry
{
    PaperSize paper = PaperSize::A4;
    bool landscape = false;
    double paperWidth = 0; // the paper across and down as it lies (swapped in landscape)
    double paperLength = 0;
    double topMargin = 0, bottomMargin = 0, leftMargin = 0, rightMargin = 0;
    int columns = 1, rows = 1;
    double columnSpace = 0, rowSpace = 0;
    double labelWidth = 0, labelHeight = 0;
};
SheetGeometry applySheet(const LabelFormatRec& rec, LayoutUnit unit = LayoutUnit::Millimetres,
                         const UnitContext& ctx = {});

// "ES-4 (105 x 140)": the sizes truncated (not rounded) to two decimals, shortest form.
std::string sheetListText(const LabelFormatRec& rec, char decimalSeparator = '.');
// A value truncated to two decimals in shortest form ("3.55", "105").
std::string truncatedNumber(double value, char decimalSeparator = '.');

} // namespace qx7
