#pragma once
// A printer's own error on paper: how far (and, for a few, how much larger or smaller)
// it puts a sheet compared with where the layout asks. The user measures it on a test
// sheet and enters it per printer and, when a printer takes sheet types differently,
// per sheet type. It is kept in "qx7.ini" section [PrinterCalibration], apart from the
// layouts, since it belongs to the printer and not to the labels. The "PDF file"
// printer is exact by nature and never takes a calibration.

#include <optional>
#include <string>
#include <vector>

namespace qx7 {

class IniFile;

inline constexpr const char* kPdfFilePrinter = "PDF file";
inline constexpr const char* kCalibrationSection = "PrinterCalibration";

struct PrinterCalibration
{
    double offsetXMm = 0; // positive: to the right
    double offsetYMm = 0; // positive: down
    double scaleX = 1;
    double scaleY = 1;

    bool isIdentity() const;
    bool operator==(const PrinterCalibration&) const = default;
};

// The largest offset and the scale range accepted: a printer further off than this is
// a wrong measurement (inches for millimetres, a sign lost), not a calibration.
inline constexpr double kMaxCalibrationOffsetMm = 50;
inline constexpr double kMinCalibrationScale = 0.8;
inline constexpr double kMaxCalibrationScale = 1.2;

// Empty when the values can be stored, else the message for the user.
std::string calibrationProblem(const std::string& printer, const PrinterCalibration& c);

// "X,Y" in millimetres (a decimal point or comma inside each number is not accepted:
// the comma separates). Empty when parsed, else the message.
std::string parseNumberPair(const std::string& text, double& x, double& y);

// The values as kept in the ini: "offsetX;offsetY;scaleX;scaleY".
std::string formatCalibration(const PrinterCalibration& c);
std::optional<PrinterCalibration> parseCalibration(const std::string& text);

// The calibration stored in `ini` for a printer and sheet type: the sheet's own entry,
// else the printer's entry for every sheet, else none (identity). "PDF file" and an
// unreadable entry give identity too.
PrinterCalibration findCalibration(const IniFile& ini, const std::string& printer,
                                   const std::string& sheet);

// Stores (in memory; the caller saves the ini) the values for `printer` and `sheet`
// (empty: every sheet of that printer). Returns the message when refused.
std::string storeCalibration(IniFile& ini, const std::string& printer, const std::string& sheet,
                             const PrinterCalibration& c);

// Removes the entry for `printer` and `sheet`; true when there was one.
bool clearCalibration(IniFile& ini, const std::string& printer, const std::string& sheet);

struct StoredCalibration
{
    std::string printer;
    std::string sheet; // empty: every sheet
    PrinterCalibration values;
};
// The entries of `printer` (all printers when empty), in file order.
std::vector<StoredCalibration> listCalibrations(const IniFile& ini, const std::string& printer);

} // namespace qx7

namespace qx7 {
struct TQRPage;
// The sheet type a calibration is kept under: the layout's label maker and type
// ("Zweckform 3490 (70 x 36)"); empty when the layout names none.
std::string calibrationSheetName(const TQRPage& page);
} // namespace qx7
