#pragma once
// What the call search fields let through as the user types: calls in upper case with
// the wildcards "?" (one character) and "*" (any run), never both, one "*" at most, and
// one trailing space that asks for the call alone.

#include <optional>
#include <string_view>

namespace qx7 {

inline constexpr char kBackspace = '\b';

// The character CallFromEdit takes for a typed key, or nothing when it drops the key.
std::optional<char> acceptCallFromKey(std::string_view text, char key);
// The same for CallToEdit and the manager fields: letters, digits and "/" only.
std::optional<char> acceptCallToKey(char key);

} // namespace qx7
