// layer: qx7_ui
// The print preview of a 10,000-label queue through the shipped sample layout, offscreen:
// the time until its first page is shown (target 500 ms), a later page turned to (target
// 100 ms: a page is drawn when shown, never all of them up front), and the background
// search for cut texts over the whole queue (no target: the window stays usable meanwhile).
//
//   build/bench/bench_ui_preview [LABELS]

#include "BenchUtil.h"
#include "labels/MemoryLabelSource.h"
#include "labels/QxdFile.h"
#include "labels/ShippedLayouts.h"
#include "ui/designer/TQXPreviewWindow.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace qx7;
using namespace qx7::bench;

namespace {

MemoryLabelSource queue(int n)
{
    std::vector<LabelRecord> records;
    records.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        LabelRecord r;
        r.set("HISCALL", "DL" + std::to_string(1000 + i % 9000) + "X");
        r.set("MYCALL", "OE1XYZ");
        r.set("A_DATE", "2024-01-01");
        r.set("A_TIME", "1203");
        r.set("A_BAND", "20m");
        r.set("A_MODE", "CW");
        r.set("A_RST", "599");
        records.push_back(std::move(r));
    }
    return MemoryLabelSource(std::move(records));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int labels = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    QTemporaryDir dir;
    if (!dir.isValid() || installShippedLayouts(dir.path().toStdString()) < 1)
        return 1;
    LabelLayout layout;
    std::string error;
    if (!openLayoutFile(dir.filePath(kSampleLayoutName).toStdString(), layout, &error)) {
        std::fprintf(stderr, "cannot open the sample layout: %s\n", error.c_str());
        return 1;
    }
    MemoryLabelSource source = queue(labels);

    // A first window pays for fonts and the window system once; the second is what a
    // user meets every later time.
    std::vector<double> firstPage, laterPage;
    int pages = 0, drawn = 0;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        TQXPreviewWindow preview(layout, dir.path().toStdString(), source);
        preview.show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (preview.findChild<QLabel*>("pagePicture")->pixmap().isNull())
            return 1;
        firstPage.push_back(secondsSince(start) * 1000);
        pages = preview.pageCount();
        const auto turn = Clock::now();
        preview.showPage(pages / 2);
        laterPage.push_back(secondsSince(turn) * 1000);
        drawn = preview.pagesDrawn();
        if (round == 2) {
            const auto scan = Clock::now();
            const int cut = preview.cutLabelCount();
            std::printf("cut-text search over %d labels: %.0f ms (%d cut)\n", labels,
                        secondsSince(scan) * 1000, cut);
        }
    }
    std::sort(firstPage.begin() + 1, firstPage.end());
    std::printf("preview of %d labels, %d pages\n", labels, pages);
    std::printf("first page shown: first window %.1f ms, later windows %.1f ms (target 500): %s\n",
                firstPage[0], firstPage[1], verdict(firstPage[1], 500));
    std::printf("page %d shown: %.1f ms (target 100): %s\n", pages / 2,
                *std::max_element(laterPage.begin(), laterPage.end()),
                verdict(*std::max_element(laterPage.begin(), laterPage.end()), 100));
    std::printf("pages drawn for two pages shown: %d (on demand: 2)\n", drawn);
    std::printf("peak memory %ld kB\n", peakKb());
    return 0;
}
