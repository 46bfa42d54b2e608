// Labels whose text would be cut by its element are found before printing, where
// they would lie on the sheet, and named in one line; labels that fit are not.

#include "labels/MemoryLabelSource.h"
#include "labels/QxdFile.h"
#include "labels/render/CutTextCheck.h"
#include "labels/ShippedLayouts.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qx7 {
namespace {

TEST(CutTextCheck, FindsTheLabelsWhoseTextDoesNotFitAndWhereTheyLie)
{
    QTemporaryDir dir;
    ASSERT_EQ(installShippedLayouts(dir.path().toStdString()), 2);
    LabelLayout layout;
    ASSERT_TRUE(openLayoutFile(dir.filePath(kSampleLayoutName).toStdString(), layout));
    const LayoutElement* manager = layout.findDataField("MANAGER");
    ASSERT_NE(manager, nullptr);

    std::vector<LabelRecord> records;
    for (int i = 1; i <= 12; ++i) {
        LabelRecord r;
        r.set("HISCALL", i == 3 ? "VP2MWW/DL1WWW/MM" : "DL" + std::to_string(i) + "ABC");
        r.set("MANAGER",
              i == 10 ? "via a manager whose name and address never fit on any label" : "W1AW");
        records.push_back(std::move(r));
    }
    MemoryLabelSource source(records);
    std::vector<CutLabel> cut = findCutLabels(layout, dir.path().toStdString(), source);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].record, 9);
    EXPECT_EQ(cut[0].sheet, 1);
    EXPECT_EQ(cut[0].column, 1); // 8 rows: the tenth label is the second of column 2
    EXPECT_EQ(cut[0].row, 1);
    EXPECT_EQ(cut[0].elements, std::vector<std::string>{manager->name});
    EXPECT_EQ(cutLabelsText(cut), "1 label(s) would have text cut off by its element; the "
                                  "first: page 1, column 2, row 2 (" +
                                      manager->name + ").");
    EXPECT_EQ(source.markCalls(), 0);

    // From start position 8 the tenth label lies at position 17: column 3, row 1.
    layout.Page.StartAt = 8;
    MemoryLabelSource again(records);
    cut = findCutLabels(layout, dir.path().toStdString(), again);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].column, 2);
    EXPECT_EQ(cut[0].row, 0);

    // Nothing cut, nothing said.
    records[9].set("MANAGER", "W1AW");
    MemoryLabelSource clean(records);
    EXPECT_TRUE(findCutLabels(layout, dir.path().toStdString(), clean).empty());
    EXPECT_EQ(cutLabelsText({}), "");
}

} // namespace
} // namespace qx7
