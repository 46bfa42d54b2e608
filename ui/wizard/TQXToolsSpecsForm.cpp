#include "ui/wizard/TQXToolsSpecsForm.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/specs/ImportSpecFile.h"
#include "core/IniFile.h"
#include "core/Prompter.h"
#include "core/Text.h"
#include "datamodule/TQXDM.h"
#include "dbase/Table.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/wizard/BreaksPaintBox.h"
#include "ui/wizard/TextLayoutControls.h"
#include "ui/wizard/TQXToolsBandForm.h"
#include "ui/wizard/TQXToolsDateForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace qx7 {

namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

QPushButton* button(const QString& text, const char* name)
{
    auto* b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false); // Enter in the name edit must not press Help
    return b;
}

// The separators offered, in the order of their radio buttons; the last is "Other".
constexpr char kSeparators[] = {'\t', ';', ',', ' ', '\0'};

QString displayName(const std::string& key)
{
    const int n = importFieldNumber(key);
    return n < 0 ? QStringLiteral("- none -")
                 : q(std::string(kImportFields[static_cast<size_t>(n)].displayName));
}

QString explanation(SpecKind kind)
{
    return kind == SpecKind::Dbase
               ? QStringLiteral("If you import a dBase file for the first time, enter a new "
                                "import specification name.")
               : QStringLiteral("If you import an ASCII or CSV file for the first time, enter "
                                "a new import specification name.");
}

} // namespace

