#include "ui/edit/TQXQslDateDlg.h"

#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace qx7 {

namespace {

// Keeps the focus in a field whose text is not a date.
class DateField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusOutEvent(QFocusEvent* e) override
    {
        bool valid = false;
        TQXQslDateDlg::parse(text(), valid);
        QLineEdit::focusOutEvent(e);
        if (!valid && isVisible() && window()->isVisible())
            setFocus();
    }
};

} // namespace

std::optional<Date> TQXQslDateDlg::parse(const QString& text, bool& valid)
{
    QString digits = text;
    digits.remove(QLatin1Char('-')).remove(QLatin1Char(' '));
    if (digits.isEmpty()) {
        valid = true;
        return std::nullopt;
    }
    static const QRegularExpression form(QStringLiteral("^(\\d\\d)-(\\d\\d)-(\\d{4})$"));
    const QRegularExpressionMatch m = form.match(text);
    Date d;
    if (m.hasMatch()) {
        d.day = m.captured(1).toInt();
        d.month = m.captured(2).toInt();
        d.year = m.captured(3).toInt();
    }
    valid = m.hasMatch() && d.isValidCalendarDate();
    if (!valid)
        return std::nullopt;
    return d;
}

QString TQXQslDateDlg::format(const std::optional<Date>& d)
{
    if (!d)
        return {};
    return QStringLiteral("%1-%2-%3")
        .arg(d->day, 2, 10, QLatin1Char('0'))
        .arg(d->month, 2, 10, QLatin1Char('0'))
        .arg(d->year, 4, 10, QLatin1Char('0'));
}

QLineEdit* TQXQslDateDlg::makeField(QWidget* parent)
{
    auto* e = new DateField(parent);
    e->setInputMask(QStringLiteral("99-99-9999; "));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00-00-00000")) + 16);
    return e;
}

TQXQslDateDlg::TQXQslDateDlg(std::optional<Date>& sent, std::optional<Date>& rcvd, QWidget* parent)
    : QDialog(parent), m_sentDate(sent), m_rcvdDate(rcvd)
{
    setWindowTitle(tr("QSL sent/rcvd Date"));
    setObjectName(QStringLiteral("TQXQslDateDlg"));
    auto* grid = new QGridLayout;
    m_sent = makeField(this);
    m_rcvd = makeField(this);
    m_sent->setObjectName(QStringLiteral("SentDateEdit"));
    m_rcvd->setObjectName(QStringLiteral("RcvdDateEdit"));
    m_ok = new QPushButton(tr("&OK"), this);
    m_ok->setDefault(true);
    const struct
    {
        const char* label;
        QLineEdit* edit;
        std::optional<Date>* date;
        const char* name;
    } rows[] = {{"QSL sent date:", m_sent, &m_sentDate, "Sent"},
                {"QSL rcvd date:", m_rcvd, &m_rcvdDate, "Rcvd"}};
    int r = 0;
    for (const auto& row : rows) {
        auto* label = new QLabel(tr(row.label), this);
        label->setBuddy(row.edit);
        row.edit->setText(format(*row.date));
        auto* today = new QPushButton(tr("Today"), this);
        auto* none = new QPushButton(tr("No date"), this);
        today->setObjectName(QStringLiteral("%1TodayButton").arg(QLatin1String(row.name)));
        none->setObjectName(QStringLiteral("%1NoDateButton").arg(QLatin1String(row.name)));
        today->setAutoDefault(false);
        none->setAutoDefault(false);
        QLineEdit* edit = row.edit;
        std::optional<Date>* date = row.date;
        connect(today, &QPushButton::clicked, this, [this, edit, date] {
            *date = Date::today(); // in effect even when the dialog is cancelled
            edit->setText(format(*date));
            m_ok->setFocus();
        });
        connect(none, &QPushButton::clicked, this, [this, edit] {
            edit->clear();
            m_ok->setFocus();
        });
        grid->addWidget(label, r, 0);
        grid->addWidget(row.edit, r, 1);
        grid->addWidget(new QLabel(QStringLiteral("dd-mm-yyyy"), this), r, 2);
        grid->addWidget(today, r, 3);
        grid->addWidget(none, r, 4);
        ++r;
    }
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    cancel->setAutoDefault(false);
    help->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, [this] { takeFields(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { HelpWindow::showTopic(QString::fromLatin1(help::kLogSearch), this); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

void TQXQslDateDlg::takeFields()
{
    bool sentValid = false, rcvdValid = false;
    const std::optional<Date> sent = parse(m_sent->text(), sentValid);
    const std::optional<Date> rcvd = parse(m_rcvd->text(), rcvdValid);
    if (!sentValid || !rcvdValid) {
        (sentValid ? m_rcvd : m_sent)->setFocus();
        return;
    }
    m_sentDate = sent;
    m_rcvdDate = rcvd;
    accept();
}

} // namespace qx7
