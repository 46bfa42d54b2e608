// layer: qx7_labels
// Loading label layouts of 1,000, 4,000 and 10,000 elements (text, data fields and
// shapes in turn) through the program's loader, which also writes the file back when
// its line counts were stale. The time per element should not grow with the size:
// the last column is the time per element relative to the smallest layout.
//
//   build/bench/bench_labels_load

#include "BenchUtil.h"
#include "labels/QxdFile.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace qx7;

LabelLayout layoutOf(int elements)
{
    LabelLayout l;
    for (int i = 0; i < elements; ++i) {
        const ElementKind kind = i % 3 == 0   ? ElementKind::Text
                                 : i % 3 == 1 ? ElementKind::DataField
                                              : ElementKind::Shape;
        LayoutElement& e = l.addElement(kind);
        e.left = i % 50;
        e.top = i % 30;
        e.caption = "Text " + std::to_string(i);
        if (kind == ElementKind::DataField)
            e.dataField = std::string(1, static_cast<char>('A' + i % 18)) + "_DATE";
    }
    return l;
}

} // namespace

int main()
{
    using namespace qx7::bench;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "qx7_bench_load";
    std::filesystem::create_directories(dir);
    double basePerElement = 0;
    std::printf("%10s %10s %14s %8s\n", "elements", "seconds", "us/element", "ratio");
    for (int n : {1000, 4000, 10000}) {
        const std::string path = (dir / ("layout" + std::to_string(n) + ".qxd")).string();
        if (!saveLayout(path, layoutOf(n)))
            return 1;
        LabelLayout loaded;
        const auto start = Clock::now();
        if (!openLayoutFile(path, loaded))
            return 1;
        const double s = secondsSince(start);
        const double perElement = s / n * 1e6;
        if (basePerElement == 0)
            basePerElement = perElement;
        std::printf("%10d %10.3f %14.2f %8.2f\n", n, s, perElement, perElement / basePerElement);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
