#pragma once
// The layouts the program brings along: "sample.qxd" for a common A4 sheet of 3 x 8
// address labels and "qslcard.qxd" for printing whole 140 x 90 mm QSL cards. They are
// written into the layout folder when missing, so a first start can print at once.

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr const char* kSampleLayoutName = "sample.qxd";
inline constexpr const char* kCardLayoutName = "qslcard.qxd";

struct ShippedLayout
{
    const char* fileName;
    std::string_view text;
};
const std::vector<ShippedLayout>& shippedLayouts();

// Writes each shipped layout that the folder lacks (an existing file, even an edited
// one, is never replaced). Answers how many were written; -1 when one could not be.
int installShippedLayouts(const std::string& layoutFolder);

} // namespace qx7
