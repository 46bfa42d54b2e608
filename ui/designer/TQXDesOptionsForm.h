#pragma once
// The designer's own options: frames over the elements, the grids elements align to
// with the mouse and with the arrow keys, the unit measures are shown in, the grid dots.

#include "ui/designer/DesignerOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QRadioButton;

namespace qx7 {

class TQXDesOptionsForm : public QDialog
{
    Q_OBJECT
public:
    explicit TQXDesOptionsForm(const DesignerOptions& options, QWidget* parent = nullptr);

    DesignerOptions options() const;

private:
    QDoubleSpinBox* gridBox(const char* name, double mm);

    DesignerOptions m_start;
    QCheckBox* m_showFrames;
    QComboBox* m_color;
    QComboBox* m_line;
    QGroupBox* m_align;
    QDoubleSpinBox* m_gridX;
    QDoubleSpinBox* m_gridY;
    QDoubleSpinBox* m_keyGridX;
    QDoubleSpinBox* m_keyGridY;
    QRadioButton* m_mm;
    QRadioButton* m_inches;
    QRadioButton* m_chars;
    QCheckBox* m_showGrid;
};

} // namespace qx7
