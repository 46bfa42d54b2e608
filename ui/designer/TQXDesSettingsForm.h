#pragma once
// The layout settings wizard: for a new layout, labels on a sheet or whole QSL cards;
// then the sheet from the catalogue ("Label Type") or a geometry of one's own ("Paper
// and Label Size"), and the lines of a label ("Finish"). The wizard edits a copy of the
// layout; the caller takes the result once the wizard was accepted.

#include "labels/LabelLayout.h"
#include "ui/designer/SettingsFinishPage.h"

#include <QWizard>

class QRadioButton;

namespace qx7 {

class Prompter;
class SettingsLabelTypePage;
class SettingsPaperPage;

class TQXDesSettingsForm : public QWizard
{
    Q_OBJECT
public:
    enum class Mode
    {
        NewLayout, // "New Layout Definition Wizard", starting with labels or cards
        Settings   // "Layout Settings" of the layout being edited
    };
    enum PageId
    {
        NewLayoutPage,
        LabelTypePage,
        PaperPage,
        FinishPage
    };

    TQXDesSettingsForm(const LabelLayout& layout, Mode mode, Prompter& prompter,
                       QWidget* parent = nullptr);
    ~TQXDesSettingsForm() override;

    // The layout with the settings written back and the finish actions done.
    const LabelLayout& resultLayout() const { return m_result; }

    int nextId() const override;
    void accept() override;

private:
    QWizardPage* newLayoutPage();
    void enterPage(int id);
    void showPictures();
    void writeBack();

    LabelLayout m_layout;
    LabelLayout m_result;
    Mode m_mode;
    Prompter& m_prompter;
    QRadioButton* m_labels = nullptr;
    QRadioButton* m_cards = nullptr;
    SettingsLabelTypePage* m_typePage;
    SettingsPaperPage* m_paperPage;
    SettingsFinishPage* m_finishPage;
};

} // namespace qx7
