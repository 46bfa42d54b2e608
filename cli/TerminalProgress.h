#pragma once
// Progress of long runs on the terminal: a percentage now and then, so that a long
// import shows it is alive without flooding the screen.

#include "core/Progress.h"

#include <chrono>
#include <ostream>
#include <string>

namespace qx7::cli {

class TerminalProgress : public Progress
{
public:
    explicit TerminalProgress(std::ostream& err) : m_err(err) {}
    void start(const std::string& caption, long long total) override
    {
        m_caption = caption;
        m_total = total;
        m_last = std::chrono::steady_clock::now();
    }
    bool step(long long done) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (m_total > 0 && now - m_last > std::chrono::seconds(1)) {
            m_err << m_caption << ": " << done * 100 / m_total << "%\n";
            m_last = now;
        }
        return true;
    }

private:
    std::ostream& m_err;
    std::string m_caption;
    long long m_total = 0;
    std::chrono::steady_clock::time_point m_last;
};

} // namespace qx7::cli
