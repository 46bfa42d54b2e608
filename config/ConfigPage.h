#pragma once
// One page of the configuration dialog. A page fills its controls from the data module
// (and, for lists kept only in the ini, from "qx7.ini"), checks them, copies them into
// the data module on Apply and writes its keys on OK.

#include <QString>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QVBoxLayout;

namespace qx7 {

class IniFile;
class TQXDM;

class ConfigPage : public QWidget
{
    Q_OBJECT
public:
    ConfigPage(QString helpTopic, QWidget* parent = nullptr);

    const QString& helpTopic() const { return m_helpTopic; }

    virtual void load(const TQXDM& dm, const IniFile& ini) = 0;
    // Empty when the page's values can be applied; else the message the user sees.
    virtual QString problem() const { return {}; }
    virtual void apply(TQXDM& dm) const = 0;
    // Writes the page's keys (after apply).
    virtual void write(const TQXDM& dm, IniFile& ini) const = 0;

signals:
    void changed();

protected:
    QVBoxLayout* box();
    // A check box named `name` that reports changes.
    QCheckBox* addCheck(const QString& caption, const char* name);
    // A framed group of radio buttons named `name`, item n having id n and the object
    // name "name_n", that reports changes.
    QButtonGroup* addRadioGroup(const QString& title, const QStringList& items, const char* name);
    // Tells the dialog about every later change of `w` (edits, ticks, selections).
    void watch(QWidget* w);

private:
    QString m_helpTopic;
};

// The introduction shown by the group nodes.
class IntroPage final : public ConfigPage
{
public:
    explicit IntroPage(QWidget* parent = nullptr);
    void load(const TQXDM&, const IniFile&) override {}
    void apply(TQXDM&) const override {}
    void write(const TQXDM&, IniFile&) const override {}
};

} // namespace qx7
