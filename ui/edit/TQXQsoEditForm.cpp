#include "ui/edit/TQXQsoEditForm.h"

#include "datamodule/TQXDM.h"
#include "store/QsoEdit.h"
#include "ui/log/LogTableModel.h"
#include "ui/log/TMDIChild.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace qx7 {

namespace {

// Turns typed letters to upper case before the validator sees them.
class UpperEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const QString t = e->text().toUpper();
        if (!t.isEmpty() && t != e->text()) {
            QKeyEvent up(e->type(), e->key(), e->modifiers(), t);
            QLineEdit::keyPressEvent(&up);
            return;
        }
        QLineEdit::keyPressEvent(e);
    }
};

const char* const kTextFields[] = {"CALL", "DATE", "TIME", "BAND", "MODE", "SUBM", "RSTS", "RSTR",
                                   "QSLS", "QSLR", "DATS", "DATR", "QMGR", "COMM", "FREQ"};

} // namespace

TQXQsoEditForm::TQXQsoEditForm(TQXDM& dm, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint), m_dm(dm)
{
    setWindowTitle(tr("QSO Edit"));
    setObjectName(QStringLiteral("TQXQsoEditForm"));
    auto* form = new QFormLayout;
    setLayout(new QVBoxLayout);
    static_cast<QVBoxLayout*>(layout())->addLayout(form);
    addField("CALL", "Call", "Call", "[/0-9A-Z]*", true);
    addField("DATE", "Date", "Date (yyyymmdd)", "[0-9]*", false);
    addField("TIME", "Time", "Time (hhmm)", "[0-9]*", false);
    addField("BAND", "Band", "Band", "", false);
    addField("MODE", "Mode", "Mode", "", true);
    addField("SUBM", "SubM", "", "", false);
    addField("RSTS", "RST sent", "RST sent", "[ +0-9MOT]*", true);
    addField("RSTR", "RST rcvd", "RST received", "[ +0-9MOT]*", true);
    addField("QSLS", "QSL sent", "QSL sent: N=No, Y=Yes, B=Bureau, D=Direct, !=Never", "[NYBD!]?",
             true);
    addField("QSLR", "QSL rcvd", "QSL received: N=No, Y=Yes, B=Bureau, D=Direct, !=Never",
             "[NYBD!]?", true);
    addField("DATS", "Date (sent)", "Date QSL sent (yyyymmdd)", "[0-9]*", false);
    addField("DATR", "Date (rcvd)", "Date QSL rcvd (yyyymmdd)", "[0-9]*", false);
    addField("QMGR", "Mgr", "", "[-/0-9A-Z]*", true);
    addField("COMM", "Comm", "Comment", "", false);
    addField("FREQ", "Freq", "Frequency", "[.0-9A-Z]*", true);
    for (const char* name : kTextFields) {
        QLineEdit* e = m_fields.at(name);
        form->addRow(e->property("label").toString(), e);
    }
    m_mark = new QCheckBox(tr("Mark"), this);
    m_mark->setToolTip(tr("mark QSO"));
    form->addRow(QString(), m_mark);
    for (const char* name : {"DATE", "TIME", "DATS", "DATR"})
        connect(m_fields.at(name), &QLineEdit::editingFinished, this,
                [this, name] { checkOnLeave(name); });

    auto* nav = new QHBoxLayout;
    const struct
    {
        const char* name;
        const char* text;
        std::function<void()> run;
    } buttons[] = {
        {"First", "|<",
         [this] {
             if (m_log)
                 m_log->First();
             load();
         }},
        {"Prior", "<",
         [this] {
             if (m_log)
                 m_log->moveBy(-1);
             load();
         }},
        {"Next", ">",
         [this] {
             if (m_log)
                 m_log->moveBy(1);
             load();
         }},
        {"Last", ">|",
         [this] {
             if (m_log)
                 m_log->Last();
             load();
         }},
        {"Insert", "+", [this] { insert(); }},
        {"Delete", "-", [this] { removeCurrent(); }},
        {"Save", "\u2713", [this] { save(); }},
        {"Cancel", "\u2717", [this] { load(); }},
    };
    for (const auto& b : buttons) {
        auto* p = new QPushButton(QString::fromUtf8(b.text), this);
        p->setObjectName(QStringLiteral("%1Button").arg(QLatin1String(b.name)));
        p->setToolTip(QLatin1String(b.name));
        p->setAutoDefault(false);
        p->setFixedWidth(32);
        connect(p, &QPushButton::clicked, this, [this, run = b.run] {
            run();
            m_fields.at("CALL")->setFocus();
        });
        nav->addWidget(p);
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(nav);
    setFixedSize(sizeHint());
}

void TQXQsoEditForm::addField(const char* name, const char* label, const char* hint,
                              const char* allowed, bool upper)
{
    QLineEdit* e = upper ? new UpperEdit(this) : new QLineEdit(this);
    e->setObjectName(QLatin1String(name));
    e->setProperty("label", tr(label));
    if (*hint)
        e->setToolTip(tr(hint));
    if (*allowed)
        e->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(allowed)), e));
    m_fields[name] = e;
}

