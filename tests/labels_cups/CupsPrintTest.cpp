// Printing through a real CUPS spooler. The test runs a private cupsd (its own
// configuration, a socket in the test's folder) with cups-pdf queues whose "printer"
// writes PDF files, and points Qt at it through CUPS_SERVER. The spooler's own client
// library reads that variable once, so this runs in a program of its own.

#include "core/Progress.h"
#include "core/Prompter.h"
#include "labels/MemoryLabelSource.h"
#include "labels/QxdFile.h"
#include "labels/render/CalibrationSheet.h"
#include "labels/render/LabelPrinting.h"
#include "labels/render/PrinterSheetOutput.h"
#include "labels/render/SpoolerJobs.h"
#include "labels/ShippedLayouts.h"
#include "labels_render/PdfText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kCupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* kCupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path) << text;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One private spooler for the whole program.
struct Spooler
{
    fs::path dir;
    fs::path out; // where the cups-pdf queue writes
    std::string good, stopped, refusing;
    fs::path cupsPdfConf; // cups-pdf reads its settings from /etc/cups only
    pid_t pid = -1;
    std::string whyNot;

    bool start()
    {
        if (::geteuid() != 0)
            return fail("cups-pdf writes files only for a spooler running as root");
        for (const char* need : {kCupsd, kCupsPdfBackend, kCupsPdfPpd})
            if (!fs::exists(need))
                return fail(std::string(need) +
                            " is missing (packages cups, printer-driver-cups-pdf)");
        if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
            return fail("pdftotext (poppler-utils) is not installed");
        if (!SpoolerJobs::available())
            return fail("built without the CUPS client library");
        const std::string id = std::to_string(::getpid());
        dir = fs::temp_directory_path() / ("qx7-cups-" + id);
        out = dir / "out";
        fs::remove_all(dir);
        for (const char* sub : {"root/ppd", "spool/tmp", "cache", "state", "logs", "out"})
            fs::create_directories(dir / sub);
        // Filters run as the spooler's unprivileged user and must reach the spool.
        for (const fs::path& p : {dir, dir / "root", dir / "root/ppd", dir / "spool"})
            fs::permissions(p, fs::perms(0755));
        for (const fs::path& p : {dir / "spool/tmp", out})
            fs::permissions(p, fs::perms(01777));
        good = "qx7pdf" + id;
        stopped = "qx7stopped" + id;
        refusing = "qx7refusing" + id;
        const std::string d = dir.string();
        writeFile(dir / "root/cups-files.conf",
                  "ServerRoot " + d + "/root\nRequestRoot " + d + "/spool\nTempDir " + d +
                      "/spool/tmp\nCacheDir " + d + "/cache\nStateDir " + d + "/state\nAccessLog " +
                      d + "/logs/access_log\nErrorLog " + d + "/logs/error_log\nPageLog " + d +
                      "/logs/page_log\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n");
        writeFile(dir / "root/cupsd.conf", "Listen " + d +
                                               "/cups.sock\nLogLevel info\nBrowsing No\n"
                                               "WebInterface No\nDefaultAuthType None\n"
                                               "<Policy default>\n<Limit All>\nOrder allow,deny\n"
                                               "Allow all\n</Limit>\n</Policy>\n");
        std::string printers;
        for (const auto& [name, state] : {std::pair{good, "State Idle\nAccepting Yes"},
                                          std::pair{stopped, "State Stopped\nAccepting Yes"},
                                          std::pair{refusing, "State Idle\nAccepting No"}}) {
            printers += "<Printer " + name + ">\nDeviceURI cups-pdf:/" + name + "\n" + state +
                        "\n</Printer>\n";
            fs::copy_file(kCupsPdfPpd, dir / "root/ppd" / (name + ".ppd"));
        }
        writeFile(dir / "root/printers.conf", printers);
        // The queue's settings file is named after its device address.
        cupsPdfConf = fs::path("/etc/cups") / ("cups-pdf-" + good + ".conf");
        std::error_code ec;
        writeFile(cupsPdfConf, "Out " + out.string() + "\nAnonDirName " + out.string() +
                                   "\nLabel 0\nLogType 0\n");
        if (!fs::exists(cupsPdfConf))
            return fail("cannot write " + cupsPdfConf.string());

        pid = ::fork();
        if (pid == 0) {
            const std::string conf = d + "/root/cupsd.conf", files = d + "/root/cups-files.conf";
            const std::string log = d + "/logs/stdout";
            std::freopen(log.c_str(), "w", stdout);
            std::freopen(log.c_str(), "a", stderr);
            ::execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
            ::_exit(127);
        }
        if (pid < 0)
            return fail("cannot start cupsd");
        const std::string socket = d + "/cups.sock";
        for (int i = 0; i < 100 && !fs::exists(socket); ++i) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return fail("cupsd stopped at once: " + readFile(dir / "logs/stdout") +
                            readFile(dir / "logs/error_log"));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (!fs::exists(socket))
            return fail("cupsd did not open its socket");
        ::setenv("CUPS_SERVER", socket.c_str(), 1);
        return true;
    }

