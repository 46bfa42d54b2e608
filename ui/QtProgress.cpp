#include "ui/QtProgress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>

namespace qx7 {

QtProgress::QtProgress(QProgressBar* bar, QObject* parent) : QObject(parent), m_bar(bar) {}

void QtProgress::start(const std::string&, long long total)
{
    m_total = total;
    m_stopRequested = false;
    if (m_bar) {
        m_bar->setRange(0, total > 0 ? 1000 : 0);
        m_bar->setValue(0);
    }
    qApp->installEventFilter(this);
}

bool QtProgress::step(long long done)
{
    if (m_bar && m_total > 0)
        m_bar->setValue(static_cast<int>(done * 1000 / m_total));
    QApplication::processEvents();
    return !m_stopRequested;
}

void QtProgress::finish()
{
    qApp->removeEventFilter(this);
    if (m_bar)
        m_bar->reset();
}

bool QtProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_stopRequested = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qx7
