#include "config/PrintFormatPages.h"

#include "core/BandModeTables.h"
#include "core/DateFormat.h"
#include "core/IniFile.h"
#include "core/Text.h"
#include "datamodule/TQXDM.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTableWidget>

namespace qx7 {

namespace {

QLineEdit* limitedEdit(QWidget* parent, int length, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setMaxLength(length);
    e->setMaximumWidth(160);
    return e;
}

} // namespace

DatePage::DatePage(QWidget* parent) : ConfigPage(QStringLiteral("config05"), parent)
{
    setObjectName(QStringLiteral("datePage"));
    m_presets = new QComboBox(this);
    m_presets->setObjectName(QStringLiteral("datePresetCombo"));
    m_presets->addItems({tr("User defined"), tr("Windows Short Date Format"), tr("Default")});
    m_format = new QLineEdit(this);
    m_format->setObjectName(QStringLiteral("dateFormatEdit"));
    m_sample = new QLabel(this);
    m_sample->setObjectName(QStringLiteral("dateSampleLabel"));
    auto* form = new QFormLayout;
    form->addRow(tr("Date format:"), m_format);
    form->addRow(tr("Preset:"), m_presets);
    form->addRow(tr("Sample:"), m_sample);
    box()->addLayout(form);
    auto* letters = new QLabel(
        tr("d: day as a number without a leading zero\ndd: with a leading zero (1-31)\n"
           "ddd: day as an abbreviation (Sun-Sat)\ndddd: day with full name\n"
           "mm: month as a number with a leading zero\nmmm: as abbreviation (Jan-Dec)\n"
           "mmmm: month as a full name (January...)\nyy: year with two digits (00-99)\n"
           "yyyy: as a four-digit number (0000-9999)\nc: Windows system short date format\n\n"
           "Examples: yyyy-mm-dd,   mm.dd.yy,   yyyy mmm dd"),
        this);
    box()->addWidget(letters);
    watch(m_format);
    connect(m_format, &QLineEdit::textChanged, this, &DatePage::showSample);
    connect(m_presets, &QComboBox::activated, this, [this](int item) {
        const QString formats[] = {m_held, QStringLiteral("c"), QStringLiteral("yyyy-mm-dd")};
        m_format->setText(formats[item]);
        emit changed();
    });
}

void DatePage::showSample()
{
    const QDate today = QDate::currentDate();
    Date d;
    d.year = today.year();
    d.month = today.month();
    d.day = today.day();
    m_sample->setText(QLatin1Char(' ') +
                      QString::fromStdString(formatDateTime(m_format->text().toStdString(), d)));
}

void DatePage::load(const TQXDM& dm, const IniFile&)
{
    m_held = QString::fromStdString(dm.LabelDateFormat);
    m_presets->setCurrentIndex(0);
    m_format->setText(m_held);
}

QString DatePage::problem() const
{
    return m_format->text().trimmed().isEmpty() ? tr("Please enter a date format.") : QString();
}

void DatePage::apply(TQXDM& dm) const
{
    dm.LabelDateFormat = m_format->text().toStdString();
}

void DatePage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeString("Print", "LabelDateFormat", dm.LabelDateFormat);
}

OtherFormatsPage::OtherFormatsPage(QWidget* parent) : ConfigPage(QStringLiteral("config06"), parent)
{
    setObjectName(QStringLiteral("otherFormatsPage"));
    m_time = addRadioGroup(tr(" &Time "),
                           {tr("Time with separator, for example 23:59"),
                            tr("Time without separator, for example 2359")},
                           "labelTimeFormat");
    m_pse = limitedEdit(this, 6, "pseTextEdit");
    m_tnx = limitedEdit(this, 6, "tnxTextEdit");
    m_manager = limitedEdit(this, 16, "managerTextEdit");
    auto* form = new QFormLayout;
    form->addRow(tr("PSE QSL flag text"), m_pse);
    form->addRow(tr("TNX QSL flag text"), m_tnx);
    form->addRow(tr("Manager text"), m_manager);
    box()->addLayout(form);
    for (QLineEdit* e : {m_pse, m_tnx, m_manager})
        watch(e);
    m_dashes = addCheck(tr("Fill empty QSO lines on the label with dashes"), "fillDashesCheck");
}

