#pragma once
// "Configuration": a tree of pages over the program-wide settings. Apply puts the values
// into the data module; OK applies and writes "qx7.ini" (whole, through a temporary file);
// Cancel writes nothing. Values that fail their check stop Apply and OK with a message.

#include <QDialog>

#include <vector>

class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace qx7 {

class ConfigPage;
class TQXDM;

class TQXConfigDlg2 final : public QDialog
{
    Q_OBJECT
public:
    TQXConfigDlg2(TQXDM& dm, QWidget* parent = nullptr);
    ~TQXConfigDlg2() override;

    // Opens the dialog modally; Accepted when OK wrote the settings.
    static int exec(TQXDM& dm, QWidget* parent = nullptr);
    using QDialog::exec;

    // Shows the page of the tree node with this caption (e.g. "Sorting").
    bool showPage(const QString& caption);
    ConfigPage* currentPage() const;

    bool applyChanges();
    bool writeAndClose();

signals:
    // The data module holds new values: band and mode lists need rebuilding.
    void settingsApplied();

private:
    void buildTree();
    void connectSignals();
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& caption, ConfigPage* page);
    void markChanged();

    TQXDM& m_dm;
    QTreeWidget* m_tree;
    QStackedWidget* m_stack;
    std::vector<ConfigPage*> m_pages; // each once, in apply order
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_help;
    QPushButton* m_apply;
};

} // namespace qx7