TQXToolsSpecsForm::TQXToolsSpecsForm(TQXDM& dm, SpecKind kind, TQXLogSpec& spec, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_kind(kind), m_spec(spec)
{
    setObjectName(QStringLiteral("TQXToolsSpecsForm"));
    setWindowTitle(tr("ASCII and CSV File Import Specifications") + QStringLiteral(" [") +
                   q(spec.FileName) + QStringLiteral("]"));
    m_draft.dateFormat = spec.DateFormat;
    m_draft.bandMode = spec.BandMode;
    if (kind == SpecKind::Text)
        m_draft.loadSample(spec.FileName);
    else
        loadDbaseSample();

    m_pages = new QStackedWidget;
    m_pages->addWidget(buildNamePage());
    m_pages->addWidget(buildTextTypePage());
    m_pages->addWidget(buildColumnsPage());
    m_pages->addWidget(buildMappingPage());
    auto* v = new QVBoxLayout(this);
    v->addWidget(m_pages);
    auto* row = new QHBoxLayout;
    auto* help = button(tr("&Help"), "HelpButton");
    m_back = button(tr("<< &Back"), "BackButton");
    m_next = button(tr("&Next step >>"), "NextButton");
    m_ok = button(tr("&OK"), "OKButton");
    m_next->setDefault(true);
    auto* cancel = button(tr("&Cancel"), "CancelButton");
    row->addWidget(help);
    row->addStretch();
    for (QPushButton* b : {m_back, m_next, m_ok, cancel})
        row->addWidget(b);
    v->addLayout(row);
    connect(help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kImportSpecs), this); });
    connect(m_back, &QPushButton::clicked, this, [this] { previousStep(); });
    connect(m_next, &QPushButton::clicked, this, [this] { nextStep(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { save(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

    // A log that has its specification already, or the name last used, starts from it.
    if (spec.HasSpec && !spec.FieldMap.empty()) {
        m_name->setText(q(spec.SpecName));
        if (kind == SpecKind::Text)
            m_draft.loadFrom(spec);
        else
            loadSpec(q(spec.SpecName));
    } else if (!spec.SpecName.empty()) {
        m_name->setText(q(spec.SpecName));
        nameEdited();
    }
    showOptions();
    showStep(NameStep);
    resize(760, 560);
}

// ---------------------------------------------------------------- pages

QWidget* TQXToolsSpecsForm::buildNamePage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* title = new QLabel(tr("Specifications"));
    title->setStyleSheet(QStringLiteral("font-weight: bold"));
    v->addWidget(title);
    auto* text = new QLabel(explanation(m_kind));
    text->setWordWrap(true);
    v->addWidget(text);
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("SpecNameEdit"));
    auto* label = new QLabel(tr("Specification &name:"));
    label->setBuddy(m_name);
    v->addWidget(label);
    v->addWidget(m_name);
    m_specs = new QListWidget;
    m_specs->setObjectName(QStringLiteral("SpecsListBox"));
    for (const std::string& name : listImportSpecs(m_dm.QXUserPath, m_kind))
        m_specs->addItem(q(name));
    v->addWidget(new QLabel(tr("Existing specifications:")));
    v->addWidget(m_specs);
    connect(m_name, &QLineEdit::textChanged, this, [this] { updateButtons(); });
    connect(m_name, &QLineEdit::editingFinished, this, [this] { nameEdited(); });
    connect(m_specs, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        m_name->setText(item->text());
        loadSpec(item->text());
    });
    return page;
}

QWidget* TQXToolsSpecsForm::buildTextTypePage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    m_sampleView = new QPlainTextEdit;
    m_sampleView->setObjectName(QStringLiteral("SampleMemo"));
    m_sampleView->setReadOnly(true);
    m_sampleView->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_sampleView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QString sample;
    for (const std::string& line : m_draft.sample())
        sample += q(line) + QLatin1Char('\n');
    m_sampleView->setPlainText(sample);
    v->addWidget(m_sampleView, 1);

    auto* options = new QHBoxLayout;
    const TextTypeChoice textType = makeTextTypeChoice();
    QGroupBox* typeBox = textType.box;
    QVBoxLayout* t = textType.layout;
    m_delimited = textType.delimited;
    m_fixed = textType.fixed;
    m_qualifier = addQualifierRow(t);
    m_captions = new QCheckBox(tr("File has header &row"));
    m_captions->setObjectName(QStringLiteral("CaptionsCheckBox"));
    t->addWidget(m_captions);
    auto* analyze = button(tr("&Analyze file"), "AnalyzeFileButton");
    t->addWidget(analyze);
    t->addStretch();
    options->addWidget(typeBox, 3);

    auto* sepBox = new QGroupBox(tr("Separator"));
    sepBox->setObjectName(QStringLiteral("SeparatorGroupBox"));
    auto* s = new QGridLayout(sepBox);
    const QString texts[] = {tr("Tab"),   tr("Semicolon (;)"), tr("Comma (,)"),
                             tr("Space"), tr("None"),          tr("Other symbol:")};
    const char* names[] = {"TabRadio",   "SemicolonRadio", "CommaRadio",
                           "SpaceRadio", "NoneRadio",      "OtherRadio"};
    for (int i = 0; i < 6; ++i) {
        m_separators[i] = new QRadioButton(texts[i]);
        m_separators[i]->setObjectName(QLatin1String(names[i]));
        s->addWidget(m_separators[i], i, 0);
        connect(m_separators[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                optionsChanged();
        });
    }
    m_symbol = new QLineEdit;
    m_symbol->setObjectName(QStringLiteral("SymbolEdit"));
    m_symbol->setMaxLength(1);
    m_symbol->setMaximumWidth(40);
    s->addWidget(m_symbol, 5, 1);
    options->addWidget(sepBox, 2);
    v->addLayout(options);

    connect(m_delimited, &QRadioButton::toggled, this, [this] { optionsChanged(); });
    connect(m_qualifier, &QComboBox::currentIndexChanged, this, [this] { optionsChanged(); });
    connect(m_captions, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    connect(m_symbol, &QLineEdit::textEdited, this, [this] {
        // Typing a symbol chooses "Other symbol:".
        m_separators[5]->setChecked(true);
        optionsChanged();
    });
    connect(analyze, &QPushButton::clicked, this, [this] { analyzeFile(); });
    return page;
}

QWidget* TQXToolsSpecsForm::buildColumnsPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    m_columnsHint = new QLabel;
    m_columnsHint->setObjectName(QStringLiteral("ColumnsHintLabel"));
    m_columnsHint->setWordWrap(true);
    v->addWidget(m_columnsHint);
    m_columnViews = new QStackedWidget;
    m_csvGrid = new QTableWidget;
    m_csvGrid->setObjectName(QStringLiteral("CsvStringGrid"));
    m_csvGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_csvGrid->verticalHeader()->setDefaultSectionSize(20);
    m_columnViews->addWidget(m_csvGrid);
    m_breaks = new BreaksPaintBox(m_draft);
    auto* scroll = new QScrollArea;
    scroll->setWidget(m_breaks);
    scroll->setWidgetResizable(true);
    m_columnViews->addWidget(scroll);
    v->addWidget(m_columnViews, 1);
    // Other breaks are other columns: their fields are proposed anew.
    connect(m_breaks, &BreaksPaintBox::breaksChanged, this, [this] {
        m_draft.resetFields();
        updateButtons();
    });
    return page;
}

