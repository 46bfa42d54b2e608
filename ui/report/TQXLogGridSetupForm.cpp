#include "ui/report/TQXLogGridSetupForm.h"

#include "core/DateFormat.h"
#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "store/LogSchema.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/log/LogTableModel.h"
#include "ui/log/TMDIChild.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qx7 {

namespace {

constexpr int kFieldRole = Qt::UserRole;
constexpr const char* kDefaultDateFormat = "yyyymmdd";
constexpr const char* kWindowsDateFormat = "c";

enum DateChoice
{
    UserDefinedDate,
    WindowsDate,
    DefaultDate
};

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

void fillAlignments(QComboBox* box)
{
    box->addItems({QObject::tr("Left"), QObject::tr("Right"), QObject::tr("Center")});
}

int fieldWidth(const std::string& field)
{
    for (const LogField& f : kLogFields)
        if (f.name == field)
            return f.width;
    return 8;
}

} // namespace

TQXLogGridSetupForm::TQXLogGridSetupForm(TQXDM& dm, TMDIChild& log, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_log(log)
{
    setObjectName("LogGridSetupForm");
    setWindowTitle(tr("Log Grid Setup"));
    m_loading = true;

    m_preview = new QTableView(this);
    m_preview->setObjectName("Preview");
    m_previewModel = new LogTableModel(log.table(), this);
    m_previewModel->setDisplayFormats(dm.DateDisplayFormat, dm.LabelTimeFormat);
    m_preview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_preview->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_previewModel->reload(log.model()->isCounted());
    m_preview->setModel(m_previewModel);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->horizontalHeader()->setSectionsMovable(true);
    m_preview->setMinimumHeight(140);

    m_pages = new QTabWidget(this);
    auto* display = new QWidget(m_pages);
    auto* columns = new QWidget(m_pages);
    m_pages->addTab(display, tr("Display"));
    m_pages->addTab(columns, tr("Columns"));
    buildDisplayPage(display);
    buildColumnsPage(columns);

    m_predefined = new QComboBox(this);
    m_predefined->setObjectName("PredefinedSettings");
    for (int c = 0; c < kGridSetupChoices; ++c)
        m_predefined->addItem(tr(gridSetupChoiceName(c)));
    auto* predefinedLabel = new QLabel(tr("&Predefined Settings:"), this);
    predefinedLabel->setBuddy(m_predefined);

    auto button = [this](const char* caption, const char* name) {
        auto* b = new QPushButton(tr(caption), this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    QPushButton* ok = button("&OK", "OkButton");
    QPushButton* cancel = button("&Cancel", "CancelButton");
    QPushButton* help = button("&Help", "HelpButton");
    ok->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(predefinedLabel);
    bottom->addWidget(m_predefined);
    bottom->addStretch(1);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    bottom->addWidget(help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_pages);
    layout->addLayout(bottom);
    resize(720, 560);

    // The dialog starts as the active grid is now.
    m_userDateFormat = dm.DateDisplayFormat;
    GridOptions current = gridOptionsOf(*log.grid(), dm.DateDisplayFormat);
    showOptions(current);
    m_dateChoice->setCurrentIndex(UserDefinedDate);
    fillList(gridLayoutOf(*log.grid(), *log.model()));
    m_predefined->setCurrentIndex(std::clamp(dm.LogGridSetup, 0, kGridSetupChoices - 1));
    refreshPreview();
    m_loading = false;

    connect(ok, &QPushButton::clicked, this, &TQXLogGridSetupForm::accept);
    connect(cancel, &QPushButton::clicked, this, &TQXLogGridSetupForm::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kLogGridSetup), this); });
    connect(m_predefined, &QComboBox::activated, this,
            [this](int choice) { choosePredefined(choice); });
    // A column moved or clicked in the preview moves or selects its list item.
    connect(m_preview->horizontalHeader(), &QHeaderView::sectionMoved, this, [this] {
        if (m_loading)
            return;
        storeCurrentColumn();
        const GridLayout moved = gridLayoutOf(*m_preview, *m_previewModel);
        m_loading = true;
        GridLayout all = moved;
        for (int i = 0; i < m_list->count(); ++i)
            if (m_list->item(i)->checkState() != Qt::Checked)
                all.columns.push_back(
                    m_columns[m_list->item(i)->data(kFieldRole).toString().toStdString()]);
        const int unticked = static_cast<int>(moved.columns.size());
        fillList(all);
        for (int i = unticked; i < m_list->count(); ++i)
            m_list->item(i)->setCheckState(Qt::Unchecked);
        m_loading = false;
        changed();
    });
    auto selectField = [this](int column) {
        const QString field = QLatin1String(LogTableModel::fieldOfColumn(column));
        for (int i = 0; i < m_list->count(); ++i)
            if (m_list->item(i)->data(kFieldRole).toString() == field)
                m_list->setCurrentRow(i);
        m_pages->setCurrentIndex(1);
    };
    connect(m_preview->horizontalHeader(), &QHeaderView::sectionClicked, this, selectField);
    connect(m_preview, &QTableView::clicked, this,
            [selectField](const QModelIndex& i) { selectField(i.column()); });
}

