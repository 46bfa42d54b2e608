// layer: qx7_core
// Start-up time of the desktop program: from process start to the main window shown
// (offscreen), over repeated starts on a fresh and then a warm QX home. Prints the median.
//
//   build/bench/bench_startup [runs] [path/to/qx7]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Milliseconds until the program prints "main window shown" and exits.
double timeOneStart(const std::string& program, const std::string& home)
{
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("QX7_INSTANCE_NAME", "qx7-bench-startup", 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execl(program.c_str(), program.c_str(), "--home", home.c_str(), "--quit-when-shown",
                static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    const auto t1 = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "qx7 failed (status %d)\n", status);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 21;
    const std::string program = argc > 2 ? argv[2] : QX7_BENCH_QX7;
    const auto home =
        std::filesystem::temp_directory_path() / "qx7-bench-startup-home"; // not the socket name
    std::filesystem::remove_all(home);
    const double first = timeOneStart(program, home.string());
    std::vector<double> warm;
    for (int i = 0; i < runs; ++i)
        warm.push_back(timeOneStart(program, home.string()));
    std::printf("first start (writes qx7.ini, makes folders): %.1f ms\n", first);
    std::printf("start to main window shown, median of %d: %.1f ms (target < 300 ms)\n", runs,
                median(warm));
    std::filesystem::remove_all(home);
    return 0;
}