void OtherFormatsPage::load(const TQXDM& dm, const IniFile&)
{
    if (auto* b = m_time->button(dm.LabelTimeFormat == 1 ? 1 : 0))
        b->setChecked(true);
    m_pse->setText(QString::fromStdString(dm.PseText));
    m_tnx->setText(QString::fromStdString(dm.TnxText));
    m_manager->setText(QString::fromStdString(dm.ManagerText));
    m_dashes->setChecked(dm.FillDashes);
}

void OtherFormatsPage::apply(TQXDM& dm) const
{
    dm.LabelTimeFormat = m_time->checkedId() == 1 ? 1 : 0;
    dm.PseText = m_pse->text().toStdString();
    dm.TnxText = m_tnx->text().toStdString();
    dm.ManagerText = m_manager->text().toStdString();
    dm.FillDashes = m_dashes->isChecked();
}

void OtherFormatsPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeInteger("Print", "LabelTimeFormat", dm.LabelTimeFormat);
    ini.writeString("Print", "PseText", dm.PseText);
    ini.writeString("Print", "TnxText", dm.TnxText);
    ini.writeString("Print", "ManagerText", dm.ManagerText);
    ini.writeBool("Print", "FillDashes", dm.FillDashes);
}

FrequencyPage::FrequencyPage(QWidget* parent) : ConfigPage(QStringLiteral("config15"), parent)
{
    setObjectName(QStringLiteral("frequencyPage"));
    m_choice =
        addRadioGroup(tr(" Print Ba&nd or Frequency "),
                      {tr("Band in m, for example 80m"), tr("Frequency in MHz, for example 3.5")},
                      "labelBandFormat");
    box()->addWidget(new QLabel(tr("Frequencies:"), this));
    m_table = new QTableWidget(0, 2, this);
    m_table->setObjectName(QStringLiteral("frequencyTable"));
    m_table->setHorizontalHeaderLabels({tr("Band"), tr("Frequency")});
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(20);
    m_table->horizontalHeader()->setStretchLastSection(true);
    box()->addWidget(m_table, 1);
    watch(m_table);
}

void FrequencyPage::load(const TQXDM& dm, const IniFile&)
{
    if (auto* b = m_choice->button(dm.LabelBandFormat == 1 ? 1 : 0))
        b->setChecked(true);
    const QSignalBlocker quiet(m_table);
    m_table->setRowCount(static_cast<int>(dm.BandFrequencyTexts.size()));
    int row = 0;
    for (const std::string& line : dm.BandFrequencyTexts) {
        const QString text = QString::fromStdString(line);
        const qsizetype eq = text.indexOf(u'=');
        auto* band = new QTableWidgetItem(text.left(eq));
        band->setFlags(band->flags() & ~Qt::ItemIsEditable);
        m_table->setItem(row, 0, band);
        m_table->setItem(row, 1, new QTableWidgetItem(eq < 0 ? QString() : text.mid(eq + 1)));
        ++row;
    }
}

void FrequencyPage::apply(TQXDM& dm) const
{
    dm.LabelBandFormat = m_choice->checkedId() == 1 ? 1 : 0;
    dm.BandFrequencyTexts.clear();
    for (int r = 0; r < m_table->rowCount(); ++r)
        dm.BandFrequencyTexts.push_back(
            (m_table->item(r, 0)->text() + u'=' + m_table->item(r, 1)->text()).toStdString());
}

void FrequencyPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeInteger("Print", "LabelBandFormat", dm.LabelBandFormat);
    for (const std::string& line : dm.BandFrequencyTexts) {
        const auto eq = line.find('=');
        ini.writeString("FreqFormats", line.substr(0, eq),
                        eq == std::string::npos ? "" : line.substr(eq + 1));
    }
}

