#include "ui/wizard/TQXToolsDateForm.h"

#include "convert/normalize/ParseDate.h"
#include "core/DateFormat.h"
#include "ui/help/HelpTopics.h"
#include "ui/wizard/OptionButtons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace qx7 {

namespace {

QLabel* panel(const char* name)
{
    auto* l = new QLabel;
    l->setObjectName(QLatin1String(name));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(160);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

TQXToolsDateForm::TQXToolsDateForm(const QString& format, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TQXToolsDateForm"));
    setWindowTitle(tr("Date Format"));
    auto* v = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    m_edit = new QLineEdit;
    m_edit->setObjectName(QStringLiteral("DateFormatEdit"));
    // Only the letters and separators the import understands can be typed.
    m_edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[dmMy\\-./ ]*")), m_edit));
    m_written = panel("DateDisplayPanel1");
    m_read = panel("DateDisplayPanel2");
    m_check = new QToolButton;
    m_check->setObjectName(QStringLiteral("DateCheckButton"));
    m_check->setAutoRaise(true);
    m_check->setIconSize(QSize(20, 20));
    auto* formatLabel = new QLabel(tr("&Format:"));
    formatLabel->setBuddy(m_edit);
    top->addWidget(formatLabel, 0, 0);
    top->addWidget(m_edit, 0, 1);
    top->addWidget(new QLabel(tr("31 December 2001 written:")), 1, 0);
    top->addWidget(m_written, 1, 1);
    top->addWidget(new QLabel(tr("read back:")), 2, 0);
    top->addWidget(m_read, 2, 1);
    top->addWidget(m_check, 2, 2);
    v->addLayout(top);

    auto* legend = new QGridLayout;
    const char* const rows[][2] = {
        {"d, m:", "day, month as a number without a leading zero"},
        {"dd, mm, yy:", "day, month, year as a number with a leading zero"},
        {"yyyy:", "yyyy: as a four-digit number (1949-2099)"},
        {"mmm", "month as month name"},
        {"- / .:", "(optional) separators between day, month and year"},
    };
    int r = 0;
    for (const auto& row : rows) {
        auto* key = new QLabel(tr(row[0]));
        key->setStyleSheet(QStringLiteral("font-weight: bold"));
        legend->addWidget(key, r, 0);
        legend->addWidget(new QLabel(tr(row[1])), r++, 1);
    }
    legend->addWidget(new QLabel(tr("Examples:")), r, 0);
    legend->addWidget(new QLabel(tr("yyyy-mm-dd, mm.dd.yy, ddmmyyyy")), r, 1);
    v->addLayout(legend);

    auto* buttons = optionButtons(*this, help::kDateFormat);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { selfTest(); });
    m_edit->setText(format);
    selfTest();
}

QString TQXToolsDateForm::format() const
{
    return m_edit->text();
}

QString TQXToolsDateForm::writtenText() const
{
    return m_written->text();
}

QString TQXToolsDateForm::readText() const
{
    return m_read->text();
}

void TQXToolsDateForm::selfTest()
{
    const std::string format = m_edit->text().toStdString();
    const Date testDate{2001, 12, 31};
    const std::string written = formatDateTime(format, testDate);
    m_written->setText(QString::fromStdString(written));
    const std::string back = format.empty() ? std::string() : ParseDate(written, format);
    const auto date = parseYmd(back);
    m_works = date.has_value();
    m_read->setText(m_works ? QString::fromStdString(formatDateTime("dd.mmm.yyyy", *date))
                            : tr("- Conversion error -"));
    m_check->setIcon(style()->standardIcon(m_works ? QStyle::SP_DialogApplyButton
                                                   : QStyle::SP_MessageBoxCritical));
    m_check->setToolTip(m_works ? tr("valid") : tr("invalid"));
}

QString TQXToolsDateForm::edit(const QString& format, QWidget* parent)
{
    TQXToolsDateForm dlg(format, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.format() : format;
}

} // namespace qx7
