#include "ui/wizard/TextLayoutControls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qx7 {

TextTypeChoice makeTextTypeChoice()
{
    TextTypeChoice c{};
    c.box = new QGroupBox(QObject::tr("Text type"));
    c.box->setObjectName(QStringLiteral("TextTypeRadioGroup"));
    c.layout = new QVBoxLayout(c.box);
    c.delimited = new QRadioButton(QObject::tr("&Delimited - Characters separate each field"));
    c.delimited->setObjectName(QStringLiteral("DelimitedRadio"));
    c.fixed = new QRadioButton(QObject::tr("Fixed &Width - Fields are aligned in fixed columns"));
    c.fixed->setObjectName(QStringLiteral("FixedWidthRadio"));
    c.layout->addWidget(c.delimited);
    c.layout->addWidget(c.fixed);
    return c;
}

QComboBox* addQualifierRow(QBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("TextQualifierComboBox"));
    box->addItems({QObject::tr("none"), QStringLiteral("\""), QStringLiteral("'")});
    auto* caption = new QLabel(QObject::tr("Text &qualifier:"));
    caption->setBuddy(box);
    row->addWidget(caption);
    row->addWidget(box);
    row->addStretch();
    layout->addLayout(row);
    return box;
}

char qualifierOf(const QComboBox* box)
{
    const int i = box->currentIndex();
    return i == 1 ? '"' : i == 2 ? '\'' : '\0';
}

void showQualifier(QComboBox* box, int qualifier)
{
    box->setCurrentIndex(qualifier == '"' ? 1 : qualifier == '\'' ? 2 : 0);
}

} // namespace qx7