QWidget* TQXToolsSpecsForm::buildMappingPage()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* title = new QLabel(tr("Field Mapping"));
    title->setStyleSheet(QStringLiteral("font-weight: bold"));
    v->addWidget(title);
    m_mapGrid = new QTableWidget(0, 3);
    m_mapGrid->setObjectName(QStringLiteral("MapStringGrid"));
    m_mapGrid->setHorizontalHeaderLabels(
        {tr("Source field values"), tr("Source field names"), tr("Assign to QX field")});
    m_mapGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_mapGrid->verticalHeader()->setDefaultSectionSize(20);
    m_mapGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_mapGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_mapGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->addWidget(m_mapGrid, 1);
    auto* row = new QHBoxLayout;
    m_fields = new QComboBox;
    m_fields->setObjectName(QStringLiteral("FieldsComboBox"));
    m_fields->addItem(QStringLiteral("- none -"), QStringLiteral("nil"));
    for (const ImportFieldName& f : kImportFields)
        m_fields->addItem(q(std::string(f.displayName)), q(std::string(f.key)));
    auto* fieldLabel = new QLabel(tr("Assign to QX &field:"));
    fieldLabel->setBuddy(m_fields);
    m_dateButton = button(tr("&Date format..."), "DateFormatButton");
    m_bandButton = button(tr("&Band/freq field..."), "BandFormatButton");
    row->addWidget(fieldLabel);
    row->addWidget(m_fields);
    row->addStretch();
    row->addWidget(m_dateButton);
    row->addWidget(m_bandButton);
    v->addLayout(row);
    m_formatInfo = new QLabel;
    m_formatInfo->setObjectName(QStringLiteral("FormatInfoLabel"));
    v->addWidget(m_formatInfo);
    connect(m_mapGrid, &QTableWidget::currentCellChanged, this, [this] { mappingRowChanged(); });
    connect(m_fields, &QComboBox::activated, this, [this](int index) { fieldChosen(index); });
    connect(m_dateButton, &QPushButton::clicked, this, [this] { editDateFormat(); });
    connect(m_bandButton, &QPushButton::clicked, this, [this] { editBandMode(); });
    return page;
}

// ---------------------------------------------------------------- steps

TQXToolsSpecsForm::Step TQXToolsSpecsForm::step() const
{
    return static_cast<Step>(m_pages->currentIndex());
}

void TQXToolsSpecsForm::showStep(Step step)
{
    if (step == ColumnsStep)
        refreshColumns();
    if (step == MappingStep)
        refreshMapping();
    m_pages->setCurrentIndex(step);
    updateButtons();
}

void TQXToolsSpecsForm::nextStep()
{
    if (m_name->text().trimmed().isEmpty())
        return;
    if (step() == NameStep)
        nameEdited();
    if (m_kind == SpecKind::Dbase || step() == ColumnsStep)
        showStep(MappingStep);
    else if (step() == NameStep)
        showStep(TextTypeStep);
    else if (step() == TextTypeStep) {
        if (m_draft.textType == 1 && m_draft.breaks().empty())
            m_draft.guessBreaks();
        showStep(ColumnsStep);
    }
}

