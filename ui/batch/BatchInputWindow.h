#pragma once
// The main window's "Batch Input" tool window: the imported requests above their QSOs,
// and the commands that answer them from the active log.

#include "store/BatchCheck.h"

#include <QWidget>

class QPushButton;

namespace qx7 {

class TQXDM;
class TQXBatchInputCallsFrame;
class TQXBatchInputQSOsFrame;

class BatchInputWindow final : public QWidget
{
    Q_OBJECT
public:
    BatchInputWindow(TQXDM& dm, QWidget* parent = nullptr);
    ~BatchInputWindow() override;

    TQXBatchInputCallsFrame* callsFrame() const { return m_calls; }
    TQXBatchInputQSOsFrame* qsosFrame() const { return m_qsos; }
    QPushButton* checkButton() const { return m_check; }
    QPushButton* runButton() const { return m_run; }
    QPushButton* takeNearestButton() const { return m_takeNearest; }
    void reload();
    // Shows what a check found per call and per claimed QSO until the next check.
    void setCheckReport(BatchCheckReport report);
    const BatchCheckReport& checkReport() const { return m_report; }

signals:
    void checkRequested();
    void runRequested();
    void performRequested();
    // The current claim found no QSO: queue the log's QSO nearest to it instead.
    void takeNearestRequested();
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TQXBatchInputCallsFrame* m_calls;
    TQXBatchInputQSOsFrame* m_qsos;
    QPushButton* m_check;
    QPushButton* m_run;
    QPushButton* m_takeNearest;
    BatchCheckReport m_report;
};

// Writes the maintenance dialog and the tool window as PNGs into `folder`.
bool saveBatchScreenshots(TQXDM& dm, QWidget* mainWindow, const QString& folder);

} // namespace qx7
