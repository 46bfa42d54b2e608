#pragma once
// The functions layout expressions may call (COPY, UPPER, LOWER, TRIM, LEN, STR, INT).
// Texts are UTF-8 and counted in characters, so "DLØABC" has six.

#include "labels/Expression.h"

#include <optional>
#include <string_view>
#include <vector>

namespace qx7::detail {

std::optional<ExpressionValue> callFunction(std::string_view name,
                                            const std::vector<ExpressionValue>& args);

} // namespace qx7::detail
