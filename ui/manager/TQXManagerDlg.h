#pragma once
// The window of the QSL manager database: find by DX call or manager, browse, import
// manager lists and "qmgr.dbf" tables, export, pack and empty. Every operation is the
// data module's, the same that "qx7cli managers" runs.

#include "ui/manager/FileChooser.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QToolButton;

namespace qx7 {

class TQXDM;
class TableCursorModel;

class TQXManagerDlg final : public QDialog
{
    Q_OBJECT
public:
    TQXManagerDlg(TQXDM& dm, QWidget* parent = nullptr);
    ~TQXManagerDlg() override;

    // Opens the window modally; `dxCall` is the call of the QSO under the cursor of the
    // active log window (may be empty).
    static int exec(TQXDM& dm, QWidget* parent, const QString& dxCall = {});
    using QDialog::exec;

    void setDxCall(const QString& call);
    void setFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }

    void importTextFile();
    void importDatabase();
    void exportTextFile();
    void packDatabase();
    void deleteDatabase();
    void clearFindFields();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void buildWidgets();
    void connectSignals();
    void findCall();
    void findManager();
    void showCount();
    void setBusy(bool busy);
    void moveTo(int row);
    QString managerFolder() const;

    TQXDM& m_dm;
    FileChooser m_chooser = &chooseFileWithDialog;
    TableCursorModel* m_model = nullptr;
    QLineEdit* m_findCall;
    QLineEdit* m_findMgr;
    QPushButton* m_clear;
    QPushButton* m_delete;
    QPushButton* m_export;
    QPushButton* m_importDb;
    QPushButton* m_importText;
    QPushButton* m_pack;
    QPushButton* m_close;
    QPushButton* m_help;
    QWidget* m_navigator;
    QLabel* m_count;
    QProgressBar* m_progress;
    QTableView* m_grid;
};

} // namespace qx7
