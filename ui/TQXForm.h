#pragma once
// The main window: a multiple-document frame holding the log windows, the print
// queue and the tool windows. Its commands call into the data module.

#include <QMainWindow>

class QMdiArea;
class QMenu;

namespace qx7 {

class TQXDM;

class TQXForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TQXForm(TQXDM& dm, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdi; }
    QMenu* menu(const QString& objectName) const;
    // A second start of the program asked to see this window.
    void bringToFront();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void restorePlacement();
    void savePlacement();

    TQXDM& m_dm;
    QMdiArea* m_mdi;
    bool m_shutDownChecked = false;
};

} // namespace qx7
