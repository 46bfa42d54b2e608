#pragma once
// Which help topic pressing a button (or a key, or a menu entry) opens, for the tests of
// the windows' Help.

#include "ui/help/HelpWindow.h"

#include <QPushButton>
#include <QString>
#include <QWidget>

#include <functional>

namespace qx7::helptest {

inline const QString kNoTopic = QStringLiteral("no_topic_yet");

// The topic `press` opens; empty when it opened none.
inline QString topicOpenedBy(const std::function<void()>& press)
{
    HelpWindow::showTopic(kNoTopic);
    press();
    const QString topic = HelpWindow::instance() ? HelpWindow::instance()->currentTopic() : "";
    return topic == kNoTopic ? QString() : topic;
}

inline QPushButton* helpButtonOf(QWidget& window)
{
    for (QPushButton* b : window.findChildren<QPushButton*>())
        if (b->text() == QLatin1String("&Help") || b->text() == QLatin1String("Help"))
            return b;
    return nullptr;
}

} // namespace qx7::helptest
