#include "ui/logfiles/TQXOpenLogForm.h"

#include "datamodule/TQXDM.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace qx7 {

namespace {

// Rows without a usable count (another program writes the log, or its table is missing
// or damaged) stay below the others whichever way a column is sorted.
bool bottomRow(const LogFileRow& r)
{
    return r.inUse || r.qsos.empty();
}

int compareText(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).localeAwareCompare(QString::fromStdString(b));
}

} // namespace

TQXOpenLogForm::TQXOpenLogForm(TQXDM& dm, int viewStyle, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_viewStyle(viewStyle)
{
    setObjectName("QXOpenLogForm");
    setWindowTitle(tr("Open Log"));
    auto* bar = new QToolBar(this);
    m_styles = new QActionGroup(this);
    const char* names[] = {"Large Icons", "Small Icons", "List", "Detail List"};
    for (int i = 0; i < 4; ++i) {
        QAction* a = bar->addAction(tr(names[i]));
        a->setObjectName(QStringLiteral("ViewStyle%1").arg(i));
        a->setCheckable(true);
        m_styles->addAction(a);
        connect(a, &QAction::triggered, this, [this, i] { setViewStyle(i); });
    }

    m_model = new QStandardItemModel(0, 4, this);
    m_model->setHorizontalHeaderLabels({tr("Name"), tr("Call"), tr("QSOs"), tr("last changed")});
    m_detail = new QTreeView(this);
    m_detail->setObjectName("LogList");
    m_detail->setRootIsDecorated(false);
    m_detail->setUniformRowHeights(true);
    m_detail->setModel(m_model);
    m_detail->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_detail->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_detail->header()->setSectionsClickable(true);
    m_detail->header()->setSortIndicatorShown(true);
    m_detail->setColumnWidth(0, 160);
    m_detail->setColumnWidth(1, 110);
    m_detail->setColumnWidth(2, 70);
    m_icons = new QListView(this);
    m_icons->setObjectName("LogIcons");
    m_icons->setModel(m_model);
    m_icons->setSelectionModel(m_detail->selectionModel());
    m_icons->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_icons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_icons->setResizeMode(QListView::Adjust);
    m_views = new QStackedWidget(this);
    m_views->addWidget(m_icons);
    m_views->addWidget(m_detail);

    auto* buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName("OpenButton");
    m_open->setDefault(true); // Enter in the list opens the focused rows
    m_delete = buttons->addButton(tr("&Delete..."), QDialogButtonBox::ActionRole);
    m_delete->setObjectName("DeleteButton");
    QPushButton* cancel = buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelButton");
    QPushButton* help = buttons->addButton(tr("&Help"), QDialogButtonBox::HelpRole);
    connect(m_open, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_delete, &QPushButton::clicked, this, &TQXOpenLogForm::deleteSelected);
    connect(help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kOpenLog), this); });

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    m_status1 = new QLabel(this);
    m_status1->setObjectName("StatusPart1");
    m_status2 = new QLabel(this);
    m_status2->setObjectName("StatusPart2");
    status->addWidget(m_status1, 1);
    status->addWidget(m_status2, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(m_views, 1);
    layout->addWidget(buttons);
    layout->addWidget(status);
    resize(560, 380);

    connect(m_detail->header(), &QHeaderView::sectionClicked, this, &TQXOpenLogForm::sortByColumn);
    connect(m_detail->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TQXOpenLogForm::selectionChanged);
    connect(m_detail->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TQXOpenLogForm::selectionChanged);
    // A double-click opens what is selected, or nothing when nothing is.
    for (QAbstractItemView* v :
         {static_cast<QAbstractItemView*>(m_detail), static_cast<QAbstractItemView*>(m_icons)})
        connect(v, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    setViewStyle(viewStyle);
    reload();
}

void TQXOpenLogForm::reload()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string folder = m_dm.QXLogPath;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    m_status2->setText(tr(" Log File Path: ") + QString::fromStdString(folder));
    m_rows = readLogFolder(folder);
    // The list starts in ascending name order.
    std::sort(m_rows.begin(), m_rows.end(), [](const LogFileRow& a, const LogFileRow& b) {
        return compareText(a.name, b.name) < 0;
    });
    fillModel();
    m_status1->setText(QStringLiteral(" %1").arg(m_rows.size()) + tr(" Log(s) found"));
    m_open->setEnabled(false);
    m_delete->setEnabled(false);
    QApplication::restoreOverrideCursor();
}

