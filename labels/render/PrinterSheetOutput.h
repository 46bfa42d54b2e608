#pragma once
// Printing on a real printer, without a dialog: the layout's paper and orientation,
// no margins added, the sheet drawn from the paper's corner. Every sheet is a job of
// its own: once the spooler reports it completed, its labels are printed whatever
// happens to the rest of the run, so they are marked then and a stopped run never
// prints them again. A job the queue refuses, cancels or holds marks nothing.

#include "labels/PrinterCalibration.h"
#include "labels/render/PainterSheetOutput.h"
#include "labels/render/PrinterSettings.h"
#include "labels/render/SpoolerJobs.h"

#include <memory>

class QPrinter;

namespace qx7 {

class PrinterSheetOutput : public PainterSheetOutput
{
public:
    // An empty name is the system's default printer.
    PrinterSheetOutput(const LabelLayout& layout, std::string imageFolder,
                       const std::string& printerName);
    ~PrinterSheetOutput() override;

    bool beginSheet(int sheet) override;
    bool endSheet() override;
    bool finish() override { return m_error.empty(); }
    bool marksPrinted() const override { return true; }
    bool sheetFinalWhenEnded() const override { return true; }

    void setCopies(int copies);
    void setSettings(const PrinterSettings& settings);
    // Everything drawn on a sheet is scaled about the paper's corner and then shifted,
    // so that a printer that puts the sheet off by the measured amount prints it true.
    void setCalibration(const PrinterCalibration& c) { m_calibration = c; }

    // How long a sheet's job may wait in the spooler before it counts as not printed.
    void setJobTimeoutMs(int ms) { m_jobs.setTimeoutMs(ms); }

private:
    std::unique_ptr<QPrinter> m_printer;
    SpoolerJobs m_jobs;
    PrinterCalibration m_calibration;
};

} // namespace qx7
