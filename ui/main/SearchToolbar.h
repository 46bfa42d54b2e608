#pragma once
// The search toolbar: the inputs that narrow every open log window (call or call range
// with wildcards, date and time range, band, mode, manager) and the QSL filter buttons.
// It only collects inputs; the main window runs the search when it says they changed.

#include "store/LogSearch.h"

#include <QTimer>
#include <QToolBar>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;
class QToolButton;

namespace qx7 {

class SearchToolbar : public QToolBar
{
    Q_OBJECT
public:
    SearchToolbar(const std::vector<std::string>& bands, const std::vector<std::string>& modes,
                  QWidget* parent = nullptr);

    SearchInputs inputs() const;
    void setIndexNumber(int indexNumber); // shows the inputs of the sort order
    int indexNumber() const { return m_index; }
    void setMarkedOnly(bool on);
    // The filter characters; the buttons' look is the main window's (they form one group
    // with the marked-only button).
    void setQslFilters(char sent, char received);
    // The id of the search input that last had the focus (1001 call .. 1010 manager),
    // and the input of an id (nullptr for ManagerEdit 1009, which is not in this bar).
    int SearchFieldId() const { return m_fieldId; }
    void SearchFieldEnter(int id) { m_fieldId = id; }
    QWidget* inputOf(int id) const;
    int idOf(const QObject* input) const; // 0 when it is none of the inputs
    // Whether the sort order shows the input (the call inputs in the call and manager
    // orders, dates and times in the date order, ManagerEdit2 in the manager order).
    bool inputShown(int id) const;
    // Clears every input without announcing each change.
    void wipe();
    // Prefills from the current QSO after the sort order changed.
    void prefill(const std::string& call, const std::string& date, const std::string& manager);
    void clearCallFrom();
    QLineEdit* callFromEdit() const { return m_callFrom; }
    QLineEdit* callToEdit() const { return m_callTo; }
    QLineEdit* managerEdit2() const { return m_manager2; }
    QComboBox* bandBox() const { return m_band; }
    QComboBox* modeBox() const { return m_mode; }
    QDateEdit* dateFromPicker() const { return m_dateFrom; }
    QDateEdit* dateToPicker() const { return m_dateTo; }
    QTimeEdit* timeFromPicker() const { return m_timeFrom; }
    QTimeEdit* timeToPicker() const { return m_timeTo; }
    QToolButton* sentButton() const { return m_sentButton; }
    QToolButton* receivedButton() const { return m_receivedButton; }
    // Debounce of the changes (500 ms; tests shorten it).
    void setDebounce(int ms) { m_debounce.setInterval(ms); }

signals:
    // A burst of changes ended (debounced).
    void searchChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void changed();

    QLineEdit* m_callFrom;
    QLineEdit* m_callTo;
    QDateEdit* m_dateFrom;
    QTimeEdit* m_timeFrom;
    QDateEdit* m_dateTo;
    QTimeEdit* m_timeTo;
    QComboBox* m_band;
    QComboBox* m_mode;
    QLineEdit* m_manager2;
    QAction* m_callFromAction;
    QAction* m_callToAction;
    QList<QAction*> m_dateActions;
    QAction* m_manager2Action;
    QToolButton* m_sentButton;
    QToolButton* m_receivedButton;
    QTimer m_debounce;
    int m_index = 0;
    bool m_markedOnly = false;
    char m_sent = ' ';
    char m_received = ' ';
    bool m_quiet = false;
    int m_fieldId = 1001;
};

} // namespace qx7
