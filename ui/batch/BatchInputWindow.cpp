#include "ui/batch/BatchInputWindow.h"

#include "datamodule/TQXDM.h"
#include "ui/batch/BatchFrames.h"
#include "ui/batch/TQXBatchInputForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace qx7 {

BatchInputWindow::BatchInputWindow(TQXDM& dm, QWidget* parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("BatchInputWindow"));
    setWindowTitle(tr("Batch Input"));
    resize(560, 460);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setToolTip(tr("Drag to resize"));
    m_qsos = new TQXBatchInputQSOsFrame(dm);
    m_calls = new TQXBatchInputCallsFrame(dm, m_qsos);
    splitter->addWidget(m_calls);
    splitter->addWidget(m_qsos);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 1);
    m_check = new QPushButton(tr("Check Batch Input against log"), this);
    m_run = new QPushButton(tr("Run Batch Input"), this);
    m_takeNearest = new QPushButton(tr("Queue nearest QSO"), this);
    m_takeNearest->setToolTip(
        tr("The selected claimed QSO found none in the log: put the log's QSO of that call "
           "nearest to it into the print queue instead"));
    m_takeNearest->setEnabled(false);
    m_check->setObjectName(QStringLiteral("BatchCheck"));
    m_run->setObjectName(QStringLiteral("BatchRun"));
    m_takeNearest->setObjectName(QStringLiteral("BatchTakeNearest"));
    connect(m_takeNearest, &QPushButton::clicked, this, &BatchInputWindow::takeNearestRequested);
    connect(m_qsos, &TQXBatchInputQSOsFrame::takeNearestRequested, this,
            &BatchInputWindow::takeNearestRequested);
    connect(m_qsos, &TQXBatchInputQSOsFrame::currentClaimChanged, this,
            [this] { m_takeNearest->setEnabled(m_qsos->canTakeNearest()); });
    connect(m_check, &QPushButton::clicked, this, &BatchInputWindow::checkRequested);
    connect(m_run, &QPushButton::clicked, this, &BatchInputWindow::runRequested);
    connect(m_calls, &TQXBatchInputCallsFrame::performRequested, this,
            &BatchInputWindow::performRequested);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_check);
    buttons->addWidget(m_run);
    buttons->addStretch();
    buttons->addWidget(m_takeNearest);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    m_calls->reload();
}

BatchInputWindow::~BatchInputWindow() = default;

void BatchInputWindow::reload()
{
    m_calls->reload();
}

void BatchInputWindow::setCheckReport(BatchCheckReport report)
{
    m_report = std::move(report);
    m_calls->setCheckReport(&m_report);
    m_takeNearest->setEnabled(m_qsos->canTakeNearest());
}

void BatchInputWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

bool saveBatchScreenshots(TQXDM& dm, QWidget* mainWindow, const QString& folder)
{
    const auto settle = [] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 200)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    };
    bool ok = true;
    {
        TQXBatchInputForm form(dm, mainWindow);
        const QString lines(QStringLiteral("CALL;QA1ABC;please direct\n"
                                           "QSO ;QA1ABC;20030321;1322;20m;RTTY\n"
                                           "CALL;K1XYZ;\n"));
        form.preview()->setPlainText(lines);
        form.takeText(lines);
        form.setPage(1);
        form.show();
        settle();
        ok = form.grab().save(QDir(folder).filePath(QStringLiteral("batch-input-import.png")),
                              "PNG");
        form.hide();
    }
    BatchInputWindow window(dm, mainWindow);
    window.show();
    settle();
    ok = window.grab().save(QDir(folder).filePath(QStringLiteral("batch-input-window.png")),
                            "PNG") &&
         ok;
    window.hide();
    return ok;
}

} // namespace qx7
