#include "labels/PaperSize.h"

#include "core/IniFile.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace qx7 {

namespace {

struct PaperEntry
{
    const char* name;
    PaperMetrics mm;
};

constexpr double kInch = 25.4;

// Sizes of the common printer paper table; the JIS B sizes are the ones printer
// drivers call "B4 (JIS)" and "B5 (JIS)".
const std::array<PaperEntry, kPaperSizeCount>& paperTable()
{
    static const std::array<PaperEntry, kPaperSizeCount> table = {{
        {"Default", {210.0, 297.0}},
        {"Letter", {8.5 * kInch, 11 * kInch}},
        {"LetterSmall", {8.5 * kInch, 11 * kInch}},
        {"Tabloid", {11 * kInch, 17 * kInch}},
        {"Ledger", {17 * kInch, 11 * kInch}},
        {"Legal", {8.5 * kInch, 14 * kInch}},
        {"Statement", {5.5 * kInch, 8.5 * kInch}},
        {"Executive", {7.25 * kInch, 10.5 * kInch}},
        {"A3", {297.0, 420.0}},
        {"A4", {210.0, 297.0}},
        {"A4Small", {210.0, 297.0}},
        {"A5", {148.0, 210.0}},
        {"B4", {250.0, 354.0}},
        {"B5", {182.0, 257.0}},
        {"Folio", {8.5 * kInch, 13 * kInch}},
        {"Quarto", {215.0, 275.0}},
        {"10x14", {10 * kInch, 14 * kInch}},
        {"11x17", {11 * kInch, 17 * kInch}},
        {"Note", {8.5 * kInch, 11 * kInch}},
        {"Env9", {3.875 * kInch, 8.875 * kInch}},
        {"Env10", {4.125 * kInch, 9.5 * kInch}},
        {"Env11", {4.5 * kInch, 10.375 * kInch}},
        {"Env12", {4.75 * kInch, 11 * kInch}},
        {"Env14", {5 * kInch, 11.5 * kInch}},
        {"CSheet", {17 * kInch, 22 * kInch}},
        {"DSheet", {22 * kInch, 34 * kInch}},
        {"ESheet", {34 * kInch, 44 * kInch}},
        {"Custom", {210.0, 297.0}},
    }};
    return table;
}

} // namespace

PaperMetrics paperMetrics(PaperSize size)
{
    const auto i = static_cast<size_t>(size);
    return i < paperTable().size() ? paperTable()[i].mm : paperTable()[9].mm;
}

std::string paperSizeName(PaperSize size)
{
    const auto i = static_cast<size_t>(size);
    return i < paperTable().size() ? paperTable()[i].name : "A4";
}

std::optional<PaperSize> paperSizeFromName(std::string_view name)
{
    const auto& table = paperTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (equalsIgnoreCase(table[i].name, name))
            return static_cast<PaperSize>(i);
    int number = -1;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (ec == std::errc() && end == name.data() + name.size() && number >= 0 &&
        number < kPaperSizeCount)
        return static_cast<PaperSize>(number);
    return std::nullopt;
}

std::vector<PaperSize> selectablePaperSizes()
{
    std::vector<PaperSize> sizes;
    for (int i = 1; i < kPaperSizeCount; ++i)
        sizes.push_back(static_cast<PaperSize>(i));
    std::sort(sizes.begin(), sizes.end(),
              [](PaperSize a, PaperSize b) { return paperSizeName(a) < paperSizeName(b); });
    return sizes;
}

} // namespace qx7
