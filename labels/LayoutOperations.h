#pragma once
// The operations the program adds to the label designer: the QSO and footer line
// counts a layout implies, the standard label template, completing and aligning the
// QSO and footer lines, and the check for elements outside the label.

#include "labels/LabelLayout.h"
#include "labels/TextMeasure.h"

#include <string>

namespace qx7 {

class Prompter;

// What a layout tells the print queue: QSO lines and footer lines to fill on every
// label, and labels on one sheet.
struct LayoutCounts
{
    int qsoLines = 0;
    int footerLines = 0;
    int labelsPerSheet = 1;
    bool operator==(const LayoutCounts&) const = default;
};

// The highest QSO line and footer line any data field of the label shows.
LayoutCounts derivedCounts(const LabelLayout& layout);

// Replaces the label with the standard one: addressee, own call, column headings,
// `QSOLines` QSO lines (6 when 0), `FooterLines` footers and a closing line. Positions
// are design pixels of the layout's view. Does nothing (false) without a data set.
bool createLayoutTemplate(LabelLayout& layout, const TextMeasure& measure,
                          double screenPixelsPerInch = 96.0);

struct MissingFieldsResult
{
    int added = 0;
    int deleted = 0;
    bool changed() const { return added > 0 || deleted > 0; }
    // "4 field(s) added." and/or "2 field(s) deleted.", one per line; empty if none.
    std::string message() const;
};
// Removes line and footer fields beyond `QSOLines` / `FooterLines` and adds the
// missing ones of every line item that line A has (and of the footers), then aligns
// the lines when anything changed. The message is for the caller to show.
MissingFieldsResult addMissingFields(LabelLayout& layout);
// As above, and shows the message (confirmation icon, OK) when something changed.
MissingFieldsResult addMissingFields(LabelLayout& layout, Prompter& prompter);

// Gives every QSO line the look of line A and stacks the lines below it, spaced by
// `QSOLineSpace`; the footer lines likewise after "FOOTER1".
LayoutCounts adjustLines(LabelLayout& layout);

// Elements reaching beyond the label (they would be cut off when printed).
int countElementsOutside(const LabelLayout& layout);
std::string outsideElementsWarning(int count);
inline constexpr const char* kNoLayoutProblems = "Layout Analyzer: No problems found.";
// Warns when elements are outside; says that all is well only when `askedFor`.
int checkLayout(const LabelLayout& layout, Prompter& prompter, bool askedFor);

// Why the layout would print blank sheets (a page without size, margins that leave no
// room for a label, no element on the label), or empty when it can print. Printing
// refuses such a layout: its labels would leave the queue as printed.
std::string blankLayoutProblem(const LabelLayout& layout);

} // namespace qx7
