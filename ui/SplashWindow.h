#pragma once
// The window shown while the program starts: a title, an action line and a progress
// bar that advances once per start step.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace qx7 {

class SplashWindow : public QWidget
{
public:
    explicit SplashWindow(int steps);
    void setAction(const QString& text);
    void advance();
    int position() const;

private:
    QLabel* m_action;
    QProgressBar* m_bar;
};

} // namespace qx7
