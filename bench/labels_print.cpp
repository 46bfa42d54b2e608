// layer: qx7_labels_render
// Printing labels of the shipped sample layout (3 x 8 on A4, six QSO lines, two
// footer lines) to the "PDF file" printer from an in-memory queue: one sheet of 24
// labels (median of repeated runs) and a queue of 10,000 labels. The baseline is an
// empty PDF page written the same way, so the ratio shows the cost of the labels.
//
//   build/bench/bench_labels_print [runs] [--keep DIR]   (DIR receives the PDFs)

#include "core/Progress.h"
#include "labels/MemoryLabelSource.h"
#include "labels/QxdFile.h"
#include "labels/render/PdfSheetOutput.h"
#include "labels/ShippedLayouts.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace qx7;

std::vector<LabelRecord> queueOf(int n)
{
    const char* bands[] = {"20m", "40m", "15m", "10m", "80m", "17m"};
    const char* modes[] = {"SSB", "CW", "FT8", "RTTY", "SSB", "FT4"};
    std::vector<LabelRecord> records;
    records.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        LabelRecord r;
        r.set("HISCALL", "DL" + std::to_string(i % 10) + "ABC");
        r.set("MANAGER", i % 3 == 0 ? "via:  W3HNK" : "");
        r.set("MYCALL", "OE1XYZ");
        r.set("NUMQSOS", "6");
        for (int line = 0; line < 6; ++line) {
            const std::string l(1, static_cast<char>('A' + line));
            r.set(l + "_DATE", "2024-0" + std::to_string(1 + line) + "-1" + std::to_string(line));
            r.set(l + "_TIME", "12:3" + std::to_string(line));
            r.set(l + "_BAND", bands[line]);
            r.set(l + "_MODE", modes[line]);
            r.set(l + "_RSTS", line % 2 ? "599" : "59");
            r.set(l + "_PSEQ", "TNX");
        }
        r.set("FOOTER1", "Rig: IC-7300, 100 W, dipole");
        r.set("FOOTER2", "Locator JN88 - DOK W24");
        records.push_back(std::move(r));
    }
    return records;
}

double printMs(const LabelLayout& layout, std::vector<LabelRecord> records, const std::string& pdf)
{
    MemoryLabelSource queue(std::move(records));
    NullProgress progress;
    const auto t0 = std::chrono::steady_clock::now();
    PdfSheetOutput output(layout, "", pdf);
    const LabelRunResult r = runLabels(queue, layout.Page, output, progress);
    const auto t1 = std::chrono::steady_clock::now();
    if (r.failed) {
        std::fprintf(stderr, "printing failed: %s\n", r.error.c_str());
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    int runs = 21;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--keep" && i + 1 < argc)
            keep = argv[++i];
        else
            runs = std::max(1, std::atoi(argv[i]));
    }
    const auto dir = std::filesystem::temp_directory_path() / "qx7-bench-labels";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string out = keep.empty() ? dir.string() : keep;
    if (installShippedLayouts(dir.string()) < 0) {
        std::fprintf(stderr, "cannot write the sample layout into %s\n", dir.c_str());
        return 1;
    }
    LabelLayout layout;
    std::string error;
    if (!openLayoutFile((dir / kSampleLayoutName).string(), layout, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    LabelLayout empty = layout;
    empty.Elements.clear();

    std::vector<double> baseline, sheet;
    for (int i = 0; i < runs; ++i) {
        baseline.push_back(printMs(empty, queueOf(1), out + "/empty.pdf"));
        sheet.push_back(printMs(layout, queueOf(24), out + "/sheet.pdf"));
    }
    const double big = printMs(layout, queueOf(10000), out + "/10000.pdf");
    const double base = median(baseline), one = median(sheet);
    std::printf("empty page (baseline):  %8.2f ms\n", base);
    std::printf("one sheet, 24 labels:   %8.2f ms  (%.1f x baseline; goal < 50 ms)\n", one,
                one / base);
    std::printf("10,000 labels, %d pages: %8.0f ms  (%.1f x baseline; goal < 10,000 ms)\n",
                (10000 + 23) / 24, big, big / base);
    std::printf("per label:              %8.3f ms\n", big / 10000);
    if (keep.empty())
        std::filesystem::remove_all(dir);
    return 0;
}