    bool fail(std::string why)
    {
        whyNot = std::move(why);
        return false;
    }

    void stop()
    {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            int status = 0;
            ::waitpid(pid, &status, 0);
            pid = -1;
        }
        std::error_code ec;
        if (!cupsPdfConf.empty())
            fs::remove(cupsPdfConf, ec);
        if (!dir.empty() && !std::getenv("QX7_KEEP_SPOOLER"))
            fs::remove_all(dir, ec);
    }

    // The files the queue wrote, in job order (cups-pdf names them "..-job_N.pdf").
    std::vector<fs::path> outputs() const
    {
        std::vector<std::pair<int, fs::path>> found;
        for (const auto& e : fs::directory_iterator(out)) {
            const std::string name = e.path().filename().string();
            const size_t at = name.rfind("job_");
            if (e.path().extension() == ".pdf" && at != std::string::npos)
                found.emplace_back(std::atoi(name.c_str() + at + 4), e.path());
        }
        std::sort(found.begin(), found.end());
        std::vector<fs::path> result;
        for (auto& f : found)
            result.push_back(f.second);
        return result;
    }
};

// A page drawn in grey by pdftoppm (poppler-utils), to find where the ink is.
struct InkBox
{
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0; // millimetres
};

struct GrayPage
{
    int width = 0, height = 0;
    double dpi = 200;
    std::vector<unsigned char> pixels;

    InkBox ink(double x0, double y0, double x1, double y1) const
    {
        const double perMm = dpi / 25.4;
        InkBox box;
        int l = width, t = height, r = -1, b = -1;
        for (int y = std::max(0, int(y0 * perMm)); y < std::min(height, int(y1 * perMm)); ++y)
            for (int x = std::max(0, int(x0 * perMm)); x < std::min(width, int(x1 * perMm)); ++x)
                if (pixels[size_t(y) * size_t(width) + size_t(x)] < 128) {
                    l = std::min(l, x);
                    t = std::min(t, y);
                    r = std::max(r, x);
                    b = std::max(b, y);
                }
        if (r < 0)
            return box;
        box = {true, l / perMm, t / perMm, (r + 1) / perMm, (b + 1) / perMm};
        return box;
    }
};

GrayPage drawPage(const std::string& pdf, int page)
{
    GrayPage result;
    const std::string command = "pdftoppm -gray -r 200 -f " + std::to_string(page) + " -l " +
                                std::to_string(page) + " '" + pdf + "' 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        data.append(buffer, n);
    ::pclose(pipe);
    std::istringstream in(data);
    std::string magic;
    int maxValue = 0;
    in >> magic >> result.width >> result.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255)
        return result;
    const size_t size = size_t(result.width) * size_t(result.height);
    const size_t start = size_t(in.tellg());
    if (data.size() < start + size)
        return result;
    result.pixels.assign(data.begin() + std::ptrdiff_t(start),
                         data.begin() + std::ptrdiff_t(start + size));
    return result;
}

std::vector<std::string> utf8Letters(const std::string& text)
{
    std::vector<std::string> letters;
    for (size_t i = 0; i < text.size();) {
        size_t len = 1;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        letters.push_back(text.substr(i, len));
        i += len;
    }
    return letters;
}

Spooler* g_spooler = nullptr;

MemoryLabelSource queue(int n)
{
    std::vector<LabelRecord> records;
    for (int i = 1; i <= n; ++i) {
        LabelRecord r;
        const std::string id = std::to_string(100 + i);
        r.set("HISCALL", "K" + id + "X");
        r.set("MYCALL", "DL" + id + "Q");
        r.set("A_DATE", "2024-01-" + id);
        r.set("F_RSTS", "R" + id);
        r.set("FOOTER2", "F" + id + "2");
        records.push_back(std::move(r));
    }
    return MemoryLabelSource(std::move(records));
}

// Notes, for every label marked printed, how many PDF files the queue had written by then.
class WatchedQueue : public MemoryLabelSource
{
public:
    WatchedQueue(MemoryLabelSource q, const Spooler& s) : MemoryLabelSource(std::move(q)), m_s(s) {}
    bool markPrinted(int index) override
    {
        filesWhenMarked.push_back(m_s.outputs().size());
        return MemoryLabelSource::markPrinted(index);
    }
    std::vector<size_t> filesWhenMarked;

private:
    const Spooler& m_s;
};

