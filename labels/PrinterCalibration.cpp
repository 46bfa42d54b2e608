#include "labels/PrinterCalibration.h"

#include "core/IniFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace qx7 {

namespace {

// The ini key of an entry: the printer, and after a bar the sheet type. Printer names
// (CUPS queues, Windows shares) carry no bar; sheet types may, so only the first counts.
constexpr char kSheetSeparator = '|';

std::string entryKey(const std::string& printer, const std::string& sheet)
{
    return sheet.empty() ? printer : printer + kSheetSeparator + sheet;
}

bool parseNumber(std::string text, double& value)
{
    while (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    if (!text.empty() && text.front() == '+')
        text.erase(0, 1);
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && at == end && std::isfinite(value);
}

std::string number(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

} // namespace

bool PrinterCalibration::isIdentity() const
{
    return offsetXMm == 0 && offsetYMm == 0 && scaleX == 1 && scaleY == 1;
}

std::string calibrationProblem(const std::string& printer, const PrinterCalibration& c)
{
    if (printer.empty())
        return "Name the printer to calibrate.";
    if (equalsIgnoreCase(printer, kPdfFilePrinter))
        return "The \"PDF file\" printer draws exactly and takes no calibration.";
    if (printer.find('=') != std::string::npos ||
        printer.find(kSheetSeparator) != std::string::npos)
        return "A printer name cannot contain \"=\" or \"|\".";
    for (double v : {c.offsetXMm, c.offsetYMm, c.scaleX, c.scaleY})
        if (!std::isfinite(v))
            return "The calibration values must be numbers.";
    if (std::abs(c.offsetXMm) > kMaxCalibrationOffsetMm ||
        std::abs(c.offsetYMm) > kMaxCalibrationOffsetMm)
        return "An offset of more than " + number(kMaxCalibrationOffsetMm) +
               " mm is not a printer's error; measure again in millimetres.";
    for (double s : {c.scaleX, c.scaleY})
        if (s < kMinCalibrationScale || s > kMaxCalibrationScale)
            return "A scale must lie between " + number(kMinCalibrationScale) + " and " +
                   number(kMaxCalibrationScale) + " (1 is the true size).";
    return {};
}

std::string parseNumberPair(const std::string& text, double& x, double& y)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos ||
        !parseNumber(text.substr(0, comma), x) || !parseNumber(text.substr(comma + 1), y))
        return "\"" + text + "\" is not two numbers X,Y (for example 1.5,-0.5).";
    return {};
}

std::string formatCalibration(const PrinterCalibration& c)
{
    return number(c.offsetXMm) + ";" + number(c.offsetYMm) + ";" + number(c.scaleX) + ";" +
           number(c.scaleY);
}

std::optional<PrinterCalibration> parseCalibration(const std::string& text)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ';');)
        parts.push_back(part);
    if (parts.size() != 4)
        return std::nullopt;
    PrinterCalibration c;
    if (!parseNumber(parts[0], c.offsetXMm) || !parseNumber(parts[1], c.offsetYMm) ||
        !parseNumber(parts[2], c.scaleX) || !parseNumber(parts[3], c.scaleY))
        return std::nullopt;
    // A hand-edited entry out of range is not applied: it would print every label off.
    if (!calibrationProblem("printer", c).empty())
        return std::nullopt;
    return c;
}

PrinterCalibration findCalibration(const IniFile& ini, const std::string& printer,
                                   const std::string& sheet)
{
    if (printer.empty() || equalsIgnoreCase(printer, kPdfFilePrinter))
        return {};
    for (const std::string& key : {entryKey(printer, sheet), printer}) {
        if (key.empty() || !ini.valueExists(kCalibrationSection, key))
            continue;
        if (auto c = parseCalibration(ini.readString(kCalibrationSection, key, "")))
            return *c;
        return {};
    }
    return {};
}

std::string storeCalibration(IniFile& ini, const std::string& printer, const std::string& sheet,
                             const PrinterCalibration& c)
{
    std::string problem = calibrationProblem(printer, c);
    if (problem.empty() && sheet.find('=') != std::string::npos)
        problem = "A sheet type cannot contain \"=\".";
    if (!problem.empty())
        return problem;
    ini.writeString(kCalibrationSection, entryKey(printer, sheet), formatCalibration(c));
    return {};
}

bool clearCalibration(IniFile& ini, const std::string& printer, const std::string& sheet)
{
    const std::string key = entryKey(printer, sheet);
    if (!ini.valueExists(kCalibrationSection, key))
        return false;
    ini.deleteKey(kCalibrationSection, key);
    return true;
}

std::vector<StoredCalibration> listCalibrations(const IniFile& ini, const std::string& printer)
{
    std::vector<StoredCalibration> result;
    for (const auto& [key, value] : ini.sectionPairs(kCalibrationSection)) {
        const size_t bar = key.find(kSheetSeparator);
        StoredCalibration entry;
        entry.printer = key.substr(0, bar);
        if (bar != std::string::npos)
            entry.sheet = key.substr(bar + 1);
        if ((!printer.empty() && !equalsIgnoreCase(entry.printer, printer)) ||
            equalsIgnoreCase(entry.printer, kPdfFilePrinter))
            continue;
        const auto c = parseCalibration(value);
        if (!c)
            continue;
        entry.values = *c;
        result.push_back(std::move(entry));
    }
    return result;
}

} // namespace qx7

#include "labels/TQRPage.h"

namespace qx7 {

std::string calibrationSheetName(const TQRPage& page)
{
    if (page.LabelName.empty() || page.LabelType.empty())
        return page.LabelName + page.LabelType;
    return page.LabelName + " " + page.LabelType;
}

} // namespace qx7
