#pragma once
// What the print spooler did with a job. Qt hands a page run to CUPS and does not say
// whether the queue took it, let alone printed it; a sheet's labels are marked printed
// only once the spooler reports its job completed, so a refused, cancelled or stuck job
// leaves them in the queue.

#include <string>

namespace qx7 {

class SpoolerJobs
{
public:
    // Jobs on `printer` numbered above the newest one now are this run's.
    explicit SpoolerJobs(std::string printer);

    // Whether the spooler can be asked at all (built with CUPS support).
    static bool available();

    // Remembers the newest job on the printer; the next sheet's job comes after it.
    void markStart();

    // Waits until the job titled `title`, sent after markStart(), has completed. Empty
    // when it has; otherwise what went wrong, for the user.
    std::string waitForCompletion(const std::string& title) const;

    // How long a job may stay queued or in progress before the sheet counts as not
    // printed (its labels stay in the queue rather than being lost unprinted).
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

private:
    std::string m_printer;
    int m_lastId = 0;
    int m_timeoutMs = 120000;
};

} // namespace qx7
