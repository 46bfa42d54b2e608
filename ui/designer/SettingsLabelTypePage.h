#pragma once
// The "Label Type" page of the layout settings wizard: a label maker and one of its
// sheets from the catalogue, or "Custom" for a geometry of one's own.

#include "labels/LabelFormatRec.h"
#include "labels/SheetCatalogue.h"

#include <QWizardPage>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;

namespace qx7 {

class SettingsLabelTypePage : public QWizardPage
{
    Q_OBJECT
public:
    SettingsLabelTypePage(LayoutUnit unit, const UnitContext& ctx, QWidget* parent = nullptr);

    // Selects the maker and the type a layout remembers (both ignoring case); nothing
    // changes when the maker is not in the catalogue. True when a type was selected.
    bool selectRemembered(const std::string& labelName, const std::string& labelType);

    bool standardType() const;
    // The maker shown ("Custom" when none) and the selected type's list text.
    std::string maker() const;
    std::string typeText() const;

    // Custom geometry: "Custom" maker, no type, both locked until "Standard Type".
    void setCustomType();
    void setPreview(const QPixmap& picture);

signals:
    // A sheet was chosen; `sheet` in the wizard's unit.
    void sheetChosen(const SheetGeometry& sheet);

private:
    void makerChosen();
    void typeChosen();

    LayoutUnit m_unit;
    UnitContext m_ctx;
    std::vector<SheetType> m_types;
    QRadioButton* m_standard;
    QRadioButton* m_custom;
    QComboBox* m_makers;
    QListWidget* m_list;
    QLabel* m_listCaption;
    QLabel* m_preview;
};

} // namespace qx7