void TQXToolsSpecsForm::previousStep()
{
    if (m_kind == SpecKind::Dbase || step() == TextTypeStep)
        showStep(NameStep);
    else if (step() > NameStep)
        showStep(static_cast<Step>(step() - 1));
}

void TQXToolsSpecsForm::updateButtons()
{
    const bool named = !m_name->text().trimmed().isEmpty();
    m_back->setEnabled(step() != NameStep);
    m_next->setEnabled(named && step() != MappingStep);
    m_ok->setEnabled(named && mappingIsComplete(mappedKeys()));
    const std::vector<std::string> keys = mappedKeys();
    m_dateButton->setEnabled(std::find(keys.begin(), keys.end(), "DATE") != keys.end());
    const int mode = m_draft.bandMode;
    m_formatInfo->setText(
        tr("Date format: %1    Band/freq field: %2")
            .arg(m_draft.dateFormat.empty() ? tr("(none)") : q(m_draft.dateFormat))
            .arg(mode == 0   ? tr("band only (m)")
                 : mode == 1 ? tr("frequency only (MHz)")
                             : tr("band or frequency")));
}

// ---------------------------------------------------------------- name and loading

void TQXToolsSpecsForm::nameEdited()
{
    const QString name = m_name->text().trimmed();
    for (int i = 0; i < m_specs->count(); ++i)
        if (m_specs->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) {
            m_specs->setCurrentRow(i);
            m_name->setText(m_specs->item(i)->text());
            loadSpec(m_specs->item(i)->text());
            return;
        }
}

void TQXToolsSpecsForm::loadSpec(const QString& name)
{
    const IniFile file(importSpecPath(m_dm.QXUserPath, name.toStdString(), m_kind));
    if (!file.existedOnLoad())
        return;
    TQXLogSpec stored = m_spec;
    readImportSpec(file, m_kind, stored);
    if (m_kind == SpecKind::Text)
        m_draft.loadFrom(stored);
    else {
        m_draft.dateFormat = stored.DateFormat;
        m_draft.bandMode = stored.BandMode;
        m_dbfKeys.assign(m_dbfFields.size(), "nil");
        for (const std::string& line : stored.FieldMap) {
            const size_t eq = line.find('=');
            const std::string field = toUpperAscii(trimmed(line.substr(0, eq)));
            for (size_t i = 0; i < m_dbfFields.size(); ++i)
                if (eq != std::string::npos && m_dbfFields[i] == field)
                    m_dbfKeys[i] = line.substr(eq + 1).empty() ? "nil" : line.substr(eq + 1);
        }
    }
    showOptions();
    updateButtons();
}

void TQXToolsSpecsForm::loadDbaseSample()
{
    try {
        dbase::Table table;
        table.open(m_spec.FileName, {dbase::OpenMode::ReadOnly, {}});
        table.first();
        for (int i = 0; i < table.fieldCount(); ++i) {
            m_dbfFields.push_back(toUpperAscii(table.fields()[static_cast<size_t>(i)].name));
            m_dbfValues.push_back(table.eof() ? std::string() : table.text(i));
        }
    } catch (const dbase::Error&) {
        m_dm.prompter().error("Cannot read the dBase file " + m_spec.FileName);
    }
    // The same guesses as for text columns, from the field names and the first record.
    m_dbfKeys.assign(m_dbfFields.size(), "nil");
    for (size_t i = 0; i < m_dbfFields.size(); ++i) {
        const std::string key = guessFieldKey(m_dbfFields[i], {m_dbfValues[i]}, m_dbfKeys);
        if (key.empty())
            continue;
        m_dbfKeys[i] = key;
        if (key == "DATE" && m_draft.dateFormat.empty())
            m_draft.dateFormat = guessDateFormat({m_dbfValues[i]});
    }
}

