#include "ui/batch/BatchFrames.h"

#include "datamodule/TQXDM.h"
#include "ui/manager/TableCursorModel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QColor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace qx7 {

namespace {

const char* const kStatusCaptions[] = {"[0] received", "[1] checked", "[2] printed",
                                       "[3] not in log", "all"};

// Rows take the colour of their STATUS; the focused cell keeps black text.
class BatchStatusModel final : public TableCursorModel
{
public:
    BatchStatusModel(dbase::Table& table, QList<Column> columns, int statusColumn, QObject* parent)
        : TableCursorModel(table, std::move(columns), parent), m_statusColumn(statusColumn)
    {}
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::BackgroundRole && index.isValid())
            return batchStatusColour(
                TableCursorModel::data(this->index(index.row(), m_statusColumn), Qt::DisplayRole)
                    .toString());
        if (role == Qt::ForegroundRole)
            return QColor(Qt::black);
        return TableCursorModel::data(index, role);
    }

private:
    int m_statusColumn;
};

QTableView* makeGrid(QAbstractItemModel* model, QWidget* parent)
{
    auto* grid = new QTableView(parent);
    grid->setModel(model);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

QString batchStatusCaption(const QString& status)
{
    const int n = status.size() == 1 ? status[0].digitValue() : -1;
    return n >= 0 && n <= 3 ? QString::fromLatin1(kStatusCaptions[n]) : QString();
}

QColor batchStatusColour(const QString& status)
{
    if (status == QLatin1String("1"))
        return QColor(255, 255, 204);
    if (status == QLatin1String("2"))
        return QColor(255, 255, 102);
    if (status == QLatin1String("3"))
        return QColor(255, 204, 204);
    return QColor(255, 255, 255);
}

// --- QSOs ---------------------------------------------------------------------------

TQXBatchInputQSOsFrame::TQXBatchInputQSOsFrame(TQXDM& dm, QWidget* parent)
    : QWidget(parent), m_dm(dm)
{
    setObjectName(QStringLiteral("TQXBatchInputQSOsFrame"));
    m_model = new BatchStatusModel(dm.batchInput().BatchInputTable2(),
                                   {{"MYCALL", tr("My Call")},
                                    {"HISCALL", tr("Call")},
                                    {"DATE", tr("Date")},
                                    {"TIME", tr("Time")},
                                    {"BAND", tr("Band")},
                                    {"MODE", tr("Mode")},
                                    {"STATUS", tr("Status")},
                                    {"COMMENT", tr("Comment")}},
                                   6, this);
    m_model->setReadOnlyFields(
        {"MYCALL", "HISCALL", "DATE", "TIME", "BAND", "MODE", "STATUS", "COMMENT"});
    m_grid = makeGrid(m_model, this);
    m_grid->setObjectName(QStringLiteral("BatchQsoGrid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
}

TQXBatchInputQSOsFrame::~TQXBatchInputQSOsFrame() = default;

void TQXBatchInputQSOsFrame::reload()
{
    m_model->reload();
}

void TQXBatchInputQSOsFrame::deleteCurrent()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || !m_model->gotoRow(row))
        return;
    try {
        m_dm.batchInput().BatchInputTable2().deleteRecord();
    } catch (const dbase::Error& e) {
        m_dm.prompter().error(e.what());
    }
    reload();
}

bool TQXBatchInputQSOsFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteCurrent();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- Calls --------------------------------------------------------------------------

TQXBatchInputCallsFrame::TQXBatchInputCallsFrame(TQXDM& dm, TQXBatchInputQSOsFrame* qsos,
                                                 QWidget* parent)
    : QWidget(parent), m_dm(dm), m_qsos(qsos)
{
    setObjectName(QStringLiteral("TQXBatchInputCallsFrame"));
    auto* box = new QGroupBox(tr(" Status "), this);
    auto* boxLayout = new QHBoxLayout(box);
    m_status = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto* b = new QRadioButton(QString::fromLatin1(kStatusCaptions[i]), box);
        b->setObjectName(QStringLiteral("BatchStatus%1").arg(i));
        m_status->addButton(b, i);
        boxLayout->addWidget(b);
    }
    m_status->button(4)->setChecked(true);
    connect(m_status, &QButtonGroup::idClicked, this, [this](int id) { setStatusFilter(id); });

    m_model = new BatchStatusModel(dm.batchInput().BatchInputTable1(),
                                   {{"MYCALL", tr("My Call")},
                                    {"HISCALL", tr("Call")},
                                    {"STATUS", tr("Status")},
                                    {"COMMENT", tr("Comment")}},
                                   2, this);
    m_model->setReadOnlyFields({"STATUS"});
    m_grid = makeGrid(m_model, this);
    m_grid->setObjectName(QStringLiteral("BatchCallGrid"));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        QAction* one = menu.addAction(tr("Delete record"));
        one->setShortcut(QKeySequence(Qt::Key_Delete));
        QAction* all = menu.addAction(tr("Delete entire Batch Input table"));
        QAction* chosen = menu.exec(m_grid->viewport()->mapToGlobal(at));
        if (chosen == one)
            deleteCurrent();
        else if (chosen == all)
            deleteAll();
    });
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (m_model->gotoRow(index.row()))
            emit performRequested();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { currentRowChanged(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { currentRowChanged(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    layout->addWidget(m_grid);
}

TQXBatchInputCallsFrame::~TQXBatchInputCallsFrame() = default;

int TQXBatchInputCallsFrame::rowCount() const
{
    return m_model->rowCount();
}

void TQXBatchInputCallsFrame::currentRowChanged()
{
    // The QSO table follows table 1's current record through its master link.
    const int row = m_grid->currentIndex().row();
    m_model->gotoRow(row < 0 ? 0 : row);
    if (m_qsos)
        m_qsos->reload();
}

void TQXBatchInputCallsFrame::applyFilters()
{
    QStringList parts;
    if (!m_allOwnCalls)
        parts << QStringLiteral("MYCALL = '%1'").arg(m_own);
    const int status = m_status->checkedId();
    if (status >= 0 && status < 4)
        parts << QStringLiteral("STATUS = '%1'").arg(status);
    try {
        m_dm.batchInput().BatchInputTable1().setFilter(
            parts.join(QStringLiteral(" AND ")).toStdString());
    } catch (const dbase::Error& e) {
        m_dm.prompter().error(e.what());
    }
    reload();
}

void TQXBatchInputCallsFrame::setStatusFilter(int status)
{
    if (QAbstractButton* b = m_status->button(status))
        b->setChecked(true);
    applyFilters();
}

void TQXBatchInputCallsFrame::setOwnCall(const QString& own)
{
    m_own = own;
    m_allOwnCalls = own.isEmpty();
    m_dm.batchInput().FilterBatchTables(own.toStdString());
    applyFilters();
}

void TQXBatchInputCallsFrame::reload()
{
    m_model->reload();
    if (m_model->rowCount() > 0 && !m_grid->currentIndex().isValid())
        m_grid->setCurrentIndex(m_model->index(0, 1));
    currentRowChanged();
}

void TQXBatchInputCallsFrame::deleteCurrent()
{
    const int row = m_grid->currentIndex().row();
    if (row < 0 || !m_model->gotoRow(row))
        return;
    try {
        m_dm.deleteBatchStation();
    } catch (const dbase::Error& e) {
        m_dm.prompter().error(e.what());
    }
    reload();
    emit tableChanged();
}

void TQXBatchInputCallsFrame::deleteAll()
{
    if (m_dm.prompter().ask(
            PromptIcon::Warning, "Are you sure to delete the entire Batch input table?",
            PromptButton::Yes | PromptButton::No | PromptButton::Cancel) != PromptButton::Yes)
        return;
    {
        BusyCursor busy;
        m_model->suspend();
        dbase::Table& t = m_dm.batchInput().BatchInputTable1();
        try {
            for (t.first(); !t.isEmpty();)
                m_dm.deleteBatchStation();
        } catch (const dbase::Error& e) {
            m_dm.prompter().error(e.what());
        }
        m_model->resume();
    }
    reload();
    emit tableChanged();
}

bool TQXBatchInputCallsFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            deleteCurrent();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qx7
