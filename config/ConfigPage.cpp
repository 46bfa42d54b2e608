#include "config/ConfigPage.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qx7 {

ConfigPage::ConfigPage(QString helpTopic, QWidget* parent)
    : QWidget(parent), m_helpTopic(std::move(helpTopic))
{
    auto* layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignTop);
}

QVBoxLayout* ConfigPage::box()
{
    return static_cast<QVBoxLayout*>(layout());
}

QCheckBox* ConfigPage::addCheck(const QString& caption, const char* name)
{
    auto* check = new QCheckBox(caption, this);
    check->setObjectName(QLatin1String(name));
    box()->addWidget(check);
    watch(check);
    return check;
}

QButtonGroup* ConfigPage::addRadioGroup(const QString& title, const QStringList& items,
                                        const char* name)
{
    auto* frame = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(this);
    group->setObjectName(QLatin1String(name));
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], frame);
        b->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
        group->addButton(b, i);
        layout->addWidget(b);
    }
    box()->addWidget(frame);
    connect(group, &QButtonGroup::idToggled, this, &ConfigPage::changed);
    return group;
}

void ConfigPage::watch(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        connect(b, &QAbstractButton::toggled, this, &ConfigPage::changed);
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        connect(e, &QLineEdit::textEdited, this, &ConfigPage::changed);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        connect(c, &QComboBox::currentTextChanged, this, &ConfigPage::changed);
    else if (auto* l = qobject_cast<QListWidget*>(w))
        connect(l, &QListWidget::itemChanged, this, &ConfigPage::changed);
    else if (auto* t = qobject_cast<QTableWidget*>(w))
        connect(t, &QTableWidget::itemChanged, this, &ConfigPage::changed);
}

IntroPage::IntroPage(QWidget* parent) : ConfigPage(QStringLiteral("config00"), parent)
{
    setObjectName(QStringLiteral("introPage"));
    auto* title = new QLabel(tr("QX Program Configuration"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    title->setFont(f);
    auto* text =
        new QLabel(tr("Click on the items and nodes in the pane to choose and set options."), this);
    text->setWordWrap(true);
    box()->addWidget(title);
    box()->addWidget(text);
}

} // namespace qx7
