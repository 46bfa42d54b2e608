#include "ui/batch/BatchFrames.h"

#include "datamodule/TQXDM.h"
#include "store/BatchCheck.h"
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

// What a claim's STATUS says about the last check against a log.
QString recordedFinding(const QString& status)
{
    if (status == QLatin1String(kBatchChecked))
        return QObject::tr("found in the log");
    if (status == QLatin1String(kBatchPrinted))
        return QObject::tr("printed");
    if (status == QLatin1String(kBatchNotInLog))
        return QObject::tr("not found in the log");
    return QObject::tr("not checked yet");
}

// Rows take the colour of their STATUS; the focused cell keeps black text. After a
// check each row tells what the log said to it: a call in its tool tip, a claimed QSO
// in an extra "Check" column as well. Where this window saw no check (the maintenance
// dialog, or a later start) a claim's "Check" tells what the last check recorded in its
// STATUS.
class BatchStatusModel final : public TableCursorModel
{
public:
    enum class Kind
    {
        Calls,
        Qsos
    };
    BatchStatusModel(dbase::Table& table, QList<Column> columns, int statusColumn, Kind kind,
                     QObject* parent)
        : TableCursorModel(table, std::move(columns), parent), m_statusColumn(statusColumn),
          m_kind(kind), m_fieldColumns(TableCursorModel::columnCount())
    {}
    void setReport(const BatchCheckReport* report)
    {
        beginResetModel();
        m_report = report;
        endResetModel();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return TableCursorModel::columnCount(parent) + (m_kind == Kind::Qsos ? 1 : 0);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::BackgroundRole)
            return batchStatusColour(
                TableCursorModel::data(this->index(index.row(), m_statusColumn), Qt::DisplayRole)
                    .toString());
        if (role == Qt::ForegroundRole)
            return QColor(Qt::black);
        if (role == Qt::ToolTipRole)
            return finding(index.row());
        if (index.column() >= m_fieldColumns)
            return role == Qt::DisplayRole ? finding(index.row()) : QVariant();
        return TableCursorModel::data(index, role);
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o == Qt::Horizontal && section >= m_fieldColumns)
            return role == Qt::DisplayRole ? tr("Check") : QVariant();
        return TableCursorModel::headerData(section, o, role);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (index.isValid() && index.column() >= m_fieldColumns)
            return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        return TableCursorModel::flags(index);
    }
    const BatchQsoCheck* claimAt(int row) const
    {
        if (!m_report || m_kind != Kind::Qsos)
            return nullptr;
        const dbase::Bookmark mark = bookmarkAt(row);
        return mark.isValid() ? m_report->claimAt(mark) : nullptr;
    }

private:
    QString finding(int row) const
    {
        if (const BatchQsoCheck* claim = claimAt(row))
            return QString::fromStdString(describeBatchVerdict(claim->verdict));
        if (m_kind == Kind::Qsos)
            return recordedFinding(
                TableCursorModel::data(index(row, m_statusColumn), Qt::DisplayRole).toString());
        if (!m_report)
            return {};
        const dbase::Bookmark mark = bookmarkAt(row);
        for (const BatchCallCheck& c : m_report->calls) {
            if (c.record.recno != mark.recno || !mark.isValid())
                continue;
            if (c.qsosInLog == 0)
                return tr("no such call in the log");
            int missed = 0;
            for (const BatchQsoCheck& q : c.claims)
                missed += q.verdict.miss == BatchMiss::None ? 0 : 1;
            QString text = tr("%n QSO(s) in the log", nullptr, static_cast<int>(c.qsosInLog));
            if (missed > 0)
                text += tr("; %1 of %2 claimed QSOs not found").arg(missed).arg(c.claims.size());
            return text;
        }
        return {};
    }

    int m_statusColumn;
    Kind m_kind;
    int m_fieldColumns;
    const BatchCheckReport* m_report = nullptr;
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
                                   6, BatchStatusModel::Kind::Qsos, this);
    m_model->setReadOnlyFields(
        {"MYCALL", "HISCALL", "DATE", "TIME", "BAND", "MODE", "STATUS", "COMMENT"});
    m_grid = makeGrid(m_model, this);
    m_grid->setObjectName(QStringLiteral("BatchQsoGrid"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->installEventFilter(this);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        QAction* take = menu.addAction(tr("Queue nearest QSO instead"));
        take->setEnabled(canTakeNearest());
        QAction* remove = menu.addAction(tr("Delete record"));
        remove->setShortcut(QKeySequence(Qt::Key_Delete));
        QAction* chosen = menu.exec(m_grid->viewport()->mapToGlobal(at));
        if (chosen == take)
            emit takeNearestRequested();
        else if (chosen == remove)
            deleteCurrent();
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TQXBatchInputQSOsFrame::currentClaimChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this,
            &TQXBatchInputQSOsFrame::currentClaimChanged);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_grid);
}

TQXBatchInputQSOsFrame::~TQXBatchInputQSOsFrame() = default;

void TQXBatchInputQSOsFrame::setCheckReport(const BatchCheckReport* report)
{
    m_report = report;
    static_cast<BatchStatusModel*>(m_model)->setReport(report);
    m_grid->resizeColumnsToContents();
}

const BatchQsoCheck* TQXBatchInputQSOsFrame::currentClaim() const
{
    const int row = m_grid->currentIndex().row();
    return static_cast<const BatchStatusModel*>(m_model)->claimAt(row < 0 ? 0 : row);
}

bool TQXBatchInputQSOsFrame::canTakeNearest() const
{
    const BatchQsoCheck* claim = currentClaim();
    if (!claim || claim->verdict.miss == BatchMiss::None || !claim->verdict.nearest)
        return false;
    const int row = m_grid->currentIndex().row();
    const int statusColumn = 6;
    return m_model->index(row < 0 ? 0 : row, statusColumn).data().toString() !=
           QLatin1String(kBatchPrinted);
}

void TQXBatchInputQSOsFrame::reload()
{
    m_model->reload();
    // Narrow columns, so "Check" at the end is seen without scrolling.
    m_grid->resizeColumnsToContents();
    if (m_model->rowCount() > 0 && !m_grid->currentIndex().isValid())
        m_grid->setCurrentIndex(m_model->index(0, 2));
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
                                   2, BatchStatusModel::Kind::Calls, this);
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

void TQXBatchInputCallsFrame::setCheckReport(const BatchCheckReport* report)
{
    static_cast<BatchStatusModel*>(m_model)->setReport(report);
    if (m_qsos)
        m_qsos->setCheckReport(report);
}

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
