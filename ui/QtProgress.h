#pragma once
// Progress for long runs inside the window: keeps the window alive by processing
// pending events after each step, and turns Escape into a request to stop.

#include "core/Progress.h"

#include <QObject>

class QProgressBar;

namespace qx7 {

class QtProgress : public QObject, public Progress
{
public:
    explicit QtProgress(QProgressBar* bar = nullptr, QObject* parent = nullptr);
    void start(const std::string& caption, long long total) override;
    bool step(long long done) override;
    void finish() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QProgressBar* m_bar;
    long long m_total = 0;
    bool m_stopRequested = false;
};

} // namespace qx7