class CupsPrinting : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        g_spooler = new Spooler;
        if (!g_spooler->start())
            g_spooler->stop();
    }
    static void TearDownTestSuite()
    {
        g_spooler->stop();
        delete g_spooler;
        g_spooler = nullptr;
    }
    void SetUp() override
    {
        if (!g_spooler->whyNot.empty())
            GTEST_SKIP() << "no private CUPS spooler: " << g_spooler->whyNot;
        m_dir = g_spooler->dir / "layouts";
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        ASSERT_EQ(installShippedLayouts(m_dir.string()), 2);
        std::string error;
        ASSERT_TRUE(openLayoutFile((m_dir / kSampleLayoutName).string(), m_layout, &error))
            << error;
    }

    fs::path m_dir;
    LabelLayout m_layout;
};

// The spooled sheets come out as the "PDF file" printer draws them: same pages, same
// paper, every text where the direct file has it. Each sheet's labels count as printed
// only once the spooler finished that sheet's job.
TEST_F(CupsPrinting, QueuePrintsWhatThePdfFileHasAndMarksAfterTheJob)
{
    m_layout.Page.StartAt = 3;
    const int labels = 30; // two A4 sheets
    LabelLayout direct = m_layout;

    WatchedQueue q(queue(labels), *g_spooler);
    LabelOutputTarget printer;
    printer.kind = LabelOutputTarget::Kind::Printer;
    printer.printerName = g_spooler->good;
    NullProgress progress;
    const PrintJobResult printed =
        runPrintJob(m_layout, m_dir.string(), q, printer, progress, {false, false, nullptr});
    ASSERT_FALSE(printed.run.failed) << printed.run.error;
    EXPECT_EQ(printed.run.marked, labels);

    const std::vector<fs::path> files = g_spooler->outputs();
    ASSERT_EQ(files.size(), 2u) << "one job per sheet";
    ASSERT_EQ(q.filesWhenMarked.size(), size_t(labels));
    const std::vector<LabelPlacement> plan = planLabels(labels, direct.Page);
    for (size_t i = 0; i < plan.size(); ++i)
        EXPECT_GE(q.filesWhenMarked[i], size_t(plan[i].sheet)) << "label " << i;

    MemoryLabelSource again = queue(labels);
    LabelOutputTarget pdf;
    pdf.kind = LabelOutputTarget::Kind::PdfFile;
    pdf.path = (g_spooler->dir / "direct.pdf").string();
    ASSERT_FALSE(runPrintJob(direct, m_dir.string(), again, pdf, progress, {false, false, nullptr})
                     .run.failed);
    const PdfText want = readWithPdftotext(pdf.path);
    ASSERT_EQ(want.pageSizes.size(), 2u);
    ASSERT_GE(want.words.size(), size_t(4 * labels));

    // The spooler rewrites the fonts on its way to the queue's PDF: the text boxes
    // pdftotext reports change height and the letters lose their Unicode names. So the
    // places are compared on the ink of both files drawn at the same resolution, and
    // the calls by their glyph sequence, which must map one to one onto the direct file's.
    for (size_t sheet = 0; sheet < files.size(); ++sheet) {
        SCOPED_TRACE(files[sheet].string());
        std::map<std::string, std::string> glyphFor; // every job names its glyphs anew
        std::set<std::string> glyphsUsed;
        const PdfText got = readWithPdftotext(files[sheet].string());
        ASSERT_EQ(got.pageSizes.size(), 1u);
        EXPECT_NEAR(got.pageSizes[0].first, want.pageSizes[sheet].first, 0.5);
        EXPECT_NEAR(got.pageSizes[0].second, want.pageSizes[sheet].second, 0.5);
        const GrayPage gotInk = drawPage(files[sheet].string(), 1);
        const GrayPage wantInk = drawPage(pdf.path, int(sheet) + 1);
        ASSERT_FALSE(gotInk.pixels.empty());
        ASSERT_FALSE(wantInk.pixels.empty());
        size_t compared = 0, calls = 0;
        for (const Word& w : want.words) {
            if (w.page != int(sheet) + 1)
                continue;
            SCOPED_TRACE(w.text);
            // The word's own box and a little more: a shifted word moves its ink edges,
            // while the lines drawn next to some words stay out.
            constexpr double m = 0.3;
            const InkBox a = wantInk.ink(w.xMin - m, w.yMin - m, w.xMax + m, w.yMax + m);
            const InkBox b = gotInk.ink(w.xMin - m, w.yMin - m, w.xMax + m, w.yMax + m);
            ASSERT_TRUE(a.any);
            ASSERT_TRUE(b.any);
            EXPECT_NEAR(b.left, a.left, 0.5);
            EXPECT_NEAR(b.top, a.top, 0.5);
            EXPECT_NEAR(b.right, a.right, 0.5);
            EXPECT_NEAR(b.bottom, a.bottom, 0.5);
            ++compared;
            if (w.text.size() != 5 || w.text[0] != 'K')
                continue;
            const auto match = std::find_if(got.words.begin(), got.words.end(), [&](const Word& g) {
                return std::abs(g.xMax - w.xMax) < 0.5 &&
                       std::abs((g.yMin + g.yMax) - (w.yMin + w.yMax)) < 4;
            });
            ASSERT_NE(match, got.words.end());
            const std::vector<std::string> glyphs = utf8Letters(match->text);
            ASSERT_EQ(glyphs.size(), w.text.size());
            for (size_t i = 0; i < glyphs.size(); ++i) {
                const std::string letter(1, w.text[i]);
                const auto [at, fresh] = glyphFor.emplace(letter, glyphs[i]);
                EXPECT_EQ(at->second, glyphs[i]) << "letter " << letter;
                if (fresh) {
                    EXPECT_TRUE(glyphsUsed.insert(glyphs[i]).second) << "letter " << letter;
                }
            }
            ++calls;
        }
        EXPECT_GT(compared, size_t(4 * 15));
        EXPECT_EQ(calls,
                  size_t(std::count_if(plan.begin(), plan.end(), [&](const LabelPlacement& p) {
                      return p.sheet == int(sheet) + 1;
                  })));
    }
}