SlashedZeroPage::SlashedZeroPage(QWidget* parent) : ConfigPage(QStringLiteral("config07"), parent)
{
    setObjectName(QStringLiteral("slashedZeroPage"));
    m_code = new QComboBox(this);
    m_code->setObjectName(QStringLiteral("slashedZeroCombo"));
    m_code->setEditable(true);
    m_code->addItems({QStringLiteral("216"), QStringLiteral("232"), QStringLiteral("248")});
    m_code->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
    m_code->setMaximumWidth(90);
    m_character = new QLabel(this);
    m_character->setObjectName(QStringLiteral("slashedZeroCharacter"));
    m_font = new QComboBox(this);
    m_font->setObjectName(QStringLiteral("zeroFontCombo"));
    m_font->addItems(QFontDatabase::families());
    // "Arial" where the system has it, else the font the windows use.
    const QString arial = QStringLiteral("Arial");
    m_font->setCurrentText(QFontDatabase::families().contains(arial) ? arial : font().family());
    m_grid = new QTableWidget(14, 16, this);
    m_grid->setObjectName(QStringLiteral("characterGrid"));
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setDefaultSectionSize(24);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    const int frame = 2 * m_grid->frameWidth();
    m_grid->setFixedSize(16 * 24 + frame, 14 * 20 + frame);
    fillGrid();
    auto* form = new QFormLayout;
    form->addRow(tr("Slashed &Zero ASCII Character:"), m_code);
    form->addRow(tr("&Font:"), m_font);
    form->addRow(tr("Character:"), m_character);
    box()->addLayout(form);
    box()->addWidget(m_grid);
    watch(m_code);
    // The font only serves the display: it is not a setting.
    connect(m_font, &QComboBox::currentTextChanged, this, &SlashedZeroPage::fillGrid);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        m_code->setEditText(QString::number(row * 16 + column + 32));
        settle();
        emit changed();
    });
    connect(m_code, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        bool ok = false;
        const int code = text.toInt(&ok);
        if (ok && code >= 32 && code <= 255)
            showCharacter(code);
    });
    connect(m_code->lineEdit(), &QLineEdit::editingFinished, this, &SlashedZeroPage::settle);
}

void SlashedZeroPage::fillGrid()
{
    QFont font(m_font->currentText());
    for (int code = 32; code <= 255; ++code) {
        const char byte = static_cast<char>(code);
        auto* item =
            new QTableWidgetItem(QString::fromStdString(cp1252ToUtf8(std::string_view(&byte, 1))));
        item->setTextAlignment(Qt::AlignCenter);
        item->setFont(font);
        m_grid->setItem((code - 32) / 16, (code - 32) % 16, item);
    }
    m_character->setFont([&] {
        QFont big = font;
        big.setPointSize(font.pointSize() * 3);
        return big;
    }());
}

void SlashedZeroPage::showCharacter(int code)
{
    m_grid->setCurrentCell((code - 32) / 16, (code - 32) % 16);
    // The code is a Windows-1252 character, as the label printer sees it.
    const char byte = static_cast<char>(code);
    m_character->setText(QString::fromStdString(cp1252ToUtf8(std::string_view(&byte, 1))));
}

void SlashedZeroPage::settle()
{
    bool ok = false;
    const int code = m_code->currentText().toInt(&ok);
    if (!ok || code < 32 || code > 255)
        m_code->setEditText(QString::number(m_inUse));
    showCharacter(m_code->currentText().toInt());
}

void SlashedZeroPage::load(const TQXDM& dm, const IniFile&)
{
    m_inUse = dm.SlashedZero;
    m_code->setEditText(QString::number(m_inUse));
    showCharacter(m_inUse);
}

void SlashedZeroPage::apply(TQXDM& dm) const
{
    bool ok = false;
    const int code = m_code->currentText().toInt(&ok);
    dm.SlashedZero = ok && code >= 32 && code <= 255 ? code : m_inUse;
}

void SlashedZeroPage::write(const TQXDM& dm, IniFile& ini) const
{
    ini.writeInteger("System", "SlashedZero", dm.SlashedZero);
}

} // namespace qx7
