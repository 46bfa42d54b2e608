#pragma once
// The wizard page "Specify fields to be exported": the fields of a text-like output in
// the user's order, ticked when written, and the text options of the two text layouts.
// The choices are kept per output type in its ".qxeo" file in the user folder, which the
// conversion (and qx7cli convert) reads when it starts.

#include "convert/specs/OutputSpecFile.h"

#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace qx7 {

class ExportFieldsPage : public QWidget
{
    Q_OBJECT
public:
    explicit ExportFieldsPage(QWidget* parent = nullptr);

    // Shows the stored choices of the output type.
    void load(const std::string& userFolder, int logType);
    // The choices as shown, in the list's order.
    OutputSpecOptions options() const;
    // Writes them to the type's file; false when it cannot be written.
    bool save() const;

signals:
    void backRequested();
    void startRequested();

private:
    void editDateFormat();

    std::string m_path;
    int m_type = 0;
    QString m_dateFormat;
    QListWidget* m_fields;
    QGroupBox* m_textType;
    QRadioButton* m_delimited;
    QRadioButton* m_fixed;
    QGroupBox* m_separatorBox;
    QRadioButton* m_separators[4];
    QComboBox* m_qualifier;
    QCheckBox* m_header;
    QGroupBox* m_bandBox;
    QRadioButton* m_bandMetres;
    QRadioButton* m_bandMhz;
    QPushButton* m_dateButton;
    QLabel* m_datePanel;
};

} // namespace qx7
