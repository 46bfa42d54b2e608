#pragma once
// "ASCII and CSV File Import Specifications": makes or changes the import specification
// of a text, CSV or dBase log in four steps (name, text type, columns, field mapping) and
// saves it in the user folder, where the wizard and "qx7cli convert --spec" read it.
// The guessing and the column rules live in TextSpecDraft; this window only shows them.

#include "convert/engine/LogTypes.h"
#include "convert/specs/TextSpecDraft.h"
#include "convert/specs/TQXLogSpec.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTableWidget;

namespace qx7 {

class BreaksPaintBox;
class TQXDM;

class TQXToolsSpecsForm : public QDialog
{
    Q_OBJECT
public:
    enum Step
    {
        NameStep,
        TextTypeStep,
        ColumnsStep,
        MappingStep
    };

    TQXToolsSpecsForm(TQXDM& dm, SpecKind kind, TQXLogSpec& spec, QWidget* parent = nullptr);

    Step step() const;
    TextSpecDraft& draft() { return m_draft; }
    // The field key of each source column as mapped now ("nil" for none).
    std::vector<std::string> mappedKeys() const;

    void reject() override;

private:
    QWidget* buildNamePage();
    QWidget* buildTextTypePage();
    QWidget* buildColumnsPage();
    QWidget* buildMappingPage();
    void showStep(Step step);
    void nextStep();
    void previousStep();

    void nameEdited();
    void loadSpec(const QString& name);
    void loadDbaseSample();
    void showOptions();
    void optionsChanged();
    void analyzeFile();
    void refreshColumns();
    void refreshMapping();
    void mappingRowChanged();
    void fieldChosen(int index);
    void editDateFormat();
    void editBandMode();
    void updateButtons();
    void save();

    TQXDM& m_dm;
    SpecKind m_kind;
    TQXLogSpec& m_spec;
    TextSpecDraft m_draft;
    // dBase logs: the table's fields, the first record's values, the mapping.
    std::vector<std::string> m_dbfFields;
    std::vector<std::string> m_dbfValues;
    std::vector<std::string> m_dbfKeys;
    bool m_showing = false; // controls are being filled from the draft

    QStackedWidget* m_pages = nullptr;
    QLineEdit* m_name = nullptr;
    QListWidget* m_specs = nullptr;
    QPlainTextEdit* m_sampleView = nullptr;
    QRadioButton* m_delimited = nullptr;
    QRadioButton* m_fixed = nullptr;
    QRadioButton* m_separators[6] = {};
    QLineEdit* m_symbol = nullptr;
    QComboBox* m_qualifier = nullptr;
    QCheckBox* m_captions = nullptr;
    QStackedWidget* m_columnViews = nullptr;
    QTableWidget* m_csvGrid = nullptr;
    BreaksPaintBox* m_breaks = nullptr;
    QLabel* m_columnsHint = nullptr;
    QTableWidget* m_mapGrid = nullptr;
    QComboBox* m_fields = nullptr;
    QPushButton* m_dateButton = nullptr;
    QPushButton* m_bandButton = nullptr;
    QLabel* m_formatInfo = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_ok = nullptr;
};

// Opens the editor for the log of `spec` and returns true when it was closed with "&OK".
// A log file that does not exist gives "Log file ... not found!" and false. `drive`, when
// set, replaces the modal loop (tests work the shown window and close it).
bool EditImportSpec(TQXDM& dm, SpecKind kind, TQXLogSpec& spec, QWidget* parent,
                    const std::function<void(TQXToolsSpecsForm&)>& drive = {});

} // namespace qx7
