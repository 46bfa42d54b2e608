#pragma once
// The "PDF file" printer: one PDF page per sheet, the page exactly the paper of the
// layout and nothing scaled, so that printing the PDF at 100 % lands on the sheet.
// The file appears under its name only when complete.

#include "labels/render/PainterSheetOutput.h"

#include <memory>

class QPdfWriter;

namespace qx7 {

class PdfSheetOutput : public PainterSheetOutput
{
public:
    PdfSheetOutput(const LabelLayout& layout, std::string imageFolder, std::string pdfPath,
                   int resolution = 1200);
    ~PdfSheetOutput() override;

    bool beginSheet(int sheet) override;
    bool endSheet() override { return true; }
    bool finish() override;
    bool marksPrinted() const override { return true; }

private:
    std::string m_path;
    std::string m_partPath;
    int m_resolution;
    std::unique_ptr<QPdfWriter> m_writer;
};

} // namespace qx7