void TQXLogGridSetupForm::buildDisplayPage(QWidget* page)
{
    auto check = [page](const char* caption, const char* name) {
        auto* b = new QCheckBox(QObject::tr(caption), page);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    m_titles = check("Col&umn Titles", "TitlesCheck");
    m_indicator = check("&Indicator", "IndicatorCheck");
    m_colLines = check("Column &Lines", "ColLinesCheck");
    m_rowLines = check("&Row Lines", "RowLinesCheck");
    m_dateChoice = new QComboBox(page);
    m_dateChoice->setObjectName("DateChoice");
    m_dateChoice->addItems({tr("User defined"), tr("Windows date format"), tr("Default")});
    m_dateFormat = new QLineEdit(page);
    m_dateFormat->setObjectName("DateFormat");
    m_today = new QLabel(page);
    m_today->setObjectName("TodayLabel");
    m_colorButton = new QPushButton(tr("Background Color..."), page);
    m_colorButton->setObjectName("ColorButton");

    auto* boxes = new QVBoxLayout;
    for (QCheckBox* b : {m_titles, m_indicator, m_colLines, m_rowLines})
        boxes->addWidget(b);
    boxes->addStretch(1);
    auto* date = new QFormLayout;
    auto* dateLabel = new QLabel(tr("Date Display &Format:"), page);
    dateLabel->setBuddy(m_dateChoice);
    date->addRow(dateLabel, m_dateChoice);
    date->addRow(QString(), m_dateFormat);
    date->addRow(QString(), new QLabel(tr("Examples: yyyy-mm-dd, mm.dd.yy, ddmmyyyy"), page));
    date->addRow(tr("Today:"), m_today);
    date->addRow(tr("Background Color"), m_colorButton);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(boxes);
    layout->addLayout(date, 1);

    for (QCheckBox* b : {m_titles, m_indicator, m_colLines, m_rowLines})
        connect(b, &QCheckBox::toggled, this, [this] { changed(); });
    connect(m_dateChoice, &QComboBox::activated, this, [this](int choice) {
        if (choice == UserDefinedDate)
            m_dateFormat->setText(q(m_userDateFormat));
        else
            m_dateFormat->setText(
                QLatin1String(choice == WindowsDate ? kWindowsDateFormat : kDefaultDateFormat));
        changed();
    });
    connect(m_dateFormat, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_userDateFormat = text.toStdString();
        m_dateChoice->setCurrentIndex(UserDefinedDate);
        changed();
    });
    connect(m_colorButton, &QPushButton::clicked, this, [this] {
        const QColor c = QColorDialog::getColor(m_color, this, tr("Background Color"));
        if (!c.isValid())
            return;
        m_color = c;
        changed();
    });
}

