#pragma once
// The two ways a QSL manager is taken from a foreign log: a manager field cleaned of
// routing words, and a free "QSL via" text from which the call after "VIA " is taken.

#include <optional>
#include <string>
#include <string_view>

namespace qx7 {

// The cleaned manager, or nothing when no manager remains ("BURO", "CBA", "HC", ...).
std::optional<std::string> managerFromField(std::string_view raw);

// The manager named in a "QSL via" text; "-" for the bureau; nothing when none.
std::optional<std::string> managerFromViaText(std::string_view text);

} // namespace qx7
