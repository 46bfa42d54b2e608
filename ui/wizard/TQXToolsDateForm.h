#pragma once
// "Date Format": the user states how the dates of a text or dBase column are written.
// Every change is tried at once on 31 December 2001: the date is written with the format
// and read back with the same rules the import uses, so a format the import cannot read
// shows "- Conversion error -" before any log is converted.

#include <QDialog>

class QLabel;
class QLineEdit;
class QToolButton;

namespace qx7 {

class TQXToolsDateForm : public QDialog
{
    Q_OBJECT
public:
    explicit TQXToolsDateForm(const QString& format, QWidget* parent = nullptr);

    QString format() const;
    // Whether the test date came back from the current format.
    bool formatWorks() const { return m_works; }
    QString writtenText() const; // DateDisplayPanel1
    QString readText() const;    // DateDisplayPanel2

    // Modal: the edited format after "&OK", `format` unchanged after Cancel or Esc.
    static QString edit(const QString& format, QWidget* parent = nullptr);

private:
    void selfTest();

    QLineEdit* m_edit;
    QLabel* m_written;
    QLabel* m_read;
    QToolButton* m_check;
    bool m_works = false;
};

} // namespace qx7
