#include "ui/wizard/OptionButtons.h"

#include "ui/help/HelpWindow.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace qx7 {

QDialogButtonBox* optionButtons(QDialog& dialog, const char* helpTopic)
{
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QDialog::tr("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    buttons->addButton(QDialog::tr("&Cancel"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (helpTopic) {
        buttons->addButton(QDialog::tr("&Help"), QDialogButtonBox::HelpRole)
            ->setObjectName(QStringLiteral("HelpButton"));
        QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dialog, [&dialog, helpTopic] {
            HelpWindow::showTopic(QString::fromLatin1(helpTopic), &dialog);
        });
    }
    return buttons;
}

} // namespace qx7
