#pragma once
// The layout check as it runs before anything is printed: every fault of a layout that
// would spoil its labels, each tied to the element (or the page) it is found in, so
// that the message can say where to look.

#include "labels/LabelLayout.h"

#include <string>
#include <vector>

namespace qx7 {

class Prompter;

struct LayoutFinding
{
    std::string where;    // the element's name, or "Page" / "Label" for the sheet itself
    std::string problem;  // what is wrong there
    bool outside = false; // an element reaching beyond the label
    bool operator==(const LayoutFinding&) const = default;
};

// What can be told from the layout alone: a page without size or room for a label, a
// label larger than its page, no element on the label, elements outside the label, and
// expressions that do not evaluate. Pictures need reading: see findLayoutProblems.
std::vector<LayoutFinding> checkLayoutModel(const LabelLayout& layout);

// "QRDBText2: reaches beyond ...", one finding a line.
std::string findingsText(const std::vector<LayoutFinding>& findings);
// The warning of the check: the outside-elements warning when elements are outside,
// then every finding.
std::string layoutCheckMessage(const std::vector<LayoutFinding>& findings);
// Why a print run is refused.
std::string printRefusedText(const std::vector<LayoutFinding>& findings);

// Shows the findings (warning); with none, says that all is well only when `askedFor`.
// Returns the number of findings.
int reportLayoutCheck(const std::vector<LayoutFinding>& findings, Prompter& prompter,
                      bool askedFor);

} // namespace qx7
