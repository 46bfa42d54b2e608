#include "ui/log/TMDIChild.h"

#include "core/IniFile.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"
#include "ui/log/GridLayoutView.h"
#include "ui/log/LogTableModel.h"

#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMimeData>
#include <QTableView>
#include <QToolBar>

#include <algorithm>
#include <set>

namespace qx7 {

namespace {

std::string openErrorText(const std::string& name, const dbase::Error& e)
{
    switch (e.kind()) {
    case dbase::Error::Kind::InUse:
        return "The log \"" + name + "\" is in use by another program.";
    case dbase::Error::Kind::NotFound:
        return "The log \"" + name + "\" was not found in the log folder.";
    case dbase::Error::Kind::Damaged:
        return "The log \"" + name + "\" is damaged and cannot be opened.\r\n\r\n" + e.what();
    default:
        return "The log \"" + name + "\" cannot be opened.\r\n\r\n" + e.what();
    }
}

} // namespace

TMDIChild::TMDIChild(TQXDM& dm, const std::string& logName, QWidget* parent)
    : QMainWindow(parent), m_dm(dm)
{
    m_name = QString::fromStdString(logBaseName(logName));
    setObjectName(QStringLiteral("LogWindow_") + m_name);
    setWindowTitle(m_name);
    setAttribute(Qt::WA_DeleteOnClose);
    open(logName);
    buildWidgets();
}

TMDIChild::~TMDIChild()
{
    try {
        m_table.close();
    } catch (const dbase::Error&) {
        // closing a damaged table must not take the program down
    }
}

void TMDIChild::LoadGridSetup()
{
    const QString file = QDir(QString::fromStdString(m_dm.QXUserPath))
                             .filePath(QString::fromLatin1(gridSetupFileName(m_dm.LogGridSetup)));
    const std::optional<GridLayout> layout = loadGridLayout(file.toStdString());
    applyGridLayout(*m_grid, *m_model, layout ? *layout : builtinGridLayout(m_dm.LogGridSetup));
    GridOptions current = gridOptionsOf(*m_grid, m_dm.DateDisplayFormat);
    current.color = defaultGridColor();
    const GridOptions options = readGridOptions(IniFile(m_dm.iniPath()), current);
    m_dm.DateDisplayFormat = options.dateFormat;
    applyGridOptions(*m_grid, options);
    m_model->setDisplayFormats(m_dm.DateDisplayFormat, m_dm.LabelTimeFormat);
}

void TMDIChild::open(const std::string& logName)
{
    const LogPaths p = logPaths(m_dm.QXLogPath, logName);
    try {
        openLog(m_table, p.table, m_dm.Search.IndexNumber);
        const LogDescriptor d = readLogDescriptor(p.descriptor);
        m_ownCall = d.stationCall;
        m_footerLines = d.footerLines;
    } catch (const dbase::Error& e) {
        m_error = openErrorText(m_name.toStdString(), e);
        try {
            m_table.close();
        } catch (const dbase::Error&) {
        }
    }
}

namespace {

Qt::ToolBarArea areaOfSide(int side)
{
    switch (side) {
    case 1:
        return Qt::BottomToolBarArea;
    case 2:
        return Qt::LeftToolBarArea;
    case 3:
        return Qt::RightToolBarArea;
    default:
        return Qt::TopToolBarArea;
    }
}

} // namespace

void TMDIChild::buildWidgets()
{
    m_statusBar = new QToolBar(tr("Log Status"), this);
    m_statusBar->setObjectName("LogStatusToolbar");
    m_statusBar->setFloatable(false);
    m_statusBar->setIconSize(QSize(16, 16));
    m_callPanel = new QLabel(QStringLiteral(" ") + QString::fromStdString(m_ownCall), m_statusBar);
    m_callPanel->setObjectName("CallPanel");
    m_callPanel->setToolTip(QString::fromStdString(m_ownCall));
    m_selectPanel = new QLabel(m_statusBar);
    m_selectPanel->setObjectName("SelectPanel");
    m_selectPanel->installEventFilter(this); // a click clears the selection
    m_countPanel = new QLabel(m_statusBar);
    m_countPanel->setObjectName("CountPanel");
    m_statusBar->addWidget(m_callPanel);
    m_statusBar->addWidget(m_selectPanel);
    m_statusBar->addSeparator();
    // The window's actions go between the panels and the count (see setStatusActions).
    m_countSeparator = m_statusBar->addSeparator();
    m_statusBar->addWidget(m_countPanel);
    m_side = std::clamp(m_dm.MDIDock, 0, 3);
    addToolBar(areaOfSide(m_side), m_statusBar);
    connect(m_statusBar, &QToolBar::orientationChanged, this, [this] { statusToolbarMoved(); });
    connect(m_statusBar, &QToolBar::topLevelChanged, this, [this] { statusToolbarMoved(); });

    m_grid = new QTableView(this);
    m_grid->setObjectName("LogGrid");
    m_model = new LogTableModel(m_table, this);
    m_model->setOwnCall(QString::fromStdString(m_ownCall));
    m_model->setDisplayFormats(m_dm.DateDisplayFormat, m_dm.LabelTimeFormat);
    // Fixed row heights, set before the rows arrive: the view never measures or resizes
    // a million rows one by one.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setDragEnabled(true);
    m_grid->setDragDropMode(QAbstractItemView::DragOnly);
    m_grid->viewport()->setAcceptDrops(true); // a manager only: see eventFilter
    m_grid->viewport()->installEventFilter(this);
    m_grid->setAlternatingRowColors(false);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setSectionsMovable(true);
    LoadGridSetup();
    setCentralWidget(m_grid);
    statusToolbarMoved();

    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { SelectCount(); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { syncCurrentRecord(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { SelectCount(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { SelectCount(); });
    SelectCount();
    resize(640, 360);
}

void TMDIChild::setStatusActions(const std::vector<QAction*>& actions)
{
    for (QAction* a : actions) {
        if (a)
            m_statusBar->insertAction(m_countSeparator, a);
        else
            m_statusBar->insertSeparator(m_countSeparator);
    }
}

int TMDIChild::statusToolbarSide() const
{
    switch (toolBarArea(m_statusBar)) {
    case Qt::BottomToolBarArea:
        return 1;
    case Qt::LeftToolBarArea:
        return 2;
    case Qt::RightToolBarArea:
        return 3;
    default:
        return 0;
    }
}

void TMDIChild::statusToolbarMoved()
{
    const int side = statusToolbarSide();
    // Beside the grid the panel is narrower, so the buttons below it keep their room.
    m_callPanel->setMinimumWidth(side >= 2 ? 80 : 100);
    if (side != m_side) {
        m_side = side;
        emit statusToolbarDocked(side);
    }
}

void TMDIChild::closeEvent(QCloseEvent* event)
{
    m_dm.MDIDock = statusToolbarSide();
    QMainWindow::closeEvent(event);
}

void TMDIChild::syncCurrentRecord()
{
    if (m_syncing)
        return;
    const int row = m_grid->currentIndex().row();
    if (row >= 0)
        m_model->gotoRow(row);
    emit currentRecordChanged();
}

void TMDIChild::SelectCount()
{
    const int n = static_cast<int>(m_grid->selectionModel()->selectedRows().size());
    // One current row is no selection; two or more rows (or a row the user added with
    // Ctrl or Shift) are.
    const bool selection =
        n > 1 || (n == 1 && m_grid->selectionModel()->selectedRows().front().row() !=
                                m_grid->currentIndex().row());
    m_selectPanel->setText(selection ? QString::number(n) + QStringLiteral(" QSO(s) selected  ")
                                     : QString());
    m_selectPanel->setFrameStyle(selection ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    m_countPanel->setText(QString::number(m_model->rowCount()) + QStringLiteral(" QSO(s)"));
    emit selectionCountChanged(selection ? n : 0);
}

bool TMDIChild::hasSelection() const
{
    return !selectedRows().empty();
}

std::vector<dbase::Bookmark> TMDIChild::selectedRows() const
{
    const QModelIndexList rows = m_grid->selectionModel()->selectedRows();
    if (rows.size() == 1 && rows.front().row() == m_grid->currentIndex().row())
        return {};
    std::set<int> ordered;
    for (const QModelIndex& i : rows)
        ordered.insert(i.row());
    std::vector<dbase::Bookmark> marks;
    for (int r : ordered) {
        const dbase::Bookmark b = m_model->bookmarkAt(r);
        if (b.isValid())
            marks.push_back(b);
    }
    return marks;
}

void TMDIChild::Unselect()
{
    const QModelIndex current = m_grid->currentIndex();
    m_grid->selectionModel()->clearSelection();
    if (current.isValid())
        m_grid->selectionModel()->select(current,
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    SelectCount();
}

void TMDIChild::SelectCall()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const QString call = m_model->callAt(row);
    int from = row;
    while (from > 0 && m_model->callAt(from - 1) == call)
        --from;
    int to = row;
    while (to + 1 < m_model->rowCount() && m_model->callAt(to + 1) == call)
        ++to;
    const QItemSelection range(m_model->index(from, 0),
                               m_model->index(to, LogTableModel::ColumnCount - 1));
    m_grid->selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
    SelectCount();
}

int TMDIChild::currentRow() const
{
    return m_grid->currentIndex().row();
}

void TMDIChild::moveTo(int row)
{
    if (m_model->rowCount() == 0)
        return;
    row = std::clamp(row, 0, m_model->rowCount() - 1);
    const QModelIndex target = m_model->index(row, std::max(0, m_grid->currentIndex().column()));
    m_grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    m_grid->scrollTo(target);
}

void TMDIChild::moveBy(int rows)
{
    moveTo(std::max(0, currentRow()) + rows);
}

void TMDIChild::Last()
{
    moveTo(m_model->rowCount() - 1);
}

std::string TMDIChild::currentText(const char* field) const
{
    if (!m_table.isOpen() || m_table.recNo() == 0)
        return {};
    return m_table.text(field);
}

void TMDIChild::showSearchResult(bool filtered)
{
    if (!m_table.isOpen())
        return;
    m_syncing = true;
    m_model->reload(filtered);
    const int row = m_model->rowOfCurrentRecord();
    if (row >= 0) {
        const QModelIndex target = m_model->index(row, 0);
        m_grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
        m_grid->scrollTo(target, QAbstractItemView::PositionAtTop);
    }
    m_syncing = false;
    SelectCount();
    emit currentRecordChanged();
}

void TMDIChild::refreshRows()
{
    m_model->refreshValues();
}

void TMDIChild::ApplyIndex(int indexNumber)
{
    if (!m_table.isOpen())
        return;
    try {
        m_table.setIndex(logIndexName(indexNumber));
    } catch (const dbase::Error&) {
        // A log without the manager tag stays in its order.
    }
}

void TMDIChild::SetManagerOfSelection(const std::string& manager)
{
    if (!m_table.isOpen() || m_table.isReadOnly())
        return;
    std::vector<dbase::Bookmark> marks = selectedRows();
    if (marks.empty() && m_table.recNo() != 0)
        marks.push_back(m_table.bookmark());
    const dbase::Bookmark keep = m_table.bookmark();
    try {
        for (const dbase::Bookmark& b : marks) {
            if (!m_table.gotoBookmark(b))
                continue;
            m_table.edit();
            m_table.setText("QMGR", manager);
            m_table.post();
        }
    } catch (const dbase::Error&) {
        if (m_table.state() != dbase::Table::State::Browse)
            m_table.cancel();
    }
    if (keep.isValid())
        m_table.gotoBookmark(keep);
    refreshRows();
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_selectPanel && event->type() == QEvent::MouseButtonRelease) {
        Unselect();
        emit unselected();
        return true;
    }
    if (!m_grid || watched != m_grid->viewport())
        return QMainWindow::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QMainWindow::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QString format = QString::fromLatin1(kManagerMimeType);
    const QPoint at = drop->position().toPoint();
    const int row = m_grid->rowAt(at.y());
    const bool accepted = drop->mimeData()->hasFormat(format) && row >= 0 && m_table.isOpen() &&
                          !m_table.isReadOnly();
    if (!accepted) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop)
        dropManager(QString::fromUtf8(drop->mimeData()->data(format)).toStdString(), row);
    return true;
}

void TMDIChild::dropManager(const std::string& manager, int row)
{
    // Dropped inside a selection of several QSOs, the manager goes to all of them;
    // anywhere else to the QSO it was dropped on.
    const QModelIndexList chosen = m_grid->selectionModel()->selectedRows();
    const bool onSelection =
        hasSelection() && std::any_of(chosen.begin(), chosen.end(),
                                      [row](const QModelIndex& i) { return i.row() == row; });
    if (!onSelection)
        moveTo(row);
    SetManagerOfSelection(manager.empty() ? "-" : manager);
    emit currentRecordChanged();
}

void TMDIChild::setGridEnabled(bool on)
{
    m_grid->setEnabled(on);
}

} // namespace qx7
