#pragma once
// The footer lines editor: up to nine lines printed at the foot of every label of a
// log, stored in the log's descriptor; with defaults kept in "qx7.ini".

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;

namespace qx7 {

class TMDIChild;
class TQXDM;

class TQXFooterLinesForm : public QDialog
{
    Q_OBJECT
public:
    TQXFooterLinesForm(TQXDM& dm, TMDIChild& log, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return m_editor; }
    // The editor's lines as they would be stored (none for an empty editor).
    std::vector<std::string> lines() const;
    void clearAll();
    void saveAsDefault();
    void getDefault();

    void accept() override;

    static void exec(TQXDM& dm, TMDIChild& log, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPosition();
    bool swallowKey(QKeyEvent* key);

    TQXDM& m_dm;
    TMDIChild& m_log;
    QPlainTextEdit* m_editor;
    QLabel* m_column;
    QLabel* m_line;
    QLabel* m_length;
};

} // namespace qx7
