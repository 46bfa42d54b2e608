#include "ui/designer/PrinterCalibrationDialog.h"

#include "core/IniFile.h"
#include "labels/PrinterCalibration.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx7 {

namespace {

// Wider than what is accepted on purpose: a value typed out of range gets the reason,
// rather than being held silently at a limit the user never saw.
QDoubleSpinBox* numberBox(QWidget* parent, const char* name, double min, double max, int decimals,
                          const QString& suffix)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(min, max);
    box->setDecimals(decimals);
    box->setSuffix(suffix);
    box->setSingleStep(decimals > 2 ? 0.001 : 0.1);
    return box;
}

} // namespace

PrinterCalibrationDialog::PrinterCalibrationDialog(std::string iniPath, std::string printer,
                                                   std::string sheet,
                                                   TestSheetPrinter printTestSheet, QWidget* parent)
    : QDialog(parent), m_iniPath(std::move(iniPath)), m_printer(std::move(printer)),
      m_sheet(std::move(sheet)), m_printTestSheet(std::move(printTestSheet))
{
    setObjectName(QStringLiteral("PrinterCalibrationDialog"));
    setWindowTitle(tr("Printer Calibration"));
    auto* form = new QFormLayout;
    form->addRow(tr("Printer:"), new QLabel(QString::fromStdString(m_printer), this));
    form->addRow(
        tr("Sheet type:"),
        new QLabel(m_sheet.empty() ? tr("(every sheet)") : QString::fromStdString(m_sheet), this));
    m_offsetX = numberBox(this, "offsetX", -999, 999, 2, tr(" mm"));
    m_offsetY = numberBox(this, "offsetY", -999, 999, 2, tr(" mm"));
    m_scaleX = numberBox(this, "scaleX", 0.01, 9.99, 3, QString());
    m_scaleY = numberBox(this, "scaleY", 0.01, 9.99, 3, QString());
    form->addRow(tr("Offset &X (right):"), m_offsetX);
    form->addRow(tr("Offset &Y (down):"), m_offsetY);
    form->addRow(tr("Scale X:"), m_scaleX);
    form->addRow(tr("Scale Y:"), m_scaleY);
    auto* hint = new QLabel(tr("Print the test sheet, measure how far the printer puts its "
                               "rulers and label outlines off, and enter that here."),
                            this);
    hint->setWordWrap(true);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("calibrationMessage"));
    m_message->setWordWrap(true);
    m_message->hide();

    auto* testSheet = new QPushButton(tr("Print &test sheet"), this);
    testSheet->setObjectName(QStringLiteral("printTestSheet"));
    connect(testSheet, &QPushButton::clicked, this, [this] {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const std::string error = m_printTestSheet ? m_printTestSheet() : "no printer";
        QGuiApplication::restoreOverrideCursor();
        if (error.empty())
            say(tr("The test sheet went to %1.").arg(QString::fromStdString(m_printer)), false);
        else
            say(tr("The test sheet did not print: %1").arg(QString::fromStdString(error)), true);
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* clear = buttons->addButton(tr("C&lear"), QDialogButtonBox::ResetRole);
    clear->setObjectName(QStringLiteral("clearCalibration"));
    connect(clear, &QPushButton::clicked, this, [this] {
        IniFile ini(m_iniPath);
        if (!clearCalibration(ini, m_printer, m_sheet)) {
            showValues(findCalibration(ini, m_printer, m_sheet));
            say(tr("No calibration of its own was stored for this printer and sheet."), false);
            return;
        }
        if (!saved(ini))
            return;
        // What is left may be the printer's entry for every sheet.
        showValues(findCalibration(ini, m_printer, m_sheet));
        say(tr("The calibration for this sheet was removed."), false);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterCalibrationDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(testSheet, 0, Qt::AlignLeft);
    layout->addWidget(m_message);
    layout->addWidget(buttons);

    showValues(findCalibration(IniFile(m_iniPath), m_printer, m_sheet));
    // A refusal speaks of the values as they were; once changed it no longer holds.
    for (QDoubleSpinBox* box : {m_offsetX, m_offsetY, m_scaleX, m_scaleY})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { say(QString(), false); });
    setMinimumWidth(380);
}

QString PrinterCalibrationDialog::message() const
{
    return m_message->text();
}

void PrinterCalibrationDialog::showValues(const PrinterCalibration& c)
{
    m_offsetX->setValue(c.offsetXMm);
    m_offsetY->setValue(c.offsetYMm);
    m_scaleX->setValue(c.scaleX);
    m_scaleY->setValue(c.scaleY);
}

void PrinterCalibrationDialog::say(const QString& text, bool problem)
{
    m_message->setStyleSheet(problem ? QStringLiteral("color: #c00000") : QString());
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
    // The wrapped message needs its height; the number fields must keep theirs.
    adjustSize();
}

bool PrinterCalibrationDialog::saved(const IniFile& ini)
{
    if (ini.save())
        return true;
    say(tr("Cannot write %1; the calibration is unchanged.").arg(QString::fromStdString(m_iniPath)),
        true);
    return false;
}

void PrinterCalibrationDialog::accept()
{
    PrinterCalibration c;
    c.offsetXMm = m_offsetX->value();
    c.offsetYMm = m_offsetY->value();
    c.scaleX = m_scaleX->value();
    c.scaleY = m_scaleY->value();
    IniFile ini(m_iniPath);
    const std::string problem = storeCalibration(ini, m_printer, m_sheet, c);
    if (!problem.empty()) {
        say(QString::fromStdString(problem), true);
        return;
    }
    if (!saved(ini))
        return;
    say(QString(), false);
    QDialog::accept();
}

} // namespace qx7
