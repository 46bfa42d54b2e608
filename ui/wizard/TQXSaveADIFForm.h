#pragma once
// "Export Print Queue to ADIF File": copies the journal of the QSOs queued for printing
// into a file of the user's choice, after the file's own records or over them.

#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qx7 {

class TQXDM;

class TQXSaveADIFForm : public QDialog
{
    Q_OBJECT
public:
    explicit TQXSaveADIFForm(TQXDM& dm, QWidget* parent = nullptr);

    // The save dialog; tests answer it with a function of (caption, folder, filter).
    using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }

    QString exportFile() const;

private:
    void browse();
    void showFile(const QString& file);
    void exportNow();

    TQXDM& m_dm;
    FileChooser m_choose;
    QLineEdit* m_file;
    QGroupBox* m_appendGroup;
    QRadioButton* m_append;
    QRadioButton* m_overwrite;
    QCheckBox* m_empty;
    QPushButton* m_export;
};

} // namespace qx7
