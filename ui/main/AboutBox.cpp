#include "ui/main/AboutBox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qx7 {

TQXAboutBox::TQXAboutBox(std::function<void()> openWebsite, QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutBox");
    setWindowTitle(tr("QX by QZ3QZ"));
    auto* title = new QLabel(tr("QX7 - QSL Labels"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(tr("Version 7.10"), this);
    version->setObjectName("VersionLabel");
    version->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton(tr("&OK"), this);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    auto* website = new QPushButton(tr("&QX Website"), this);
    website->setObjectName("WebsiteButton");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(website, &QPushButton::clicked, this, [open = std::move(openWebsite)] {
        if (open)
            open();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(website);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

} // namespace qx7
