#pragma once
// Label layout files (".qxd"): readable ini-style text holding the whole layout:
// report settings, page, the label band and every element with all its properties.
// Writing a layout and reading it back gives the same layout, and a file we wrote
// comes back byte for byte when it is saved again.

#include "labels/LabelLayout.h"
#include "labels/LayoutOperations.h"

#include <optional>
#include <string>
#include <string_view>

namespace qx7 {

inline constexpr const char* kLayoutFileFilter = "QX Label Layouts|*.qxd";

std::string layoutToText(const LabelLayout& layout);
// False, with the reason in `error`, when the text is not a layout or a value is bad.
bool layoutFromText(std::string_view text, LabelLayout& layout, std::string* error = nullptr);

bool loadLayout(const std::string& path, LabelLayout& layout, std::string* error = nullptr);
// Writes through a temporary file, so a failed save leaves the old file as it was.
bool saveLayout(const std::string& path, const LabelLayout& layout, std::string* error = nullptr);

// Loading as the program does it: read the file, derive the line counts, and when the
// page's QSOLines/FooterLines disagree with them set them and write the file back at
// once; the print-run values return to their defaults. The counts are for the data
// module (QSO rows and footer lines per label, labels per sheet).
std::optional<LayoutCounts> openLayoutFile(const std::string& path, LabelLayout& layout,
                                           std::string* error = nullptr);
// Saving as the program does it: the page takes the derived counts first.
std::optional<LayoutCounts> saveLayoutFile(const std::string& path, LabelLayout& layout,
                                           std::string* error = nullptr);

} // namespace qx7
