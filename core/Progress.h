#pragma once
// Long runs (scans, conversions, imports, statistics) report progress through this
// interface and ask it whether the user wants to stop. The desktop program processes
// pending window events in `step`, so Escape and Cancel work during the run.

#include <string>

namespace qx7 {

class Progress
{
public:
    virtual ~Progress() = default;
    virtual void start(const std::string& caption, long long total)
    {
        (void)caption;
        (void)total;
    }
    // Reports `done` of the total; returns false when the user asked to stop.
    virtual bool step(long long done) = 0;
    virtual void message(const std::string& text) { (void)text; }
    virtual void finish() {}
};

// For runs nobody watches.
class NullProgress : public Progress
{
public:
    bool step(long long) override { return true; }
};

} // namespace qx7
