#pragma once
// "QSO Edit": one QSO of the active log window in fields, with a record navigator. Dates
// and the time are checked when the field is left; a record is written only whole and
// checked, and is on disk when Save returns.

#include <QPointer>
#include <QWidget>

#include <map>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace qx7 {

class TMDIChild;
class TQXDM;

class TQXQsoEditForm : public QWidget
{
    Q_OBJECT
public:
    TQXQsoEditForm(TQXDM& dm, QWidget* parent = nullptr);

    void bind(TMDIChild* log); // shows the log's current QSO; nullptr empties the fields
    void load();               // the current QSO again (Cancel, Escape)
    bool save();               // false with the message shown when a value is bad
    void insert();             // empty fields for a new QSO, written by save()
    void removeCurrent();      // after "Delete QSO?" is answered Yes

    QLineEdit* field(const char* name) const;
    QCheckBox* markBox() const { return m_mark; }
    QPushButton* button(const char* name) const;

signals:
    void recordChanged();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void addField(const char* name, const char* label, const char* hint, const char* allowed,
                  bool upper);
    void checkOnLeave(const char* name);

    TQXDM& m_dm;
    QPointer<TMDIChild> m_log;
    std::map<std::string, QLineEdit*> m_fields;
    QCheckBox* m_mark = nullptr;
    bool m_inserting = false;
};

} // namespace qx7
