#pragma once
// Small helpers the benchmarks share: wall time and peak memory of this process.

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace qx7::bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU seconds this process has used: on a machine shared with other work the wall time
// of a run also counts the waits for a core; this does not.
inline double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

inline long peakKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

inline const char* verdict(double value, double target)
{
    return value < target ? "ok" : "MISSED";
}

} // namespace qx7::bench
