#pragma once
// The "Finish" page of the layout settings wizard: QSO and footer lines with their
// spaces, the layout's description, and what to do to the label once the settings are
// taken (a new template, completing the lines, aligning them).

#include "labels/LabelLayout.h"

#include <QWizardPage>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace qx7 {

struct FinishActions
{
    bool createTemplate = false;
    bool addMissingFields = false;
    bool adjustLines = false;
};

class SettingsFinishPage : public QWizardPage
{
    Q_OBJECT
public:
    explicit SettingsFinishPage(const LabelLayout& layout, QWidget* parent = nullptr);

    // Writes lines, spaces and description into `layout` (an empty space is 0).
    void writeTo(LabelLayout& layout) const;
    FinishActions actions() const;
    void setActions(const FinishActions& actions);
    void setPreview(const QPixmap& picture);

private:
    LayoutUnit m_unit;
    UnitContext m_ctx;
    QSpinBox* m_qsoLines;
    QSpinBox* m_footerLines;
    QLineEdit* m_qsoSpace;
    QLineEdit* m_footerSpace;
    QPlainTextEdit* m_description;
    QCheckBox* m_template;
    QCheckBox* m_addMissing;
    QCheckBox* m_adjust;
    QLabel* m_preview;
};

} // namespace qx7
