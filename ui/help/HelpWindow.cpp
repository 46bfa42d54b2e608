#include "ui/help/HelpWindow.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include "ui/help/HelpTopics.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>

namespace qx7 {

namespace {
QPointer<HelpWindow> g_window;
}

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent), m_list(new QListWidget), m_browser(new QTextBrowser)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("QX Help"));
    m_list->setObjectName(QStringLiteral("topicList"));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenLinks(false);
    for (const help::Topic& t : help::allTopics()) {
        auto* item = new QListWidgetItem(QString::fromUtf8(t.title), m_list);
        item->setData(Qt::UserRole, QString::fromLatin1(t.name));
    }
    auto* splitter = new QSplitter;
    splitter->addWidget(m_list);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(760, 520);
    connectSignals();
    openTopic(QString::fromLatin1(help::kContents));
}

void HelpWindow::connectSignals()
{
    connect(m_list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            openTopic(item->data(Qt::UserRole).toString());
    });
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("topic"))
            openTopic(url.path());
    });
}

void HelpWindow::openTopic(const QString& topic)
{
    m_topic = topic;
    m_browser->setHtml(help::topicPage(topic));
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->data(Qt::UserRole).toString() == topic && m_list->currentRow() != i)
            m_list->setCurrentRow(i);
}

HelpWindow* HelpWindow::showTopic(const QString& topic, QWidget* parent)
{
    if (!g_window) {
        g_window = new HelpWindow(parent ? parent->window() : nullptr);
        g_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    g_window->openTopic(topic);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

HelpWindow* HelpWindow::instance()
{
    return g_window;
}

QPushButton* addHelpButton(QDialogButtonBox& buttons, const char* topic)
{
    QPushButton* help = buttons.addButton(QObject::tr("&Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("helpButton"));
    QObject::connect(help, &QPushButton::clicked, &buttons, [&buttons, topic] {
        HelpWindow::showTopic(QString::fromLatin1(topic), buttons.window());
    });
    return help;
}

} // namespace qx7
