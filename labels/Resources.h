#pragma once
// Texts compiled into the program from resources/ (see qx7_embed_resource).

#include <string_view>

namespace qx7::resources {

extern const std::string_view labelFormats; // the sheet catalogue "LABELFORMATS"
extern const std::string_view sampleLayout; // "sample.qxd"
extern const std::string_view cardLayout;   // "qslcard.qxd"
extern const std::string_view sampleAdif;   // "sample.adi", built into the data module

} // namespace qx7::resources
