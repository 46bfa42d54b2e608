#include "ui/main/SearchToolbar.h"

#include "store/SearchKeys.h"

#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimeEdit>
#include <QToolButton>

#include <array>

namespace qx7 {

namespace {

QLineEdit* callEdit(const char* name, const QString& hint, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setToolTip(hint);
    e->setMaxLength(16);
    e->setFixedWidth(100);
    return e;
}

QComboBox* listBox(const char* name, const QString& hint, const std::vector<std::string>& items,
                   QWidget* parent)
{
    auto* b = new QComboBox(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setMaxVisibleItems(11);
    for (const std::string& s : items)
        b->addItem(QString::fromStdString(s));
    b->setMinimumWidth(70);
    return b;
}

} // namespace

SearchToolbar::SearchToolbar(const std::vector<std::string>& bands,
                             const std::vector<std::string>& modes, QWidget* parent)
    : QToolBar(tr("Search Toolbar"), parent)
{
    setObjectName("SearchToolbar");
    setFloatable(false);
    m_callFrom = callEdit("CallFromEdit", tr("Search for Callsign [Alt-C]"), this);
    m_callTo = callEdit("CallToEdit", tr("Search for call ...to (Range)  [Alt-R]"), this);
    m_dateFrom = new QDateEdit(QDate(1950, 1, 1), this);
    m_dateFrom->setObjectName("DateFromPicker");
    m_dateFrom->setToolTip(tr("Date from [Alt-D]"));
    m_timeFrom = new QTimeEdit(QTime(0, 0), this);
    m_timeFrom->setObjectName("TimeFromPicker");
    m_timeFrom->setToolTip(tr("Time (hh:mm) [Alt-T]"));
    m_timeFrom->setDisplayFormat("HH:mm");
    m_dateTo = new QDateEdit(QDate::currentDate(), this);
    m_dateTo->setObjectName("DateToPicker");
    m_dateTo->setToolTip(tr("...to Date (Range) [Alt-E]"));
    m_timeTo = new QTimeEdit(QTime(0, 0), this);
    m_timeTo->setObjectName("TimeToPicker");
    m_timeTo->setToolTip(tr("...to Time (Range) [Alt-I]"));
    m_timeTo->setDisplayFormat("HH:mm");
    m_dateFrom->setDisplayFormat("yyyy-MM-dd");
    m_dateTo->setDisplayFormat("yyyy-MM-dd");
    m_band = listBox("BandComboBox", tr("Band [Alt-B]"), bands, this);
    m_mode = listBox("ModeComboBox", tr("Mode [Alt-M]"), modes, this);
    m_manager2 = callEdit("ManagerEdit2", tr("QSL Manager Call"), this);

    m_callFromAction = addWidget(m_callFrom);
    m_callToAction = addWidget(m_callTo);
    m_dateActions << addWidget(m_dateFrom) << addWidget(m_timeFrom) << addWidget(m_dateTo)
                  << addWidget(m_timeTo);
    addWidget(m_band);
    addWidget(m_mode);
    m_manager2Action = addWidget(m_manager2);

    m_sentButton = new QToolButton(this);
    m_sentButton->setObjectName("QSLsFilterButton");
    m_sentButton->setText(tr("Qs"));
    m_sentButton->setToolTip(tr("Filter for \"QSL sent\" status"));
    m_sentButton->setPopupMode(QToolButton::InstantPopup);
    m_sentButton->setCheckable(true);
    addWidget(m_sentButton);
    m_receivedButton = new QToolButton(this);
    m_receivedButton->setObjectName("QSLrFilterButton");
    m_receivedButton->setText(tr("Qr"));
    m_receivedButton->setToolTip(tr("Filter for \"QSL received\" status"));
    m_receivedButton->setPopupMode(QToolButton::InstantPopup);
    m_receivedButton->setCheckable(true);
    addWidget(m_receivedButton);

    for (QLineEdit* e : {m_callFrom, m_callTo, m_manager2}) {
        e->installEventFilter(this);
        connect(e, &QLineEdit::textChanged, this, &SearchToolbar::changed);
    }
    for (QDateEdit* d : {m_dateFrom, m_dateTo})
        connect(d, &QDateEdit::dateChanged, this, &SearchToolbar::changed);
    for (QTimeEdit* t : {m_timeFrom, m_timeTo})
        connect(t, &QTimeEdit::timeChanged, this, &SearchToolbar::changed);
    for (QComboBox* b : {m_band, m_mode})
        connect(b, &QComboBox::currentIndexChanged, this, &SearchToolbar::changed);

    m_debounce.setSingleShot(true);
    m_debounce.setInterval(500);
    connect(&m_debounce, &QTimer::timeout, this, &SearchToolbar::searchChanged);
    setIndexNumber(0);
}

void SearchToolbar::changed()
{
    if (!m_quiet)
        m_debounce.start();
}

bool SearchToolbar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QToolBar::eventFilter(watched, event);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    const QString t = key->text();
    if (!edit || t.size() != 1 || t.at(0).unicode() > 127 || t.at(0) < QChar(' '))
        return QToolBar::eventFilter(watched, event); // editing and navigation keys
    const char c = static_cast<char>(t.at(0).unicode());
    const auto accepted =
        edit == m_callFrom ? acceptCallFromKey(edit->text().toStdString(), c) : acceptCallToKey(c);
    if (accepted && *accepted != c) {
        edit->insert(QString(QChar(*accepted)));
        return true;
    }
    return !accepted;
}

SearchInputs SearchToolbar::inputs() const
{
    SearchInputs in;
    in.indexNumber = m_index;
    in.callFrom = m_callFrom->text().toUpper().toStdString();
    in.callTo = m_callTo->text().toUpper().toStdString();
    in.dateFrom = m_dateFrom->date().toString("yyyyMMdd").toStdString();
    in.timeFrom = m_timeFrom->time().toString("HHmm").toStdString();
    in.dateTo = m_dateTo->date().toString("yyyyMMdd").toStdString();
    in.timeTo = m_timeTo->time().toString("HHmm").toStdString();
    in.manager = m_manager2->text().toUpper().toStdString();
    in.band = m_band->currentIndex() > 0 ? m_band->currentText().trimmed().toStdString() : "";
    in.mode = m_mode->currentIndex() > 0 ? m_mode->currentText().trimmed().toStdString() : "";
    in.markedOnly = m_markedOnly;
    in.qslsFilter = m_sent;
    in.qslrFilter = m_received;
    return in;
}

void SearchToolbar::setIndexNumber(int indexNumber)
{
    m_index = indexNumber;
    m_callFromAction->setVisible(indexNumber != 1);
    m_callToAction->setVisible(indexNumber != 1);
    for (QAction* a : m_dateActions)
        a->setVisible(indexNumber == 1);
    m_manager2Action->setVisible(indexNumber == 2);
}

void SearchToolbar::setMarkedOnly(bool on)
{
    m_markedOnly = on;
    changed();
}

void SearchToolbar::setQslFilters(char sent, char received)
{
    m_sent = sent;
    m_received = received;
    changed();
}

QWidget* SearchToolbar::inputOf(int id) const
{
    const std::array<QWidget*, 10> inputs = {m_callFrom, m_callTo,  m_dateFrom, m_timeFrom,
                                             m_dateTo,   m_timeTo,  m_band,     m_mode,
                                             nullptr,    m_manager2};
    return id >= 1001 && id <= 1010 ? inputs[static_cast<size_t>(id - 1001)] : nullptr;
}

bool SearchToolbar::inputShown(int id) const
{
    if (id == 1001 || id == 1002)
        return m_index != 1;
    if (id >= 1003 && id <= 1006)
        return m_index == 1;
    if (id == 1010)
        return m_index == 2;
    return id == 1007 || id == 1008;
}

int SearchToolbar::idOf(const QObject* input) const
{
    for (int id = 1001; id <= 1010; ++id)
        if (input && inputOf(id) == input)
            return id;
    return 0;
}

void SearchToolbar::wipe()
{
    m_quiet = true;
    m_callFrom->clear();
    m_callTo->clear();
    m_band->setCurrentIndex(0);
    m_mode->setCurrentIndex(0);
    m_manager2->clear();
    m_dateFrom->setDate(QDate(1950, 1, 1));
    m_timeFrom->setTime(QTime(0, 0));
    m_timeTo->setTime(QTime(0, 0));
    m_dateTo->setDate(QDate::currentDate());
    m_sent = m_received = ' ';
    m_markedOnly = false;
    m_sentButton->setChecked(false);
    m_receivedButton->setChecked(false);
    m_quiet = false;
    m_debounce.stop();
}

void SearchToolbar::prefill(const std::string& call, const std::string& date,
                            const std::string& manager)
{
    m_quiet = true;
    if (m_index == 0) {
        m_callFrom->setText(QString::fromStdString(call));
    } else if (m_index == 1) {
        const QDate d = QDate::fromString(QString::fromStdString(date), "yyyyMMdd");
        if (d.isValid())
            m_dateFrom->setDate(d);
        m_dateTo->setDate(QDate::currentDate());
        m_timeTo->setTime(QTime(0, 0));
    } else {
        m_callFrom->clear();
        m_manager2->setText(QString::fromStdString(manager));
    }
    m_quiet = false;
}

void SearchToolbar::clearCallFrom()
{
    m_quiet = true;
    m_callFrom->clear();
    m_quiet = false;
}

} // namespace qx7