// A calibrated printer moves every text by the entered offset; the same calibration
// handed to the "PDF file" printer changes nothing there.
TEST_F(CupsPrinting, CalibrationShiftsTheQueuesTextsButNotThePdfFile)
{
    const double dx = 5, dy = 3;
    const int labels = 6;
    NullProgress progress;
    LabelLayout plainLayout = m_layout, calibratedPdfLayout = m_layout;

    MemoryLabelSource q = queue(labels);
    LabelOutputTarget printer;
    printer.kind = LabelOutputTarget::Kind::Printer;
    printer.printerName = g_spooler->good;
    printer.calibration = {dx, dy, 1, 1};
    const size_t before = g_spooler->outputs().size();
    const PrintJobResult printed =
        runPrintJob(m_layout, m_dir.string(), q, printer, progress, {false, false, nullptr});
    ASSERT_FALSE(printed.run.failed) << printed.run.error;
    const std::vector<fs::path> files = g_spooler->outputs();
    ASSERT_EQ(files.size(), before + 1);

    LabelOutputTarget pdf;
    pdf.kind = LabelOutputTarget::Kind::PdfFile;
    pdf.path = (g_spooler->dir / "plain.pdf").string();
    MemoryLabelSource again = queue(labels);
    ASSERT_FALSE(
        runPrintJob(plainLayout, m_dir.string(), again, pdf, progress, {false, false, nullptr})
            .run.failed);
    LabelOutputTarget calibratedPdf = pdf;
    calibratedPdf.path = (g_spooler->dir / "calibrated.pdf").string();
    calibratedPdf.calibration = printer.calibration;
    MemoryLabelSource third = queue(labels);
    ASSERT_FALSE(runPrintJob(calibratedPdfLayout, m_dir.string(), third, calibratedPdf, progress,
                             {false, false, nullptr})
                     .run.failed);

    const PdfText want = readWithPdftotext(pdf.path);
    const PdfText file = readWithPdftotext(calibratedPdf.path);
    ASSERT_GE(want.words.size(), size_t(4 * labels));
    ASSERT_EQ(file.words.size(), want.words.size());
    for (size_t i = 0; i < want.words.size(); ++i) {
        EXPECT_NEAR(file.words[i].xMin, want.words[i].xMin, 0.05) << want.words[i].text;
        EXPECT_NEAR(file.words[i].yMin, want.words[i].yMin, 0.05) << want.words[i].text;
    }

    const GrayPage gotInk = drawPage(files.back().string(), 1);
    const GrayPage wantInk = drawPage(pdf.path, 1);
    ASSERT_FALSE(gotInk.pixels.empty());
    ASSERT_FALSE(wantInk.pixels.empty());
    size_t compared = 0;
    for (const Word& w : want.words) {
        // The record's values; the column heads sit in a grid whose lines can graze
        // the measuring box.
        if (std::none_of(w.text.begin(), w.text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        SCOPED_TRACE(w.text);
        constexpr double m = 0.3;
        const InkBox a = wantInk.ink(w.xMin - m, w.yMin - m, w.xMax + m, w.yMax + m);
        const InkBox b =
            gotInk.ink(w.xMin + dx - m, w.yMin + dy - m, w.xMax + dx + m, w.yMax + dy + m);
        ASSERT_TRUE(a.any);
        ASSERT_TRUE(b.any);
        EXPECT_NEAR(b.left - a.left, dx, 0.5);
        EXPECT_NEAR(b.top - a.top, dy, 0.5);
        EXPECT_NEAR(b.right - a.right, dx, 0.5);
        EXPECT_NEAR(b.bottom - a.bottom, dy, 0.5);
        // Where the text stood before, the sheet is now blank (or holds another text).
        const InkBox old = gotInk.ink(w.xMin - m, w.yMin - m, w.xMax + m, w.yMax + m);
        if (old.any) {
            EXPECT_FALSE(std::abs(old.left - a.left) < 0.3 && std::abs(old.top - a.top) < 0.3 &&
                         std::abs(old.right - a.right) < 0.3 &&
                         std::abs(old.bottom - a.bottom) < 0.3);
        }
        ++compared;
    }
    EXPECT_GE(compared, size_t(4 * labels));
}

// The test sheet goes through the spooler with its rulers at the paper's edges and the
// outline of every label where the layout puts it.
TEST_F(CupsPrinting, TestSheetShowsRulersAndLabelOutlines)
{
    const size_t before = g_spooler->outputs().size();
    ASSERT_EQ(printCalibrationSheet(m_layout, g_spooler->good), "");
    const std::vector<fs::path> files = g_spooler->outputs();
    ASSERT_EQ(files.size(), before + 1);
    const GrayPage page = drawPage(files.back().string(), 1);
    ASSERT_FALSE(page.pixels.empty());
    // The 10 mm ticks of the top ruler reach 6 mm down, the 1 mm ticks only 2 mm.
    for (double mm : {10.0, 50.0, 100.0}) {
        const InkBox tick = page.ink(mm - 0.4, 2.5, mm + 0.4, 5.5);
        EXPECT_TRUE(tick.any) << mm;
    }
    // Every label's corner carries its outline.
    const TQRPage& p = m_layout.Page;
    for (int row = 0; row < p.Rows; ++row)
        for (int column = 0; column < p.Columns; ++column) {
            const QPointF at = PainterSheetOutput::labelOriginMm(m_layout, column, row);
            const double right = at.x() + p.labelWidth() / 10.0;
            const double bottom = at.y() + p.labelHeight() / 10.0;
            SCOPED_TRACE(std::to_string(column) + "," + std::to_string(row));
            // The outline's edges, seen in the middle of each side.
            const double midX = (at.x() + right) / 2, midY = (at.y() + bottom) / 2;
            EXPECT_TRUE(page.ink(midX - 1, at.y() - 0.4, midX + 1, at.y() + 0.4).any);
            EXPECT_TRUE(page.ink(midX - 1, bottom - 0.4, midX + 1, bottom + 0.4).any);
            EXPECT_TRUE(page.ink(at.x() - 0.4, midY - 1, at.x() + 0.4, midY + 1).any);
            // A side on the paper's edge is half off the paper and may not show.
            if (right < PainterSheetOutput::pageSizeMm(m_layout).width() - 0.5) {
                EXPECT_TRUE(page.ink(right - 0.4, midY - 1, right + 0.4, midY + 1).any);
            }
        }
}

// A queue that takes no jobs, and one whose printer is stopped so the job never
// finishes: Qt reports neither, the spooler does, and no label counts as printed.
TEST_F(CupsPrinting, RefusedOrStuckJobsMarkNothing)
{
    const struct
    {
        std::string printer;
        std::string says;
    } cases[] = {
        {g_spooler->refusing, "did not take the job"},
        {g_spooler->stopped, "its labels stay in the queue"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.printer);
        MemoryLabelSource q = queue(3);
        PrinterSheetOutput output(m_layout, m_dir.string(), c.printer);
        output.setJobTimeoutMs(2000);
        NullProgress progress;
        const LabelRunResult r = runLabels(q, m_layout.Page, output, progress);
        EXPECT_TRUE(r.failed);
        EXPECT_NE(r.error.find(c.says), std::string::npos) << r.error;
        EXPECT_NE(r.error.find(c.printer), std::string::npos) << r.error;
        EXPECT_EQ(q.markCalls(), 0);
    }
}

} // namespace
} // namespace qx7
