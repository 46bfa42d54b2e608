#pragma once
// The two grids over the batch-input tables that the maintenance dialog and the main
// window's batch input window share: the requested calls (coloured by status, with a
// status filter) and the QSOs claimed by the current call.

#include <QWidget>

class QButtonGroup;
class QTableView;

namespace qx7 {

struct BatchCheckReport;
struct BatchQsoCheck;
class TQXDM;
class TableCursorModel;

// The caption of a status in the status filter ("[2] printed"); "" for unknown values.
QString batchStatusCaption(const QString& status);
// The row colour of a status.
QColor batchStatusColour(const QString& status);

class TQXBatchInputQSOsFrame final : public QWidget
{
    Q_OBJECT
public:
    TQXBatchInputQSOsFrame(TQXDM& dm, QWidget* parent = nullptr);
    ~TQXBatchInputQSOsFrame() override;
    QTableView* grid() const { return m_grid; }
    TableCursorModel* model() const { return m_model; }
    void reload();
    void deleteCurrent();
    // What the last check said to each claim: shown in the "Check" column and as the
    // rows' tool tip. The report must outlive its use here; nullptr clears it.
    void setCheckReport(const BatchCheckReport* report);
    // The check of the claim in the current row; nullptr before a check.
    const BatchQsoCheck* currentClaim() const;
    // Whether the current claim found no QSO, is not printed, and has a nearest QSO.
    bool canTakeNearest() const;

signals:
    // "Queue nearest QSO instead" on the current claim.
    void takeNearestRequested();
    void currentClaimChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TQXDM& m_dm;
    TableCursorModel* m_model;
    QTableView* m_grid;
    const BatchCheckReport* m_report = nullptr;
};

class TQXBatchInputCallsFrame final : public QWidget
{
    Q_OBJECT
public:
    TQXBatchInputCallsFrame(TQXDM& dm, TQXBatchInputQSOsFrame* qsos, QWidget* parent = nullptr);
    ~TQXBatchInputCallsFrame() override;
    QTableView* grid() const { return m_grid; }
    TableCursorModel* model() const { return m_model; }
    // 0..3 shows only that status, 4 all.
    void setStatusFilter(int status);
    // Shows the requests for one own call ("" every request) and rereads the tables.
    void setOwnCall(const QString& own);
    // After the tables changed behind the grids.
    void reload();
    void deleteCurrent();
    void deleteAll();
    int rowCount() const;
    // The last check's findings, shown as the calls' tool tips (see the QSOs frame).
    void setCheckReport(const BatchCheckReport* report);

signals:
    // A double-click on a call: put its QSOs into the print queue.
    void performRequested();
    void tableChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilters();
    void currentRowChanged();

    TQXDM& m_dm;
    TQXBatchInputQSOsFrame* m_qsos;
    TableCursorModel* m_model;
    QTableView* m_grid;
    QButtonGroup* m_status;
    QString m_own;
    bool m_allOwnCalls = true;
};

} // namespace qx7
