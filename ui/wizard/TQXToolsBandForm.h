#pragma once
// "Band/frequency field contains": whether a text or dBase column holds bands in metres,
// frequencies in MHz, or either; the import reads ambiguous values such as "10" by it.

#include <QDialog>

class QRadioButton;

namespace qx7 {

class TQXToolsBandForm : public QDialog
{
    Q_OBJECT
public:
    // `bandMode`: -1 band or frequency, 0 band in metres only, 1 frequency only.
    explicit TQXToolsBandForm(int bandMode, QWidget* parent = nullptr);
    int bandMode() const;

    // Modal: the chosen band mode after "&OK", the old one otherwise.
    static int edit(int bandMode, QWidget* parent = nullptr);

private:
    QRadioButton* m_choices[3];
};

} // namespace qx7
