// layer: qx7_convert
// Conversion speed on a big ADIF log: a generated file of a million QSOs (about 250 MB,
// a realistic field mix) converted to ADIF and to a new QX7 log with both indexes, each
// in a process of its own so that its peak memory (VmHWM) is its own. A public ADIF
// parser (adif-parser-ts under Node, installed into bench/node_modules on first use)
// parses the same file in the same run; our import time is printed as a ratio of it.
//
//   build/bench/bench_convert_adif [qsos] [work folder]

#include "convert/engine/ConversionEngine.h"
#include "convert/engine/LogTypes.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "core/Settings.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Processor time of this process (user and system): on a machine shared with other
// work it says more than the clock on the wall.
double cpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::string field(const char* tag, const std::string& value)
{
    return std::string("<") + tag + ":" + std::to_string(value.size()) + ">" + value + " ";
}

struct BandRow
{
    const char* band;
    double low, high;
};

constexpr BandRow kBands[] = {{"160M", 1.81, 1.99}, {"80M", 3.5, 3.8},     {"40M", 7.0, 7.2},
                              {"30M", 10.1, 10.15}, {"20M", 14.0, 14.35},  {"17M", 18.07, 18.16},
                              {"15M", 21.0, 21.45}, {"12M", 24.89, 24.99}, {"10M", 28.0, 29.0},
                              {"6M", 50.08, 50.5},  {"2M", 144.05, 145.5}};
constexpr const char* kModes[] = {"SSB", "CW", "FT8", "FT8", "FT8", "RTTY", "PSK", "FM"};
constexpr const char* kPrefixes[] = {"DL", "G",  "F",  "I",  "EA", "OK", "SP", "PA", "K",  "W",
                                     "N",  "VE", "JA", "VK", "PY", "LU", "ZS", "UA", "9A", "HA"};
constexpr const char* kNames[] = {"Hans", "John", "Jürgen", "Mike", "Yuki", "Søren", "Ann"};
constexpr const char* kComments[] = {"Tnx QSO", "pse QSL via buro", "contest", "nice signal",
                                     "first QSO on this band"};

std::string makeRecord(std::mt19937& rng, long long i)
{
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    std::string call = kPrefixes[pick(20)];
    call += std::to_string(1 + pick(9));
    for (int k = 0, n = 2 + pick(2); k < n; ++k)
        call += static_cast<char>('A' + pick(26));
    const int day = static_cast<int>(i / 300); // chronological, as logs are
    char date[32], time[32], freq[32];
    std::snprintf(date, sizeof date, "%04d%02d%02d", (1990 + day / 336) % 10000, 1 + day / 28 % 12,
                  1 + day % 28);
    std::snprintf(time, sizeof time, "%02d%02d%02d", pick(24), pick(60), pick(60));
    const BandRow& b = kBands[pick(11)];
    std::snprintf(freq, sizeof freq, "%.4f", b.low + (b.high - b.low) * pick(1000) / 1000.0);
    const std::string mode = kModes[pick(8)];
    const bool phone = mode == "SSB" || mode == "FM";
    std::string r = field("CALL", call) + field("QSO_DATE", date) + field("TIME_ON", time) +
                    field("BAND", b.band) + field("FREQ", freq);
    r += mode == "PSK" ? field("MODE", "PSK") + field("SUBMODE", "PSK31") : field("MODE", mode);
    r += field("RST_SENT", mode == "FT8" ? "-10" : phone ? "59" : "599");
    r += field("RST_RCVD", mode == "FT8" ? "-07" : phone ? "57" : "579");
    r += field("QSL_SENT", pick(3) == 0 ? "Y" : "N");
    if (pick(4) == 0)
        r += field("QSL_RCVD", "Y") + field("QSLRDATE", date);
    if (pick(10) == 0)
        r += field("QSL_VIA", std::string("W") + std::to_string(1 + pick(9)) + "MGR");
    r += field("DXCC", std::to_string(1 + pick(500))) + field("NAME", kNames[pick(7)]);
    if (pick(3) == 0)
        r += field("COMMENT", kComments[pick(5)]);
    r += field("GRIDSQUARE", "JO62") + field("STATION_CALLSIGN", "DL0QX");
    return r + "<EOR>\r\n";
}

void generate(const fs::path& file, long long qsos)
{
    std::mt19937 rng(42);
    std::ofstream out(file, std::ios::binary);
    out << "Generated for the conversion benchmark\r\n<ADIF_VER:5>3.1.4 "
           "<PROGRAMID:5>bench <EOH>\r\n";
    std::string chunk;
    for (long long i = 0; i < qsos; ++i) {
        chunk += makeRecord(rng, i);
        if (chunk.size() > (1 << 20)) {
            out << chunk;
            chunk.clear();
        }
    }
    out << chunk;
}

long peakKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

struct StageResult
{
    double read = 0, write = 0;
    double readCpu = 0, writeCpu = 0;
    long long readOk = 0, written = 0;
    long peakKb = 0;
    bool ok = false;
};