void TQXLogGridSetupForm::buildColumnsPage(QWidget* page)
{
    m_list = new QListWidget(page);
    m_list->setObjectName("FieldList");
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_title = new QLineEdit(page);
    m_title->setObjectName("TitleCaption");
    m_width = new QSpinBox(page);
    m_width->setObjectName("ColumnWidth");
    m_width->setRange(1, 255);
    m_titleAlign = new QComboBox(page);
    m_titleAlign->setObjectName("TitleAlignment");
    fillAlignments(m_titleAlign);
    m_dataAlign = new QComboBox(page);
    m_dataAlign->setObjectName("DataAlignment");
    fillAlignments(m_dataAlign);

    auto* form = new QFormLayout;
    auto row = [&](const char* caption, QWidget* w) {
        auto* label = new QLabel(tr(caption), page);
        label->setBuddy(w);
        form->addRow(label, w);
    };
    row("Titl&e Caption:", m_title);
    row("&Width:", m_width);
    row("Title Align&ment:", m_titleAlign);
    row("Data &Alignment:", m_dataAlign);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_list, 1);
    layout->addLayout(form, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { showCurrentColumn(); });
    connect(m_list, &QListWidget::itemChanged, this, [this] { changed(); });
    connect(m_list->model(), &QAbstractItemModel::rowsMoved, this, [this] { changed(); });
    connect(m_title, &QLineEdit::textEdited, this, [this] {
        storeCurrentColumn();
        changed();
    });
    connect(m_width, &QSpinBox::valueChanged, this, [this] {
        storeCurrentColumn();
        changed();
    });
    for (QComboBox* box : {m_titleAlign, m_dataAlign})
        connect(box, &QComboBox::activated, this, [this] {
            storeCurrentColumn();
            changed();
        });
}

void TQXLogGridSetupForm::fillList(const GridLayout& layout)
{
    const bool was = m_loading;
    m_loading = true;
    m_list->clear();
    m_columns.clear();
    auto add = [this](const GridColumn& c, bool ticked) {
        m_columns[c.field] = c;
        QString name = q(gridFieldDisplayName(c.field));
        if (name.isEmpty())
            name = q(c.field);
        auto* item = new QListWidgetItem(name, m_list);
        item->setData(kFieldRole, q(c.field));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled);
        item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    };
    for (const GridColumn& c : layout.columns)
        add(c, true);
    const GridLayout shipped = shippedGridLayout();
    for (const std::string& field : gridOfferedFields()) {
        if (m_columns.count(field))
            continue;
        GridColumn c;
        c.field = field;
        c.title = gridFieldDisplayName(field);
        c.width = fieldWidth(field);
        for (const GridColumn& s : shipped.columns)
            if (s.field == field)
                c = s;
        add(c, false);
    }
    m_list->setCurrentRow(0);
    m_loading = was;
    showCurrentColumn();
}

void TQXLogGridSetupForm::showOptions(const GridOptions& o)
{
    const bool was = m_loading;
    m_loading = true;
    m_titles->setChecked(o.titles);
    m_indicator->setChecked(o.indicator);
    m_colLines->setChecked(o.colLines);
    m_rowLines->setChecked(o.rowLines);
    m_color = o.color;
    const QString format = q(o.dateFormat);
    m_dateFormat->setText(format);
    m_dateChoice->setCurrentIndex(format == QLatin1String(kDefaultDateFormat)   ? DefaultDate
                                  : format == QLatin1String(kWindowsDateFormat) ? WindowsDate
                                                                                : UserDefinedDate);
    m_loading = was;
}

void TQXLogGridSetupForm::showCurrentColumn()
{
    QListWidgetItem* item = m_list->currentItem();
    const bool was = m_loading;
    m_loading = true;
    for (QWidget* w : std::initializer_list<QWidget*>{m_title, m_width, m_titleAlign, m_dataAlign})
        w->setEnabled(item != nullptr);
    if (item) {
        const GridColumn& c = m_columns[item->data(kFieldRole).toString().toStdString()];
        m_title->setText(q(c.title));
        m_width->setValue(c.width);
        m_titleAlign->setCurrentIndex(static_cast<int>(c.titleAlign));
        m_dataAlign->setCurrentIndex(static_cast<int>(c.dataAlign));
    }
    m_loading = was;
}

void TQXLogGridSetupForm::storeCurrentColumn()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item || m_loading)
        return;
    GridColumn& c = m_columns[item->data(kFieldRole).toString().toStdString()];
    c.title = m_title->text().toStdString();
    c.width = m_width->value();
    c.titleAlign = static_cast<GridAlign>(m_titleAlign->currentIndex());
    c.dataAlign = static_cast<GridAlign>(m_dataAlign->currentIndex());
}

