#pragma once
// The catalogue of commercial label sheets ("LABELFORMATS"), grouped by maker: the
// lists the layout wizard offers and the look-up of a layout's remembered sheet.
// Maker headers are lines without ";"; every other line is a sheet row of the maker
// above it.

#include "labels/LabelFormatRec.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

inline constexpr const char* kCustomMaker = "Custom";

// One entry of a maker's type list: its list text and the row it came from.
struct SheetType
{
    std::string listText;
    std::string row;
};

class SheetCatalogue
{
public:
    explicit SheetCatalogue(std::string_view text);
    // The catalogue compiled into the program.
    static const SheetCatalogue& builtIn();

    // Maker headers in catalogue order.
    const std::vector<std::string>& makers() const { return m_makers; }
    // What the maker drop-down offers: "Custom", then the makers sorted by name.
    std::vector<std::string> makerChoices() const;
    // The raw rows of a maker (exact, case-sensitive name); empty when unknown.
    const std::vector<std::string>& rowsOf(std::string_view maker) const;
    // The rows of a maker that parse, in catalogue order, with their list texts.
    std::vector<SheetType> typesOf(std::string_view maker,
                                   LayoutUnit unit = LayoutUnit::Millimetres,
                                   const UnitContext& ctx = {}, char decimalSeparator = '.') const;

    struct Found
    {
        std::string maker;
        std::optional<size_t> typeIndex; // into typesOf(maker, ...); none: maker only
        LabelFormatRec rec;              // the type's sheet when one was found
    };
    // A layout's remembered maker and type text, both compared ignoring case. A maker
    // without a matching type is still found (the wizard selects the maker alone).
    std::optional<Found> find(std::string_view labelName, std::string_view labelType,
                              LayoutUnit unit = LayoutUnit::Millimetres,
                              const UnitContext& ctx = {}, char decimalSeparator = '.') const;

private:
    std::vector<std::string> m_makers;
    std::vector<std::vector<std::string>> m_rows; // per maker
};

} // namespace qx7
