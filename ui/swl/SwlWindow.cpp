#include "ui/swl/SwlWindow.h"

#include "datamodule/TQXDM.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/log/QsoDragData.h"
#include "ui/manager/CallValidator.h"
#include "ui/manager/TableCursorModel.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace qx7 {

SwlWindow::SwlWindow(TQXDM& dm, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dm(dm), m_grid(new QTableView(this)),
      m_swlCall(new QLineEdit(this)), m_queue(new QPushButton(tr(">> Print Queue"), this)),
      m_clear(new QPushButton(tr("Clear"), this)), m_close(new QPushButton(tr("Close"), this)),
      m_help(new QPushButton(tr("Help"), this))
{
    setObjectName(QStringLiteral("SwlWindow"));
    setWindowTitle(tr("Answer SWL QSL's"));
    m_grid->setObjectName(QStringLiteral("swlGrid"));
    m_swlCall->setObjectName(QStringLiteral("swlCallEdit"));
    m_queue->setObjectName(QStringLiteral("printQueueButton"));
    m_clear->setObjectName(QStringLiteral("clearButton"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_swlCall->setMaxLength(16);
    m_swlCall->setValidator(new CallValidator(m_swlCall));

    SwlReports& swl = m_dm.swl();
    if (!swl.SWLTable().isOpen())
        swl.OpenSWLTable();
    if (swl.SWLTable().isOpen()) {
        m_model = new TableCursorModel(swl.SWLTable(),
                                       {{"HRDC", tr("Call heard")},
                                        {"DATE", tr("Date")},
                                        {"TIME", tr("Time")},
                                        {"BAND", tr("Band")},
                                        {"MODE", tr("Mode")},
                                        {"MYCALL", tr("My call")},
                                        {"COMM", tr("Comment")}},
                                       this);
        m_grid->setModel(m_model);
        const int widths[] = {90, 70, 45, 50, 55, 80, 92};
        for (int c = 0; c < 7; ++c)
            m_grid->setColumnWidth(c, widths[c]);
    }
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->viewport()->setAcceptDrops(true);
    m_grid->viewport()->installEventFilter(this);

    auto* callLabel = new QLabel(tr("SWL Call: "), this);
    callLabel->setBuddy(m_swlCall);
    auto* bar = new QHBoxLayout;
    bar->addWidget(callLabel);
    bar->addWidget(m_swlCall);
    for (QPushButton* b : {m_queue, m_clear, m_close, m_help}) {
        b->setAutoDefault(false);
        bar->addWidget(b);
    }
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_grid, 1);
    resize(620, 300);
    connectSignals();
    updateActions();
    m_swlCall->setFocus();
}

SwlWindow::~SwlWindow() = default;

void SwlWindow::connectSignals()
{
    connect(m_swlCall, &QLineEdit::textChanged, this, &SwlWindow::updateActions);
    connect(m_queue, &QPushButton::clicked, this, &SwlWindow::queueReports);
    connect(m_clear, &QPushButton::clicked, this, &SwlWindow::clearReports);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(m_help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kSwl), this); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, m_help, &QPushButton::click);
    if (m_model)
        connect(m_model, &QAbstractItemModel::modelReset, this, &SwlWindow::updateActions);
}

int SwlWindow::reportCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

void SwlWindow::updateActions()
{
    const bool any = reportCount() > 0;
    m_queue->setEnabled(any && !m_swlCall->text().isEmpty());
    m_clear->setEnabled(any);
}

void SwlWindow::setOwnCall(const QString& call)
{
    m_ownCall = call;
    // While the own call is fixed, a report must not be moved to another one by hand.
    if (m_model)
        m_model->setReadOnlyFields(call.isEmpty() ? QStringList{}
                                                  : QStringList{QStringLiteral("MYCALL")});
}

bool SwlWindow::dropQsos(const QMimeData* mime)
{
    const auto drag = readQsoDrag(mime);
    dbase::Table& table = m_dm.swl().SWLTable();
    if (!drag || !table.isOpen())
        return false;
    const bool empty = table.isEmpty();
    const QString current = empty ? QString() : QString::fromStdString(table.text("MYCALL"));
    if (!swlTakesDropOf(empty, current, drag->ownCall))
        return false;
    try {
        for (const DraggedQso& q : drag->qsos)
            m_dm.swl().addReport(q.call.toStdString(), q.date.toStdString(), q.time.toStdString(),
                                 q.band.toStdString(), q.mode.toStdString(),
                                 q.subMode.toStdString(), drag->ownCall.toStdString(), "");
    } catch (const dbase::Error& e) {
        m_dm.prompter().error(e.what());
    }
    setOwnCall(drag->ownCall);
    if (m_model)
        m_model->reload();
    updateActions();
    return true;
}

bool SwlWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* e = static_cast<QDragMoveEvent*>(event);
            const auto drag = readQsoDrag(e->mimeData());
            dbase::Table& t = m_dm.swl().SWLTable();
            const bool takes =
                drag && t.isOpen() &&
                swlTakesDropOf(t.isEmpty(),
                               t.isEmpty() ? QString() : QString::fromStdString(t.text("MYCALL")),
                               drag->ownCall);
            if (takes)
                e->acceptProposedAction();
            else
                e->ignore();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* e = static_cast<QDropEvent*>(event);
            if (dropQsos(e->mimeData()))
                e->acceptProposedAction();
            else
                e->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SwlWindow::queueReports()
{
    const QString listener = m_swlCall->text().trimmed();
    if (listener.isEmpty()) {
        m_dm.prompter().inform("Enter a SWL callsign first!");
        return;
    }
    if (!m_dm.printQueue().isOpen() && !m_dm.OpenPrintQueue())
        return;
    try {
        m_dm.QueueSWLReports(listener.toStdString());
    } catch (const dbase::Error& e) {
        m_dm.prompter().error(e.what());
    }
    if (m_model)
        m_model->reload();
    m_swlCall->clear();
    updateActions();
    emit printQueueChanged();
}

void SwlWindow::clearReports()
{
    m_dm.swl().ClearSWLTable();
    setOwnCall({});
    if (m_model)
        m_model->reload();
    updateActions();
}

void SwlWindow::showEvent(QShowEvent* event)
{
    // Shown again after SWL mode was switched off: the table was closed then.
    if (!m_dm.swl().SWLTable().isOpen() && m_dm.swl().OpenSWLTable() && m_model)
        m_model->reload();
    updateActions();
    QWidget::showEvent(event);
}

void SwlWindow::closeEvent(QCloseEvent* event)
{
    setOwnCall({});
    m_dm.swl().CloseSWLTable();
    event->accept();
    emit closed();
}

} // namespace qx7
