#pragma once
// The designer's own options: the grid step elements move and snap by, and whether
// they snap at all.

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;

namespace qx7 {

class TQXDesOptionsForm : public QDialog
{
    Q_OBJECT
public:
    TQXDesOptionsForm(double gridMm, bool snap, QWidget* parent = nullptr);

    double gridMm() const;
    bool snap() const;

private:
    QDoubleSpinBox* m_grid;
    QCheckBox* m_snap;
};

} // namespace qx7
