// qx7cli calibrate: the per-printer correction kept in "qx7.ini" section
// [PrinterCalibration], and the test sheet it is measured on.

#include "cli/Command.h"
#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "labels/PrinterCalibration.h"
#include "labels/render/CalibrationSheet.h"

#include <optional>
#include <ostream>

namespace qx7::cli {

namespace {

constexpr const char* kUsage =
    "usage: qx7cli calibrate PRINTER [--sheet TYPE] --offset X,Y [--scale SX,SY] | "
    "calibrate PRINTER [--sheet TYPE] --clear | calibrate [PRINTER] --show | "
    "calibrate PRINTER --test-sheet [--layout FILE]\n";

struct CalibrateOptions
{
    std::string printer;
    std::optional<std::string> sheet;
    std::optional<std::string> offset, scale, layout;
    bool show = false, clear = false, testSheet = false;
};

bool parse(const std::vector<std::string>& args, CalibrateOptions& o, std::ostream& err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--sheet" && hasValue)
            o.sheet = args[++i];
        else if (a == "--offset" && hasValue)
            o.offset = args[++i];
        else if (a == "--scale" && hasValue)
            o.scale = args[++i];
        else if (a == "--layout" && hasValue)
            o.layout = args[++i];
        else if (a == "--show")
            o.show = true;
        else if (a == "--clear")
            o.clear = true;
        else if (a == "--test-sheet")
            o.testSheet = true;
        else if (!a.empty() && a[0] != '-' && o.printer.empty())
            o.printer = a;
        else {
            err << "qx7cli: calibrate: unknown or incomplete option " << a << '\n' << kUsage;
            return false;
        }
    }
    const int actions = int(o.show) + int(o.clear) + int(o.testSheet) + int(o.offset.has_value());
    if (actions != 1 || (o.scale && !o.offset) || (o.printer.empty() && !o.show)) {
        err << kUsage;
        return false;
    }
    return true;
}

std::string sheetText(const std::string& sheet)
{
    return sheet.empty() ? "every sheet" : "sheet \"" + sheet + "\"";
}

} // namespace

int runCalibrate(CommandContext& ctx)
{
    CalibrateOptions o;
    if (!parse(ctx.args, o, ctx.err))
        return 2;
    TQXDM& dm = ctx.dataModule();
    IniFile ini(dm.iniPath());
    const std::string sheet = o.sheet.value_or("");

    if (o.show) {
        const auto entries = listCalibrations(ini, o.printer);
        if (entries.empty())
            ctx.out << "No printer calibration stored"
                    << (o.printer.empty() ? "" : " for " + o.printer) << ".\n";
        for (const StoredCalibration& e : entries)
            ctx.out << e.printer << '\t' << sheetText(e.sheet) << "\toffset " << e.values.offsetXMm
                    << ',' << e.values.offsetYMm << " mm\tscale " << e.values.scaleX << ','
                    << e.values.scaleY << '\n';
        return 0;
    }
    if (o.testSheet) {
        if (equalsIgnoreCase(o.printer, kPdfFilePrinter)) {
            ctx.err << "qx7cli: the \"PDF file\" printer takes no calibration\n";
            return 2;
        }
        const std::string path = dm.layoutPath(o.layout.value_or(dm.LastQXD));
        LabelLayout layout;
        std::string error;
        if (!dm.loadLayout(path, layout, &error)) {
            ctx.err << "qx7cli: cannot load the label layout: " << error << '\n';
            return 1;
        }
        error = printCalibrationSheet(layout, o.printer);
        if (!error.empty()) {
            ctx.err << "qx7cli: the test sheet did not print: " << error << '\n';
            return 1;
        }
        ctx.out << "Printed the calibration test sheet for "
                << sheetText(calibrationSheetName(layout.Page)) << " on " << o.printer << ".\n";
        return 0;
    }
    if (o.clear) {
        if (!clearCalibration(ini, o.printer, sheet)) {
            ctx.out << "No calibration stored for " << o.printer << ", " << sheetText(sheet)
                    << ".\n";
            return 0;
        }
    } else {
        PrinterCalibration c;
        std::string problem = parseNumberPair(*o.offset, c.offsetXMm, c.offsetYMm);
        if (problem.empty() && o.scale)
            problem = parseNumberPair(*o.scale, c.scaleX, c.scaleY);
        if (problem.empty())
            problem = storeCalibration(ini, o.printer, sheet, c);
        if (!problem.empty()) {
            ctx.err << "qx7cli: calibration not stored: " << problem << '\n';
            return 2;
        }
    }
    if (!ini.save()) {
        ctx.err << "qx7cli: cannot write " << dm.iniPath() << "; the calibration is unchanged\n";
        return 1;
    }
    ctx.out << (o.clear ? "Removed the calibration of " : "Stored the calibration of ") << o.printer
            << ", " << sheetText(sheet) << ".\n";
    return 0;
}

} // namespace qx7::cli
