#pragma once
// The whole layout check: what the layout itself tells (see LayoutCheck.h) and the
// pictures of its image elements, read as the printer would read them.

#include "labels/LayoutCheck.h"

#include <string>
#include <vector>

namespace qx7 {

// Relative picture names are found in `imageFolder` (the layout's folder).
std::vector<LayoutFinding> findLayoutProblems(const LabelLayout& layout,
                                              const std::string& imageFolder);

} // namespace qx7
