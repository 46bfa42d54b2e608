#pragma once
// The manager toolbar: the current QSO's manager in ManagerEdit (red when the manager
// database knows several for the call) and a drop-down of the candidates. It reports
// what the user chose or typed; the main window writes it into the log and teaches the
// database.

#include <QPoint>
#include <QToolBar>

#include <string>
#include <vector>

class QLineEdit;
class QMenu;
class QMimeData;
class QToolButton;

namespace qx7 {

class ManagerToolbar : public QToolBar
{
    Q_OBJECT
public:
    static constexpr int kMaxCandidates = 20;
    explicit ManagerToolbar(QWidget* parent = nullptr);

    // The current QSO's manager display: its QMGR (or the looked-up manager when empty),
    // the looked-up manager as the text at entry, and the candidates.
    void showManager(const std::string& qsoManager, const std::string& lookedUp,
                     const std::vector<std::string>& candidates);
    QLineEdit* managerEdit() const { return m_edit; }
    QMenu* candidateMenu() const { return m_menu; }
    QAction* managerWindowAction() const { return m_windowAction; }
    const std::string& managerAtEntry() const { return m_atEntry; }
    // What a drag of ManagerEdit carries: its text under the manager type only.
    QMimeData* dragData() const;

signals:
    // An item of the drop-down was chosen ("-" for no manager).
    void managerChosen(const std::string& manager);
    // ManagerEdit was left with a text other than the one shown on entry.
    void managerChanged(const std::string& oldManager, const std::string& newManager);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(QAction* item);

    QToolButton* m_button;
    QMenu* m_menu;
    QAction* m_windowAction;
    QAction* m_noManagerAction;
    QAction* m_separator;
    std::vector<QAction*> m_items;
    QLineEdit* m_edit;
    std::string m_atEntry;
    QPoint m_pressAt;
    bool m_pressed = false;
};

} // namespace qx7
