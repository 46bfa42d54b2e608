#include "TestUtil.h"

#include "dbase/BatchCopy.h"

#include <gtest/gtest.h>

namespace qx7::dbase {
namespace {

using Strings = std::vector<std::string>;

class Copy : public ::testing::Test
{
protected:
    test::ScratchDir dir;
    Table log;
    Table mgr;

    void SetUp() override
    {
        Table::create(dir / "log.dbf", test::logFields(), {Level::DBase4, test::logIndexes()});
        Table::create(dir / "mgr.dbf", {{"CALL", 'C', 16}, {"DATEFROM", 'C', 8}, {"MGR", 'C', 16}},
                      {Level::DBase4, {{"CALL", "CALL"}}});
        log.open(dir / "log.dbf");
        mgr.open(dir / "mgr.dbf");
        for (const char* call : {"DL1ABC", "K1AA", "Ö1XYZ"}) {
            log.append();
            log.setText("CALL", call);
            log.setText("DATE", "20240101");
            log.setText("QMGR", std::string("M-") + call);
            log.post();
        }
    }
};

TEST_F(Copy, MappingParsesTargetEqualsSource)
{
    const FieldMapping m = FieldMapping::parse(" CALL = CALL \nDATEFROM=DATE; MGR=QMGR\n\n");
    EXPECT_EQ(m.pairs, (std::vector<std::pair<std::string, std::string>>{
                           {"CALL", "CALL"}, {"DATEFROM", "DATE"}, {"MGR", "QMGR"}}));
    EXPECT_THROW(FieldMapping::parse("CALL"), Error);
    EXPECT_EQ(FieldMapping::sameNames(log, mgr).pairs.size(), 1u);
}

TEST_F(Copy, AppendCopiesMappedFieldsAndRestoresTheSource)
{
    log.setIndex("CALL");
    ASSERT_TRUE(log.findKey("K1AA"));
    const auto result = BatchCopy::run(
        log, mgr, FieldMapping::parse("CALL=CALL;DATEFROM=DATE;MGR=QMGR"), CopyMode::Append);
    EXPECT_EQ(result.appended, 3u);
    EXPECT_EQ(log.text("CALL"), "K1AA");
    mgr.setIndex("CALL");
    EXPECT_EQ(test::walk(mgr, "MGR"), (Strings{"M-DL1ABC", "M-K1AA", "M-Ö1XYZ"}));
    EXPECT_EQ(test::walk(mgr, "DATEFROM"), (Strings{"20240101", "20240101", "20240101"}));
}

TEST_F(Copy, AppendUpdateMatchesTheTargetsCurrentIndex)
{
    mgr.append();
    mgr.setText("CALL", "K1AA");
    mgr.setText("MGR", "OLD");
    mgr.post();
    mgr.setIndex("CALL");
    const FieldMapping m = FieldMapping::parse("CALL=CALL\nMGR=QMGR");
    auto result = BatchCopy::run(log, mgr, m, CopyMode::AppendUpdate);
    EXPECT_EQ(result.appended, 2u);
    EXPECT_EQ(result.updated, 1u);
    EXPECT_EQ(test::walk(mgr, "MGR"), (Strings{"M-DL1ABC", "M-K1AA", "M-Ö1XYZ"}));
    result = BatchCopy::run(log, mgr, m, CopyMode::AppendUpdate); // again: all updates
    EXPECT_EQ(result.appended, 0u);
    EXPECT_EQ(result.updated, 3u);
    EXPECT_EQ(mgr.recordCount(), 3u);
    mgr.setIndex("");
    EXPECT_THROW(BatchCopy::run(log, mgr, m, CopyMode::AppendUpdate), Error);
    EXPECT_THROW(BatchCopy::run(log, mgr, FieldMapping::parse("NOPE=CALL"), CopyMode::Append),
                 Error);
}

TEST_F(Copy, ProgressCanStopTheCopy)
{
    const auto result = BatchCopy::run(log, mgr, FieldMapping::parse("CALL=CALL"), CopyMode::Append,
                                       [](std::size_t done) { return done < 2; });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.appended, 2u);
    EXPECT_EQ(mgr.recordCount(), 2u);
}

} // namespace
} // namespace qx7::dbase
