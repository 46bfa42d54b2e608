#include "ui/SplashWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace qx7 {

SplashWindow::SplashWindow(int steps)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("SplashWindow");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("QX7 - QSL Labels"), this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    m_action = new QLabel(this);
    m_action->setObjectName("ActionLine");
    m_bar = new QProgressBar(this);
    m_bar->setObjectName("SplashProgress");
    m_bar->setRange(0, steps);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    layout->addWidget(title);
    layout->addWidget(m_action);
    layout->addWidget(m_bar);
    resize(420, 160);
}

void SplashWindow::setAction(const QString& text)
{
    m_action->setText(text);
    QApplication::processEvents();
}

void SplashWindow::advance()
{
    m_bar->setValue(m_bar->value() + 1);
    QApplication::processEvents();
}

int SplashWindow::position() const
{
    return m_bar->value();
}

} // namespace qx7
