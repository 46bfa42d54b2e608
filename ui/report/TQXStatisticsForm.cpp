#include "ui/report/TQXStatisticsForm.h"

#include "datamodule/TQXDM.h"
#include "store/StatisticsReport.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"
#include "ui/log/TMDIChild.h"
#include "ui/report/StatisticsChart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace qx7 {

namespace {

// Keeps the window alive during the count: events are processed now and then (not per
// record, which would cost more than the count), the gauge never goes back, and Escape
// or Cancel ask the scan to stop through Terminated.
class CountProgress : public QObject, public Progress
{
public:
    CountProgress(TQXDM& dm, QProgressBar* gauge, long long total)
        : m_dm(dm), m_gauge(gauge), m_total(std::max(1LL, total))
    {
        m_clock.start();
        qApp->installEventFilter(this);
    }
    ~CountProgress() override { qApp->removeEventFilter(this); }
    bool step(long long) override
    {
        // The first record lets a key pressed at the start through at once.
        if (m_done++ == 0 || m_clock.elapsed() >= 40) {
            m_clock.restart();
            const int percent = static_cast<int>(std::min(100LL, m_done * 100 / m_total));
            if (percent > m_gauge->value())
                m_gauge->setValue(percent);
            QApplication::processEvents();
        }
        return true;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_dm.Terminated = -1;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TQXDM& m_dm;
    QProgressBar* m_gauge;
    long long m_total;
    long long m_done = 0;
    QElapsedTimer m_clock;
};

} // namespace

TQXStatisticsForm::TQXStatisticsForm(TQXDM& dm, TMDIChild& log, QWidget* parent)
    : QDialog(parent), m_dm(dm), m_log(log)
{
    setObjectName("QXStatisticsForm");
    setWindowTitle(tr("Log Statistics") + QStringLiteral(" [") + log.logName() +
                   QStringLiteral("]"));
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName("ReportPane");
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_chart = new StatisticsChart(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName("StatisticsTabs");
    m_tabs->addTab(m_text, tr("&Report"));
    m_tabs->addTab(m_chart, tr("C&hart"));

    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName("Gauge");
    m_gauge->setRange(0, 100);
    m_button = new QPushButton(tr("&Cancel"), this);
    m_button->setObjectName("CloseButton");
    m_saveText = new QPushButton(tr("&Save as File..."), this);
    m_saveText->setObjectName("SaveTextButton");
    m_saveText->hide();
    m_saveChart = new QPushButton(tr("Save chart as &PNG..."), this);
    m_saveChart->setObjectName("SaveChartButton");
    m_saveChart->hide();
    auto* help = new QPushButton(tr("&Help"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_gauge, 1);
    for (QPushButton* b : {m_saveText, m_saveChart, m_button, help})
        bottom->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);
    resize(760, 520);

    connect(m_button, &QPushButton::clicked, this, &TQXStatisticsForm::reject);
    connect(m_saveText, &QPushButton::clicked, this, [this] { chooseAndSave(false); });
    connect(m_saveChart, &QPushButton::clicked, this, [this] { chooseAndSave(true); });
    connect(help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kLogStatistics), this); });
}

void TQXStatisticsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_started)
        return;
    m_started = true;
    QTimer::singleShot(0, this, [this] {
        if (!runCount())
            QDialog::reject();
    });
}

bool TQXStatisticsForm::runCount()
{
    m_started = true;
    m_running = true;
    m_dm.PrintRun = false;
    m_dm.ScanStatistics::reset();
    m_dm.Terminated = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<dbase::Bookmark> rows;
    if (m_log.hasSelection())
        rows = m_log.selectedRows();
    m_dm.ScanSelection = rows.empty() ? 0 : 1;
    dbase::Table& table = m_log.table();
    CountProgress progress(
        m_dm, m_gauge, rows.empty() ? table.recordCount() : static_cast<long long>(rows.size()));
    table.suspendNotifications(); // the grid is not redrawn for every record counted
    try {
        if (rows.empty())
            table.first();
        m_dm.ScanLog(table, m_log.OwnCall(), m_log.LogFooterLines(), progress, rows);
    } catch (const dbase::Error& e) {
        m_dm.Terminated = -1;
        m_dm.prompter().ask(PromptIcon::Error, e.what(), PromptButton::Ok);
    }
    table.resumeNotifications();
    QApplication::restoreOverrideCursor();
    m_running = false;
    if (m_dm.Terminated == -1)
        return false;
    m_gauge->setValue(100);
    const StatisticsHeading heading{m_log.logName().toStdString(), m_log.OwnCall(), m_dm.PriRows,
                                    m_dm.LastQXD};
    m_report = statisticsReport(m_dm, heading);
    QStringList lines;
    for (const std::string& l : m_report)
        lines << QString::fromStdString(l);
    m_text->setPlainText(lines.join(QLatin1Char('\n')));
    m_chart->setStatistics(m_dm);
    m_button->setText(tr("&Close"));
    m_saveText->show();
    m_saveChart->show();
    m_finished = true;
    return true;
}

void TQXStatisticsForm::reject()
{
    if (m_running) {
        m_dm.Terminated = -1; // the run stops at its next record and closes the window
        return;
    }
    QDialog::reject();
}

bool TQXStatisticsForm::saveReport(const QString& file) const
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (const std::string& l : m_report) {
        out.write(QByteArray::fromStdString(l));
        out.write("\n");
    }
    return out.commit();
}

bool TQXStatisticsForm::saveChart(const QString& file) const
{
    return m_chart->render(QSize(960, 540)).save(file, "PNG");
}

void TQXStatisticsForm::chooseAndSave(bool chart)
{
    const QString folder = QString::fromStdString(m_dm.QXTmpPath);
    const QString proposed =
        folder + QLatin1Char('/') + m_log.logName() + (chart ? ".png" : ".txt");
    const QString caption = chart ? tr("Save chart") : tr("Save statistics");
    const QString filter = chart ? tr("PNG picture (*.png)") : tr("Text File (*.txt)");
    const QString file = m_chooseFile
                             ? m_chooseFile(caption, proposed, filter)
                             : QFileDialog::getSaveFileName(this, caption, proposed, filter);
    if (file.isEmpty())
        return;
    if (!(chart ? saveChart(file) : saveReport(file)))
        m_dm.prompter().ask(PromptIcon::Error, file.toStdString() + " could not be written.",
                            PromptButton::Ok);
}

void TQXStatisticsForm::exec(TQXDM& dm, TMDIChild& log, QWidget* parent, FileChooser chooser)
{
    TQXStatisticsForm form(dm, log, parent);
    if (chooser)
        form.setFileChooser(std::move(chooser));
    form.QDialog::exec();
    log.First();
    log.refreshRows();
}

} // namespace qx7
