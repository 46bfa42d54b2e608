#pragma once
// The "Log Statistics" window: a count run over the active log (or its selected rows)
// that reports the labels needed and the QSOs by band and mode, as text and as a chart.
// Cancel and Escape stop the run; the report can be saved as text, the chart as PNG.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace qx7 {

class StatisticsChart;
class TMDIChild;
class TQXDM;

class TQXStatisticsForm : public QDialog
{
    Q_OBJECT
public:
    TQXStatisticsForm(TQXDM& dm, TMDIChild& log, QWidget* parent = nullptr);

    // The save dialogs; tests answer them. Given caption, proposed path and filter.
    using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    // Runs the count; false when it was stopped (the window then closes).
    bool runCount();
    bool finished() const { return m_finished; }
    const std::vector<std::string>& reportLines() const { return m_report; }
    QPlainTextEdit* reportPane() const { return m_text; }
    StatisticsChart* chart() const { return m_chart; }
    bool saveReport(const QString& file) const;
    bool saveChart(const QString& file) const;

    // Opens the window modally on the log window, as the statistics action does.
    static void exec(TQXDM& dm, TMDIChild& log, QWidget* parent, FileChooser chooser = {});

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void chooseAndSave(bool chart);

    TQXDM& m_dm;
    TMDIChild& m_log;
    FileChooser m_chooseFile;
    QTabWidget* m_tabs;
    QPlainTextEdit* m_text;
    StatisticsChart* m_chart;
    QProgressBar* m_gauge;
    QPushButton* m_button;
    QPushButton* m_saveText;
    QPushButton* m_saveChart;
    std::vector<std::string> m_report;
    bool m_started = false;
    bool m_running = false;
    bool m_finished = false;
};

} // namespace qx7
