#pragma once
// Texts compiled into the program from resources/ (see labels/CMakeLists.txt).

#include <string_view>

namespace qx7::resources {

extern const std::string_view labelFormats; // the sheet catalogue "LABELFORMATS"
extern const std::string_view sampleLayout; // "sample.qxd"
extern const std::string_view cardLayout;   // "qslcard.qxd"

} // namespace qx7::resources