void TQXLogGridSetupForm::changed()
{
    if (m_loading)
        return;
    m_predefined->setCurrentIndex(2);
    refreshPreview();
}

void TQXLogGridSetupForm::refreshPreview()
{
    const bool was = m_loading;
    m_loading = true;
    applyGridLayout(*m_preview, *m_previewModel, layout());
    const GridOptions o = options();
    applyGridOptions(*m_preview, o);
    m_previewModel->setDisplayFormats(o.dateFormat, m_dm.LabelTimeFormat);
    m_loading = was;
    showToday();
}

void TQXLogGridSetupForm::showToday()
{
    m_today->setText(q(formatDateTime(m_dateFormat->text().toStdString(), Date::today())));
}

GridLayout TQXLogGridSetupForm::layout() const
{
    GridLayout l;
    for (int i = 0; i < m_list->count(); ++i) {
        const QListWidgetItem* item = m_list->item(i);
        if (item->checkState() != Qt::Checked)
            continue;
        const auto it = m_columns.find(item->data(kFieldRole).toString().toStdString());
        if (it != m_columns.end())
            l.columns.push_back(it->second);
    }
    return l;
}

GridOptions TQXLogGridSetupForm::options() const
{
    GridOptions o;
    o.color = m_color;
    o.dateFormat = m_dateFormat->text().toStdString();
    if (o.dateFormat.empty())
        o.dateFormat = kDefaultDateFormat;
    o.titles = m_titles->isChecked();
    o.indicator = m_indicator->isChecked();
    o.colLines = m_colLines->isChecked();
    o.rowLines = m_rowLines->isChecked();
    return o;
}

int TQXLogGridSetupForm::predefinedChoice() const
{
    return m_predefined->currentIndex();
}

std::string TQXLogGridSetupForm::userFile(int choice) const
{
    return QDir(q(m_dm.QXUserPath))
        .filePath(QLatin1String(gridSetupFileName(choice)))
        .toStdString();
}

void TQXLogGridSetupForm::choosePredefined(int choice)
{
    choice = std::clamp(choice, 0, kGridSetupChoices - 1);
    GridOptions o = options();
    GridLayout chosen;
    if (choice == 2) {
        std::optional<GridLayout> user = loadGridLayout(userFile(2));
        if (!user) {
            user = loadGridLayout(userFile(0));
            if (!user)
                user = shippedGridLayout();
            saveGridLayout(userFile(2), *user);
        }
        chosen = *user;
        GridOptions current = o;
        current.color = defaultGridColor();
        o = readGridOptions(IniFile(m_dm.iniPath()), current);
    } else {
        const std::optional<GridLayout> file = loadGridLayout(userFile(choice));
        chosen = file ? *file : builtinGridLayout(choice);
        const bool favorite = choice == 1;
        o.color = favorite ? QColor(Qt::black) : defaultGridColor();
        o.titles = true;
        o.indicator = !favorite;
        o.colLines = !favorite;
        o.rowLines = !favorite;
    }
    m_loading = true;
    m_predefined->setCurrentIndex(choice);
    showOptions(o);
    fillList(chosen);
    m_loading = false;
    refreshPreview();
}

void TQXLogGridSetupForm::accept()
{
    storeCurrentColumn();
    const int choice = predefinedChoice();
    const GridOptions o = options();
    // Errors while writing are swallowed: the windows still take the new look now.
    if (choice == 2)
        saveGridLayout(userFile(2), layout());
    m_dm.LogGridSetup = choice;
    m_dm.DateDisplayFormat = o.dateFormat;
    IniFile ini(m_dm.iniPath());
    ini.writeInteger("System", "LogGridSetup", choice);
    writeGridOptions(ini, o);
    ini.save();
    applyGridLayout(*m_log.grid(), *m_log.model(), layout());
    applyGridOptions(*m_log.grid(), o);
    QDialog::accept();
}

bool TQXLogGridSetupForm::exec(TQXDM& dm, TMDIChild& log, QWidget* parent)
{
    TQXLogGridSetupForm form(dm, log, parent);
    return form.QDialog::exec() == QDialog::Accepted;
}

} // namespace qx7
