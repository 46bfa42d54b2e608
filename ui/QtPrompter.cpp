#include "ui/QtPrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

namespace qx7 {

namespace {

struct ButtonMap
{
    PromptButton ours;
    QMessageBox::StandardButton qt;
};

constexpr ButtonMap kButtons[] = {
    {PromptButton::Ok, QMessageBox::Ok},
    {PromptButton::Cancel, QMessageBox::Cancel},
    {PromptButton::Yes, QMessageBox::Yes},
    {PromptButton::No, QMessageBox::No},
    {PromptButton::Abort, QMessageBox::Abort},
    {PromptButton::Retry, QMessageBox::Retry},
    {PromptButton::Ignore, QMessageBox::Ignore},
    {PromptButton::All, QMessageBox::YesToAll},
    {PromptButton::YesToAll, QMessageBox::YesToAll},
    {PromptButton::NoToAll, QMessageBox::NoToAll},
};

QMessageBox::Icon qtIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

PromptButton QtPrompter::ask(PromptIcon icon, const std::string& text, PromptButton buttons)
{
    QMessageBox box(
        qtIcon(icon), QApplication::applicationName(),
        QString::fromStdString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")),
        QMessageBox::NoButton, m_parent);
    for (const auto& b : kButtons)
        if (hasButton(buttons, b.ours))
            box.addButton(b.qt);
    QPushButton* print = hasButton(buttons, PromptButton::PrintLabels)
                             ? box.addButton(QObject::tr("&Print Labels"), QMessageBox::ActionRole)
                             : nullptr;
    const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
    if (print && box.clickedButton() == print)
        return PromptButton::PrintLabels;
    for (const auto& b : kButtons)
        if (b.qt == chosen && hasButton(buttons, b.ours))
            return b.ours;
    return hasButton(buttons, PromptButton::Cancel) ? PromptButton::Cancel : PromptButton::None;
}

ContinueChoice QtPrompter::askContinue(const std::string& text)
{
    QMessageBox box(QMessageBox::Question, QObject::tr("Confirm"), QString::fromStdString(text),
                    QMessageBox::NoButton, m_parent);
    box.setObjectName("TQXContinueDlg");
    QPushButton* yes = box.addButton(QObject::tr("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QObject::tr("&No"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QObject::tr("&Cancel"), QMessageBox::RejectRole);
    QPushButton* print = box.addButton(QObject::tr("&Print Labels"), QMessageBox::ActionRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    auto* dontShow = new QCheckBox(QObject::tr("Don't show this message"), &box);
    box.setCheckBox(dontShow);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    const PromptButton answer = clicked == yes     ? PromptButton::Yes
                                : clicked == no    ? PromptButton::No
                                : clicked == print ? PromptButton::PrintLabels
                                                   : PromptButton::Cancel;
    return {answer, dontShow->isChecked()};
}

} // namespace qx7
