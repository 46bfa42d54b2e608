#pragma once
// "Answer SWL QSL's": the reports of a short-wave listener, collected by dragging QSOs
// from a log grid and turned into labels of the print queue for the listener's call.
// The main window shows it in SWL mode and hides it when the mode ends.

#include <QWidget>

class QLineEdit;
class QMimeData;
class QPushButton;
class QTableView;

namespace qx7 {

class TQXDM;
class TableCursorModel;

class SwlWindow final : public QWidget
{
    Q_OBJECT
public:
    // Opens the SWL table (creating it when missing).
    SwlWindow(TQXDM& dm, QWidget* parent = nullptr);
    ~SwlWindow() override;

    // Adds the QSOs of a log-grid drag as reports; false (nothing added) when the drag
    // holds no QSOs or they are for another own call than the reports already here.
    bool dropQsos(const QMimeData* mime);
    // The own call of the dropped QSOs; empty until the first drop and after "Clear".
    QString swlOwnCall() const { return m_ownCall; }
    int reportCount() const;

signals:
    // Labels were added to the print queue: the queue's status needs refreshing.
    void printQueueChanged();
    // The user closed the window: SWL mode ends.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectSignals();
    void queueReports();
    void clearReports();
    void updateActions();
    void setOwnCall(const QString& call);

    TQXDM& m_dm;
    QString m_ownCall;
    TableCursorModel* m_model = nullptr;
    QTableView* m_grid;
    QLineEdit* m_swlCall;
    QPushButton* m_queue;
    QPushButton* m_clear;
    QPushButton* m_close;
    QPushButton* m_help;
};

} // namespace qx7
