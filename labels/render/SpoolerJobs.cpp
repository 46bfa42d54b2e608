#include "labels/render/SpoolerJobs.h"

#include <chrono>
#include <thread>

#ifdef QX7_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace qx7 {

#ifdef QX7_HAVE_CUPS
namespace {

struct JobList
{
    cups_job_t* jobs = nullptr;
    int count = 0;
    explicit JobList(const std::string& printer)
    {
        count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, printer.c_str(), 0, CUPS_WHICHJOBS_ALL);
    }
    ~JobList()
    {
        if (jobs)
            cupsFreeJobs(count, jobs);
    }
    JobList(const JobList&) = delete;
    JobList& operator=(const JobList&) = delete;
};

} // namespace
#endif

SpoolerJobs::SpoolerJobs(std::string printer) : m_printer(std::move(printer)) {}

bool SpoolerJobs::available()
{
#ifdef QX7_HAVE_CUPS
    return true;
#else
    return false;
#endif
}

void SpoolerJobs::markStart()
{
#ifdef QX7_HAVE_CUPS
    const JobList list(m_printer);
    for (int i = 0; i < list.count; ++i)
        if (list.jobs[i].id > m_lastId)
            m_lastId = list.jobs[i].id;
#endif
}

std::string SpoolerJobs::waitForCompletion(const std::string& title) const
{
#ifdef QX7_HAVE_CUPS
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
    int jobId = 0;
    for (;;) {
        ipp_jstate_t state = IPP_JSTATE_PENDING;
        bool seen = false;
        {
            const JobList list(m_printer);
            if (list.count < 0)
                return "cannot ask the spooler about " + m_printer + ": " + cupsLastErrorString();
            for (int i = 0; i < list.count; ++i) {
                const cups_job_t& job = list.jobs[i];
                const bool ours = jobId != 0 ? job.id == jobId
                                             : job.id > m_lastId && job.title && title == job.title;
                if (ours) {
                    jobId = job.id;
                    state = job.state;
                    seen = true;
                    break;
                }
            }
        }
        if (!seen)
            return "the printer " + m_printer + " did not take the job";
        const std::string job = "job " + std::to_string(jobId) + " on " + m_printer;
        switch (state) {
        case IPP_JSTATE_COMPLETED:
            return {};
        case IPP_JSTATE_CANCELED:
            return job + " was cancelled";
        case IPP_JSTATE_ABORTED:
            return job + " was aborted by the spooler";
        default:
            break;
        }
        if (Clock::now() >= deadline)
            return job +
                   (state == IPP_JSTATE_STOPPED || state == IPP_JSTATE_HELD
                        ? " is held or the printer is stopped"
                        : " has not finished") +
                   "; its labels stay in the queue";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
#else
    (void)title;
    return {};
#endif
}

} // namespace qx7