// ---------------------------------------------------------------- text options

void TQXToolsSpecsForm::showOptions()
{
    if (m_kind != SpecKind::Text)
        return;
    m_showing = true;
    (m_draft.textType == 1 ? m_fixed : m_delimited)->setChecked(true);
    int sep = 5;
    for (int i = 0; i < 5; ++i)
        if (kSeparators[i] == m_draft.delimiter)
            sep = i;
    m_separators[sep]->setChecked(true);
    m_symbol->setText(sep == 5 ? QString(QLatin1Char(m_draft.delimiter)) : QString());
    showQualifier(m_qualifier, m_draft.qualifier);
    m_captions->setChecked(m_draft.headerRow);
    m_showing = false;
}

void TQXToolsSpecsForm::optionsChanged()
{
    if (m_showing)
        return;
    const int textType = m_fixed->isChecked() ? 1 : 0;
    const bool otherColumns = textType != m_draft.textType;
    m_draft.textType = textType;
    for (int i = 0; i < 6; ++i)
        if (m_separators[i]->isChecked())
            m_draft.delimiter = i < 5 ? kSeparators[i]
                                : m_symbol->text().isEmpty()
                                    ? '\0'
                                    : static_cast<char>(m_symbol->text().at(0).toLatin1());
    m_draft.qualifier = qualifierOf(m_qualifier);
    m_draft.headerRow = m_captions->isChecked();
    if (otherColumns) {
        if (textType == 1 && m_draft.breaks().empty())
            m_draft.guessBreaks();
        m_draft.resetFields();
    }
    updateButtons();
}

void TQXToolsSpecsForm::analyzeFile()
{
    m_draft.analyze();
    showOptions();
    updateButtons();
}

void TQXToolsSpecsForm::refreshColumns()
{
    const bool fixed = m_draft.textType == 1;
    m_columnViews->setCurrentIndex(fixed ? 1 : 0);
    m_columnsHint->setText(
        fixed ? tr("Fixed File Type: click to set a field break, drag a break to move it, "
                   "double-click a break to delete it.")
              : tr("Delimited File Type: the first lines of the file, split into columns."));
    if (fixed) {
        m_breaks->updateGeometry();
        m_breaks->update();
        return;
    }
    const auto names = m_draft.columnNames();
    const auto rows = m_draft.rows();
    m_csvGrid->clear();
    m_csvGrid->setColumnCount(static_cast<int>(names.size()));
    m_csvGrid->setRowCount(static_cast<int>(rows.size()));
    QStringList headers;
    for (const std::string& n : names)
        headers << q(n);
    m_csvGrid->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(names.size()); ++c)
            m_csvGrid->setItem(
                r, c,
                new QTableWidgetItem(q(rows[static_cast<size_t>(r)][static_cast<size_t>(c)])));
}

// ---------------------------------------------------------------- mapping

std::vector<std::string> TQXToolsSpecsForm::mappedKeys() const
{
    return m_kind == SpecKind::Text ? m_draft.keys() : m_dbfKeys;
}

void TQXToolsSpecsForm::refreshMapping()
{
    const int keep = std::max(0, m_mapGrid->currentRow());
    std::vector<std::string> values, names;
    if (m_kind == SpecKind::Text) {
        names = m_draft.columnNames();
        const auto rows = m_draft.rows();
        values = rows.empty() ? std::vector<std::string>(names.size()) : rows.front();
    } else {
        names = m_dbfFields;
        values = m_dbfValues;
    }
    const std::vector<std::string> keys = mappedKeys();
    const QSignalBlocker block(m_mapGrid);
    m_mapGrid->setRowCount(static_cast<int>(names.size()));
    for (int r = 0; r < static_cast<int>(names.size()); ++r) {
        const auto i = static_cast<size_t>(r);
        m_mapGrid->setItem(r, 0, new QTableWidgetItem(q(i < values.size() ? values[i] : "")));
        m_mapGrid->setItem(r, 1, new QTableWidgetItem(q(names[i])));
        m_mapGrid->setItem(r, 2, new QTableWidgetItem(displayName(i < keys.size() ? keys[i] : "")));
    }
    if (m_mapGrid->rowCount() > 0)
        m_mapGrid->setCurrentCell(std::min(keep, m_mapGrid->rowCount() - 1), 2);
    mappingRowChanged();
    updateButtons();
}