QLineEdit* TQXQsoEditForm::field(const char* name) const
{
    auto it = m_fields.find(name);
    return it == m_fields.end() ? nullptr : it->second;
}

QPushButton* TQXQsoEditForm::button(const char* name) const
{
    return findChild<QPushButton*>(QStringLiteral("%1Button").arg(QLatin1String(name)));
}

void TQXQsoEditForm::checkOnLeave(const char* name)
{
    QLineEdit* e = m_fields.at(name);
    const std::string msg = checkQsoField(name, e->text().toStdString());
    if (msg.empty() || !isVisible())
        return;
    m_dm.prompter().error(msg);
    e->setFocus();
}

void TQXQsoEditForm::bind(TMDIChild* log)
{
    m_log = log;
    load();
}

void TQXQsoEditForm::load()
{
    m_inserting = false;
    const bool any = m_log && m_log->table().isOpen() && m_log->table().recNo() != 0;
    for (const auto& [name, e] : m_fields) {
        QSignalBlocker quiet(e);
        e->setText(any ? QString::fromStdString(m_log->currentText(name.c_str())) : QString());
    }
    m_mark->setChecked(any && m_log->currentText("MARK") == "T");
}

void TQXQsoEditForm::insert()
{
    for (const auto& [name, e] : m_fields) {
        QSignalBlocker quiet(e);
        e->clear();
    }
    m_mark->setChecked(false);
    m_inserting = true;
}

bool TQXQsoEditForm::save()
{
    if (!m_log)
        return false;
    std::vector<FieldValue> values;
    for (const auto& [name, e] : m_fields)
        values.push_back({name, e->text().toStdString()});
    values.push_back({"MARK", m_mark->isChecked() ? "T" : "F"});
    dbase::Table& t = m_log->table();
    const std::string msg = m_inserting ? AppendQso(t, values) : SetQsoFields(t, values);
    if (!msg.empty()) {
        m_dm.prompter().error(msg); // the record stays in the fields to be mended
        return false;
    }
    m_inserting = false;
    m_log->showSearchResult(m_log->model()->isCounted());
    emit recordChanged();
    return true;
}

void TQXQsoEditForm::removeCurrent()
{
    if (!m_log || m_log->table().recNo() == 0)
        return;
    if (!m_dm.prompter().confirm("Delete QSO " + m_log->currentText("CALL") + "?"))
        return;
    try {
        m_log->table().deleteRecord();
    } catch (const dbase::Error& e) {
        m_dm.prompter().error(e.what());
    }
    m_log->showSearchResult(m_log->model()->isCounted());
    load();
    emit recordChanged();
}

void TQXQsoEditForm::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        load(); // drops what was typed
        return;
    }
    QWidget::keyPressEvent(e);
}

} // namespace qx7
