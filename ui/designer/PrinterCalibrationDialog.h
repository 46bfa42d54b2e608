#pragma once
// The calibration of one printer for one sheet type, from the print options: the stored
// offset and scale shown and changed, a test sheet to measure them on, and a way back
// to none. The values are kept in "qx7.ini" like `qx7cli calibrate` keeps them.

#include <QDialog>

#include <functional>
#include <string>

class QDoubleSpinBox;
class QLabel;

namespace qx7 {

class IniFile;

struct PrinterCalibration;

class PrinterCalibrationDialog : public QDialog
{
    Q_OBJECT
public:
    // Prints the test sheet; answers the message when it did not print.
    using TestSheetPrinter = std::function<std::string()>;

    PrinterCalibrationDialog(std::string iniPath, std::string printer, std::string sheet,
                             TestSheetPrinter printTestSheet, QWidget* parent = nullptr);

    // What the dialog last said (a refusal, a printing error); empty when all went well.
    QString message() const;

public slots:
    void accept() override;

private:
    void showValues(const PrinterCalibration& c);
    void say(const QString& text, bool problem);
    // Writes qx7.ini; when it cannot, says so and the calibration stays as it was.
    bool saved(const IniFile& ini);

    std::string m_iniPath;
    std::string m_printer;
    std::string m_sheet;
    TestSheetPrinter m_printTestSheet;
    QDoubleSpinBox* m_offsetX;
    QDoubleSpinBox* m_offsetY;
    QDoubleSpinBox* m_scaleX;
    QDoubleSpinBox* m_scaleY;
    QLabel* m_message;
};

} // namespace qx7
