#include "ui/designer/TQXDesOptionsForm.h"

#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace qx7 {

namespace {

struct NamedColor
{
    const char* name;
    QColor color;
};

const std::array<NamedColor, 6> kFrameColors = {{{"Blue", QColor(0, 120, 215)},
                                                 {"Gray", QColor(128, 128, 128)},
                                                 {"Green", QColor(0, 140, 60)},
                                                 {"Red", QColor(200, 0, 0)},
                                                 {"Black", QColor(0, 0, 0)},
                                                 {"Magenta", QColor(190, 0, 190)}}};

} // namespace

QDoubleSpinBox* TQXDesOptionsForm::gridBox(const char* name, double mm)
{
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(QLatin1String(name));
    box->setRange(0.0, 20.0);
    box->setDecimals(1);
    // The arrows step half a millimetre, the usual grain of label layouts.
    box->setSingleStep(0.5);
    box->setSuffix(tr(" mm"));
    box->setValue(mm);
    return box;
}

TQXDesOptionsForm::TQXDesOptionsForm(const DesignerOptions& options, QWidget* parent)
    : QDialog(parent), m_start(options)
{
    setObjectName(QStringLiteral("TQXDesOptionsForm"));
    setWindowTitle(tr("QX Label Designer Options"));

    auto* frames = new QGroupBox(tr("Frames"), this);
    m_showFrames = new QCheckBox(tr("Show component &frames at design time"), frames);
    m_showFrames->setObjectName(QStringLiteral("showFrames"));
    m_showFrames->setChecked(options.showFrames);
    m_color = new QComboBox(frames);
    m_color->setObjectName(QStringLiteral("frameColor"));
    int colorIndex = -1;
    for (const NamedColor& c : kFrameColors) {
        if (c.color == options.frameColor)
            colorIndex = m_color->count();
        m_color->addItem(tr(c.name), c.color);
    }
    if (colorIndex < 0) { // a colour of its own stays what it was
        colorIndex = m_color->count();
        m_color->addItem(options.frameColor.name(), options.frameColor);
    }
    m_color->setCurrentIndex(colorIndex);
    m_line = new QComboBox(frames);
    m_line->setObjectName(QStringLiteral("frameLine"));
    for (const auto& [name, style] : kFrameLines) {
        m_line->addItem(tr(name), int(style));
        if (style == options.frameLine)
            m_line->setCurrentIndex(m_line->count() - 1);
    }
    auto* colorLabel = new QLabel(tr("Colo&r:"), frames);
    colorLabel->setBuddy(m_color);
    auto* lineLabel = new QLabel(tr("&Line"), frames);
    lineLabel->setBuddy(m_line);
    auto* frameRow = new QHBoxLayout;
    frameRow->addWidget(colorLabel);
    frameRow->addWidget(m_color, 1);
    frameRow->addWidget(lineLabel);
    frameRow->addWidget(m_line, 1);
    auto* frameBox = new QVBoxLayout(frames);
    frameBox->addWidget(m_showFrames);
    frameBox->addLayout(frameRow);
    // Colour and line only mean something while frames are shown.
    const auto frameChoices = [this] {
        m_color->setEnabled(m_showFrames->isChecked());
        m_line->setEnabled(m_showFrames->isChecked());
    };
    connect(m_showFrames, &QCheckBox::toggled, this, frameChoices);
    frameChoices();

    m_align = new QGroupBox(tr("Automatically align elements to grid"), this);
    m_align->setObjectName(QStringLiteral("snapToGrid"));
    m_align->setCheckable(true);
    m_align->setChecked(options.snap);
    m_gridX = gridBox("gridX", options.gridXMm);
    m_gridY = gridBox("gridY", options.gridYMm);
    m_keyGridX = gridBox("keyGridX", options.keyGridXMm);
    m_keyGridY = gridBox("keyGridY", options.keyGridYMm);
    auto* gridForm = new QFormLayout(m_align);
    gridForm->addRow(tr("Grid size &X:"), m_gridX);
    gridForm->addRow(tr("Grid size &Y:"), m_gridY);
    gridForm->addRow(tr("&Keyboard grid size X:"), m_keyGridX);
    gridForm->addRow(tr("K&eyboard grid size Y:"), m_keyGridY);

    auto* units = new QGroupBox(tr("&Units in"), this);
    m_mm = new QRadioButton(tr("mm"), units);
    m_mm->setObjectName(QStringLiteral("unitMm"));
    m_inches = new QRadioButton(tr("Inches"), units);
    m_inches->setObjectName(QStringLiteral("unitInches"));
    m_chars = new QRadioButton(tr("Characters"), units);
    m_chars->setObjectName(QStringLiteral("unitCharacters"));
    m_mm->setChecked(options.unit == DesignUnit::Mm);
    m_inches->setChecked(options.unit == DesignUnit::Inches);
    m_chars->setChecked(options.unit == DesignUnit::Characters);
    auto* unitRow = new QHBoxLayout(units);
    unitRow->addWidget(m_mm);
    unitRow->addWidget(m_inches);
    unitRow->addWidget(m_chars);

    auto* design = new QGroupBox(tr("Design grid"), this);
    m_showGrid = new QCheckBox(tr("&Show design grid"), design);
    m_showGrid->setObjectName(QStringLiteral("showGrid"));
    m_showGrid->setChecked(options.showGrid);
    auto* designRow = new QVBoxLayout(design);
    designRow->addWidget(m_showGrid);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    addHelpButton(*buttons, help::kDesignerOptions);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* box = new QVBoxLayout(this);
    box->addWidget(frames);
    box->addWidget(m_align);
    box->addWidget(units);
    box->addWidget(design);
    box->addWidget(buttons);
}

DesignerOptions TQXDesOptionsForm::options() const
{
    DesignerOptions o = m_start;
    o.showFrames = m_showFrames->isChecked();
    o.frameColor = m_color->currentData().value<QColor>();
    o.frameLine = Qt::PenStyle(m_line->currentData().toInt());
    o.snap = m_align->isChecked();
    o.gridXMm = m_gridX->value();
    o.gridYMm = m_gridY->value();
    o.keyGridXMm = m_keyGridX->value();
    o.keyGridYMm = m_keyGridY->value();
    if (m_mm->isChecked())
        o.unit = DesignUnit::Mm;
    else if (m_inches->isChecked())
        o.unit = DesignUnit::Inches;
    else if (m_chars->isChecked())
        o.unit = DesignUnit::Characters;
    o.showGrid = m_showGrid->isChecked();
    return o;
}

} // namespace qx7