void TQXOpenLogForm::fillModel()
{
    m_model->removeRows(0, m_model->rowCount());
    const QIcon logIcon = style()->standardIcon(QStyle::SP_FileIcon);
    const QIcon badIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const LogFileRow& r : m_rows) {
        QList<QStandardItem*> items;
        for (const std::string* text : {&r.name, &r.call, &r.qsos, &r.lastChanged})
            items << new QStandardItem(QString::fromStdString(*text));
        items[0]->setIcon(r.usable() ? logIcon : badIcon);
        items[2]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (!r.usable())
            items[3]->setForeground(QBrush(Qt::darkRed));
        m_model->appendRow(items);
    }
}

void TQXOpenLogForm::setViewStyle(int style)
{
    m_viewStyle = std::clamp(style, 0, 3);
    m_styles->actions()[m_viewStyle]->setChecked(true);
    if (m_viewStyle == 3) {
        m_views->setCurrentWidget(m_detail);
        return;
    }
    m_icons->setViewMode(m_viewStyle == 0 ? QListView::IconMode : QListView::ListMode);
    m_icons->setFlow(m_viewStyle == 1 ? QListView::LeftToRight : QListView::TopToBottom);
    m_icons->setWrapping(m_viewStyle != 3);
    m_icons->setIconSize(m_viewStyle == 0 ? QSize(32, 32) : QSize(16, 16));
    m_icons->setGridSize(m_viewStyle == 0 ? QSize(96, 64) : QSize());
    m_views->setCurrentWidget(m_icons);
}

void TQXOpenLogForm::sortByColumn(int column)
{
    if (column < 0 || column > 3)
        return;
    const bool descending = m_descending[column];
    m_descending[column] = !descending;
    const auto key = [column](const LogFileRow& a, const LogFileRow& b) {
        switch (column) {
        case 0:
            return compareText(a.name, b.name);
        case 1:
            return compareText(a.call, b.call);
        case 2:
            return a.count < b.count ? -1 : a.count > b.count ? 1 : 0;
        default:
            return compareText(a.lastChanged, b.lastChanged);
        }
    };
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const LogFileRow& a, const LogFileRow& b) {
        if (column != 0 && bottomRow(a) != bottomRow(b))
            return bottomRow(b);
        const int c = key(a, b);
        return descending ? c > 0 : c < 0;
    });
    fillModel();
    m_detail->header()->setSortIndicator(column,
                                         descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    selectionChanged();
}

std::vector<int> TQXOpenLogForm::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& i : m_detail->selectionModel()->selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TQXOpenLogForm::selectionChanged()
{
    const QModelIndex current = m_detail->selectionModel()->currentIndex();
    const auto selected = selectedRows();
    m_open->setEnabled(current.isValid() || !selected.empty());
    m_delete->setEnabled(selected.size() == 1);
    m_status1->setText(QStringLiteral(" %1").arg(selected.size()) + tr(" Log(s) selected"));
    if (current.isValid() && current.row() < static_cast<int>(m_rows.size()))
        m_status2->setText(QStringLiteral(" ") +
                           QString::fromStdString(m_rows[static_cast<size_t>(current.row())].call));
}

void TQXOpenLogForm::accept()
{
    auto rows = selectedRows();
    const QModelIndex current = m_detail->selectionModel()->currentIndex();
    if (rows.empty() && current.isValid() && sender() == m_open)
        rows.push_back(current.row());
    for (int r : rows)
        m_dm.addPendingLog(m_rows[static_cast<size_t>(r)].name);
    QDialog::accept();
}

void TQXOpenLogForm::reject()
{
    m_dm.clearPendingLogs();
    QDialog::reject();
}

void TQXOpenLogForm::deleteSelected()
{
    const auto rows = selectedRows();
    if (rows.size() != 1)
        return;
    const std::string name = m_rows[static_cast<size_t>(rows.front())].name;
    Prompter& p = m_dm.prompter();
    const PromptButton buttons = PromptButton::Yes | PromptButton::No | PromptButton::Cancel;
    if (p.ask(PromptIcon::Warning, "Are you sure to delete this log?", buttons) !=
            PromptButton::Yes ||
        p.ask(PromptIcon::Warning, "Are you really sure?", buttons) != PromptButton::Yes)
        return;
    std::string why;
    if (!deleteLogFiles(m_dm.QXLogPath, name, &why)) {
        p.ask(PromptIcon::Error, "The log \"" + name + "\" was not deleted: " + why,
              PromptButton::Ok);
        return;
    }
    p.ask(PromptIcon::Information, "Log deleted!", PromptButton::Ok);
    reload();
    m_dm.LogCount = static_cast<int>(m_rows.size());
}

} // namespace qx7