StageResult convertIn(const fs::path& work, const fs::path& adif, int outType)
{
    qx7::Settings settings;
    settings.QXLogPath = (work / "logs").string();
    settings.QXTmpPath = (work / "tmp").string();
    settings.QXUserPath = (work / "user").string();
    qx7::NullProgress progress;
    qx7::SilentPrompter prompter;
    qx7::ConversionEngine engine(settings, progress, prompter);
    qx7::TQXLogSpec input = qx7::makeLogSpec(adif.string(), qx7::LogType::Adif);
    qx7::TQXLogSpec output = qx7::makeLogSpec(
        outType == qx7::LogType::Adif ? (work / "out.adi").string() : "bench.qx7", outType);
    output.CallSign = "DL0QX";
    StageResult r;
    auto t0 = Clock::now();
    double c0 = cpuSeconds();
    engine.StartConversion(outType);
    engine.ClearImportBuffer();
    engine.beginInputLog();
    r.ok = engine.ReadLog(input);
    r.read = secondsSince(t0);
    r.readCpu = cpuSeconds() - c0;
    t0 = Clock::now();
    c0 = cpuSeconds();
    r.ok = engine.WriteOutput(output) && r.ok;
    r.write = secondsSince(t0);
    r.writeCpu = cpuSeconds() - c0;
    r.readOk = engine.counters().readOk;
    r.written = engine.counters().written;
    r.peakKb = peakKilobytes();
    return r;
}

// Runs one conversion in a child process and returns what it measured.
StageResult stage(const fs::path& work, const fs::path& adif, int outType)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const StageResult r = convertIn(work, adif, outType);
        [[maybe_unused]] const ssize_t n = ::write(fds[1], &r, sizeof r);
        std::_Exit(0);
    }
    ::close(fds[1]);
    StageResult r;
    if (::read(fds[0], &r, sizeof r) != sizeof r)
        r.ok = false;
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    return r;
}

// Parse-only time of adif-parser-ts in seconds; negative when Node or npm fail.
double nodeBaseline(const fs::path& adif, const fs::path& work)
{
    const fs::path benchDir = fs::path(__FILE__).parent_path();
    const fs::path module = benchDir / "node_modules" / "adif-parser-ts";
    if (!fs::exists(module)) {
        const std::string install = "npm install --silent --no-save --no-package-lock --prefix '" +
                                    benchDir.string() + "' adif-parser-ts >/dev/null 2>&1";
        if (std::system(install.c_str()) != 0 || !fs::exists(module))
            return -1;
    }
    const fs::path script = work / "parse.js";
    std::ofstream(script) << "const { AdifParser } = require('adif-parser-ts');\n"
                             "const text = require('fs').readFileSync(process.argv[2], 'utf8');\n"
                             "const t0 = process.hrtime.bigint();\n"
                             "const parsed = AdifParser.parseAdi(text);\n"
                             "const t1 = process.hrtime.bigint();\n"
                             "console.log(Number(t1 - t0) / 1e9, parsed.records.length);\n";
    const std::string command = "NODE_PATH='" + (benchDir / "node_modules").string() +
                                "' node --max-old-space-size=12000 '" + script.string() + "' '" +
                                adif.string() + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    double seconds = -1;
    long long records = 0;
    if (std::fscanf(pipe, "%lf %lld", &seconds, &records) != 2)
        seconds = -1;
    if (::pclose(pipe) != 0)
        return -1;
    std::printf("adif-parser-ts parsed %lld records\n", records);
    return seconds;
}

void print(const char* name, const StageResult& r, double target)
{
    std::printf("%-16s read %6.2f s  write %6.2f s  total %6.2f s (target <= %.1f s)  "
                "%lld read OK, %lld written, peak %ld MB%s\n",
                name, r.read, r.write, r.read + r.write, target, r.readOk, r.written,
                r.peakKb / 1024, r.ok ? "" : "  FAILED");
    std::printf("%-16s processor time: read %6.2f s  write %6.2f s  total %6.2f s\n", "", r.readCpu,
                r.writeCpu, r.readCpu + r.writeCpu);
}

} // namespace

int main(int argc, char** argv)
{
    const long long qsos = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const fs::path work =
        argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "qx7-bench-convert";
    for (const char* sub : {"logs", "tmp", "user"})
        fs::create_directories(work / sub);
    const fs::path adif = work / "big.adi";
    auto t0 = Clock::now();
    generate(adif, qsos);
    std::printf("generated %lld QSOs, %.0f MB in %.1f s: %s\n", qsos,
                static_cast<double>(fs::file_size(adif)) / 1e6, secondsSince(t0),
                adif.string().c_str());

    const StageResult toAdif = stage(work, adif, qx7::LogType::Adif);
    print("ADIF -> ADIF", toAdif, 6);
    const StageResult toLog = stage(work, adif, qx7::LogType::Qx7);
    print("ADIF -> QX7 log", toLog, 3.5);

    const double baseline = nodeBaseline(adif, work);
    if (baseline > 0)
        std::printf("adif-parser-ts parse only %.2f s; our import (read, normalize, check, "
                    "collect) %.2f s = %.2f x its time\n",
                    baseline, toAdif.read, toAdif.read / baseline);
    else
        std::printf("adif-parser-ts baseline skipped: node or npm failed\n");
    if (argc <= 2)
        fs::remove_all(work);
    return toAdif.ok && toLog.ok ? 0 : 1;
}
