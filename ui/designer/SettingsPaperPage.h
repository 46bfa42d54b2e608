#pragma once
// The "Paper and Label Size" page of the layout settings wizard: paper, orientation,
// margins, label size, columns, rows and the spaces between the labels. Leaving a field
// recomputes the fields that depend on it; a geometry that leaves no room for the
// labels is refused with a message and the fields stay as typed.

#include "labels/CustomGeometry.h"
#include "labels/LabelFormatRec.h"

#include <QWizardPage>

#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace qx7 {

class Prompter;

// A wizard geometry (in `unit`) as the sheet picture draws it, in millimetres.
SheetGeometry sheetInMm(const CustomGeometry& g, LayoutUnit unit, const UnitContext& ctx);
// A catalogue sheet (in `unit`) as the wizard's geometry.
CustomGeometry geometryOfSheet(const SheetGeometry& sheet);

class SettingsPaperPage : public QWizardPage
{
    Q_OBJECT
public:
    SettingsPaperPage(LayoutUnit unit, const UnitContext& ctx, Prompter& prompter,
                      QWidget* parent = nullptr);

    // Shows `g` without recomputing anything (a sheet taken from the catalogue).
    void setGeometry(const CustomGeometry& g);
    const CustomGeometry& geometry() const { return m_geometry; }

    // QSL cards: custom paper, one printable area, no spaces; the captions say so.
    void setCardMode(bool cards);
    bool cardMode() const { return m_cards; }

    // Recomputes from every field as after leaving a margin; false (with the message
    // shown) when the labels do not fit.
    bool validatePage() override;

signals:
    // The geometry shown changed (the pictures follow).
    void geometryChanged();
    // The user's own numbers replaced a catalogue sheet's.
    void customised();

private:
    enum class Field
    {
        PaperWidth,
        PaperLength,
        Top,
        Bottom,
        Left,
        Right,
        LabelWidth,
        LabelHeight,
        ColumnSpace,
        RowSpace
    };
    QLineEdit* addMeasure(Field field, const char* objectName);
    QSpinBox* addCount(const char* objectName);
    void buildLayout();
    void connectSignals();

    void showGeometry();
    void readFields(CustomGeometry& g) const;
    void fieldLeft(GeometryField kind);
    void paperChosen();
    void orientationChosen();
    void updateEnabledStates();

    LayoutUnit m_unit;
    UnitContext m_ctx;
    Prompter& m_prompter;
    CustomGeometry m_geometry;
    bool m_cards = false;
    bool m_filling = false;

    QComboBox* m_paper;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    std::map<Field, QLineEdit*> m_measures;
    QSpinBox* m_columns;
    QSpinBox* m_rows;
    QLabel* m_labelWidthCaption;
    QLabel* m_labelHeightCaption;
    QLabel* m_preview;
};

} // namespace qx7