void TQXToolsSpecsForm::mappingRowChanged()
{
    const int row = m_mapGrid->currentRow();
    const std::vector<std::string> keys = mappedKeys();
    const std::string key = row >= 0 && row < static_cast<int>(keys.size())
                                ? keys[static_cast<size_t>(row)]
                                : std::string("nil");
    const int index = m_fields->findData(q(key));
    m_fields->setCurrentIndex(index >= 0 ? index : 0);
    m_fields->setEnabled(row >= 0);
}

void TQXToolsSpecsForm::fieldChosen(int index)
{
    const int row = m_mapGrid->currentRow();
    if (row < 0 || index < 0)
        return;
    const std::string key = m_fields->itemData(index).toString().toStdString();
    if (m_kind == SpecKind::Text)
        m_draft.setKey(static_cast<size_t>(row), key);
    else if (static_cast<size_t>(row) < m_dbfKeys.size())
        m_dbfKeys[static_cast<size_t>(row)] = key;
    m_mapGrid->item(row, 2)->setText(displayName(key));
    updateButtons();
}

void TQXToolsSpecsForm::editDateFormat()
{
    m_draft.dateFormat = TQXToolsDateForm::edit(q(m_draft.dateFormat), this).toStdString();
    updateButtons();
}

void TQXToolsSpecsForm::editBandMode()
{
    m_draft.bandMode = TQXToolsBandForm::edit(m_draft.bandMode, this);
    updateButtons();
}

// ---------------------------------------------------------------- closing

void TQXToolsSpecsForm::save()
{
    if (!m_ok->isEnabled())
        return;
    const std::string name = m_name->text().trimmed().toStdString();
    TQXLogSpec stored = m_spec;
    stored.SpecName = name;
    if (m_kind == SpecKind::Text)
        m_draft.applyTo(stored);
    else {
        stored.DateFormat = m_draft.dateFormat;
        stored.BandMode = m_draft.bandMode;
        stored.FieldMap.clear();
        for (size_t i = 0; i < m_dbfFields.size(); ++i)
            stored.FieldMap.push_back(m_dbfFields[i] + "=" +
                                      (m_dbfKeys[i] == "nil" ? std::string() : m_dbfKeys[i]));
    }
    const std::string path = importSpecPath(m_dm.QXUserPath, name, m_kind);
    if (!writeImportSpec(path, m_kind, stored)) {
        m_dm.prompter().error("Cannot write the specification " + path);
        return;
    }
    stored.HasSpec = 1;
    m_spec = stored;
    accept();
}

void TQXToolsSpecsForm::reject()
{
    if (!m_ok->isEnabled() &&
        m_dm.prompter().ask(PromptIcon::Confirmation,
                            "Wizard is not complete. If you quit the wizard now, the new import "
                            "will not be finished. Abort wizard?",
                            PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    QDialog::reject();
}

bool EditImportSpec(TQXDM& dm, SpecKind kind, TQXLogSpec& spec, QWidget* parent,
                    const std::function<void(TQXToolsSpecsForm&)>& drive)
{
    if (std::error_code ec; !std::filesystem::exists(spec.FileName, ec)) {
        dm.prompter().error("Log file " + spec.FileName + " not found!");
        return false;
    }
    TQXToolsSpecsForm form(dm, kind, spec, parent);
    if (!drive)
        return form.exec() == QDialog::Accepted;
    form.show();
    drive(form);
    return form.result() == QDialog::Accepted;
}

} // namespace qx7
