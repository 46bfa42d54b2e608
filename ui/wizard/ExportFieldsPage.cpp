#include "ui/wizard/ExportFieldsPage.h"

#include "convert/normalize/FieldCodes.h"
#include "ui/wizard/TextLayoutControls.h"
#include "ui/wizard/TQXToolsDateForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <filesystem>

namespace qx7 {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kSeparatorCodes[] = {9, 59, 44, 0};

QRadioButton* radio(const QString& text, const char* name)
{
    auto* r = new QRadioButton(text);
    r->setObjectName(QLatin1String(name));
    return r;
}

} // namespace

ExportFieldsPage::ExportFieldsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ExportFieldsPage"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(
        tr("Specify, which fields you want to export by checking the fields in the list box.")));
    v->addWidget(new QLabel(tr("The field order can be changed by dragging particular fields.")));
    auto* middle = new QHBoxLayout;
    m_fields = new QListWidget;
    m_fields->setObjectName(QStringLiteral("FieldCheckListBox"));
    m_fields->setDragDropMode(QAbstractItemView::InternalMove);
    m_fields->setDefaultDropAction(Qt::MoveAction);
    middle->addWidget(m_fields, 2);

    auto* options = new QVBoxLayout;
    const TextTypeChoice textType = makeTextTypeChoice();
    m_textType = textType.box;
    m_delimited = textType.delimited;
    m_fixed = textType.fixed;
    options->addWidget(m_textType);
    m_separatorBox = new QGroupBox(tr("Separator"));
    m_separatorBox->setObjectName(QStringLiteral("SeparatorGroupBox"));
    auto* s = new QGridLayout(m_separatorBox);
    m_separators[0] = radio(tr("Tab"), "TabRadio");
    m_separators[1] = radio(tr("Semicolon (;)"), "SemicolonRadio");
    m_separators[2] = radio(tr("Comma (,)"), "CommaRadio");
    m_separators[3] = radio(tr("None"), "NoneRadio");
    for (int i = 0; i < 4; ++i)
        s->addWidget(m_separators[i], i / 2, i % 2);
    options->addWidget(m_separatorBox);
    m_qualifier = addQualifierRow(options);
    m_header = new QCheckBox(tr("Field names h&eader"));
    m_header->setObjectName(QStringLiteral("HeaderRowCheckBox"));
    options->addWidget(m_header);
    m_bandBox = new QGroupBox(tr("Band information:"));
    m_bandBox->setObjectName(QStringLiteral("BandRadioGroup"));
    auto* b = new QHBoxLayout(m_bandBox);
    m_bandMetres = radio(tr("Band in m"), "BandInMetresRadio");
    m_bandMhz = radio(tr("Freq in MHz"), "FreqInMhzRadio");
    b->addWidget(m_bandMetres);
    b->addWidget(m_bandMhz);
    options->addWidget(m_bandBox);
    auto* dateRow = new QHBoxLayout;
    m_dateButton = new QPushButton(tr("D&ate format..."));
    m_dateButton->setObjectName(QStringLiteral("DateFormatButton"));
    m_datePanel = new QLabel;
    m_datePanel->setObjectName(QStringLiteral("DateFormatPanel"));
    m_datePanel->setFrameShape(QFrame::Panel);
    m_datePanel->setFrameShadow(QFrame::Sunken);
    m_datePanel->setMinimumWidth(100);
    dateRow->addWidget(m_dateButton);
    dateRow->addWidget(m_datePanel);
    dateRow->addStretch();
    options->addLayout(dateRow);
    options->addStretch();
    middle->addLayout(options, 3);
    v->addLayout(middle, 1);

    auto* row = new QHBoxLayout;
    auto* back = new QPushButton(tr("<< &Back"));
    back->setObjectName(QStringLiteral("OutputSpecBackButton"));
    auto* start = new QPushButton(tr("&Start Conversion"));
    start->setObjectName(QStringLiteral("OutputSpecStartButton"));
    row->addWidget(back);
    row->addStretch();
    row->addWidget(start);
    v->addLayout(row);
    connect(back, &QPushButton::clicked, this, &ExportFieldsPage::backRequested);
    connect(start, &QPushButton::clicked, this, &ExportFieldsPage::startRequested);
    connect(m_dateButton, &QPushButton::clicked, this, [this] { editDateFormat(); });
}

void ExportFieldsPage::load(const std::string& userFolder, int logType)
{
    m_type = logType;
    m_path = (std::filesystem::path(userFolder) / outputSpecFileName(logType)).string();
    const OutputSpecOptions o = readOutputSpec(m_path);
    m_fields->clear();
    for (const auto& [key, on] : o.fields) {
        const int n = importFieldNumber(key);
        auto* item = new QListWidgetItem(
            QString::fromStdString(std::string(kImportFields[static_cast<size_t>(n)].displayName)),
            m_fields);
        item->setData(kKeyRole, QString::fromStdString(key));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsDragEnabled);
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    (o.textType == 1 ? m_fixed : m_delimited)->setChecked(true);
    int sep = 1;
    for (int i = 0; i < 4; ++i)
        if (kSeparatorCodes[i] == o.delimiter)
            sep = i;
    m_separators[sep]->setChecked(true);
    showQualifier(m_qualifier, o.qualifier);
    m_header->setChecked(o.headerRows == 1);
    (o.bandOrMHz == 1 ? m_bandMhz : m_bandMetres)->setChecked(true);
    m_dateFormat = QString::fromStdString(o.dateFormat);
    m_datePanel->setText(m_dateFormat);
    // The text options belong to the two text layouts; XML writes dates as they are.
    const bool text = logType == 19 || logType == 20;
    for (QWidget* w : {static_cast<QWidget*>(m_textType), static_cast<QWidget*>(m_separatorBox),
                       static_cast<QWidget*>(m_qualifier), static_cast<QWidget*>(m_header),
                       static_cast<QWidget*>(m_bandBox)})
        w->setVisible(text);
    m_dateButton->setVisible(logType != 46);
    m_datePanel->setVisible(logType != 46);
}

OutputSpecOptions ExportFieldsPage::options() const
{
    OutputSpecOptions o;
    o.dateFormat = m_dateFormat.isEmpty() ? std::string("yyyymmdd") : m_dateFormat.toStdString();
    o.bandOrMHz = m_bandMhz->isChecked() ? 1 : 0;
    o.textType = m_fixed->isChecked() ? 1 : 0;
    for (int i = 0; i < 4; ++i)
        if (m_separators[i]->isChecked())
            o.delimiter = kSeparatorCodes[i];
    o.qualifier = qualifierOf(m_qualifier);
    o.headerRows = m_header->isChecked() ? 1 : 0;
    for (int i = 0; i < m_fields->count(); ++i) {
        const QListWidgetItem* item = m_fields->item(i);
        o.fields.emplace_back(item->data(kKeyRole).toString().toStdString(),
                              item->checkState() == Qt::Checked);
    }
    return o;
}

bool ExportFieldsPage::save() const
{
    return !m_path.empty() && writeOutputSpec(m_path, options());
}

void ExportFieldsPage::editDateFormat()
{
    m_dateFormat = TQXToolsDateForm::edit(m_dateFormat, this);
    m_datePanel->setText(m_dateFormat);
}

} // namespace qx7
