#pragma once
// "ADIF Import Options": which ADIF field of an imported file becomes the QSO comment.
// A choice counts at once for the conversions of this session; "&OK" also keeps it in
// "qx7.ini" for the next start.

#include <QDialog>

class QComboBox;

namespace qx7 {

class TQXDM;

class TQXToolsAdifForm : public QDialog
{
    Q_OBJECT
public:
    explicit TQXToolsAdifForm(TQXDM& dm, QWidget* parent = nullptr);

private:
    void choose(int index);
    void save();

    TQXDM& m_dm;
    QComboBox* m_choices;
};

} // namespace qx7
