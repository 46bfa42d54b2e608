#include "store/LogTable.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

TEST(LogTable, NameIsTheFileNameCutAtItsFirstDotInLowerCase)
{
    EXPECT_EQ(logBaseName("C:\\x\\My.Log.ADI"), "my");
    EXPECT_EQ(logBaseName("/home/op/DL1ABC.adi"), "dl1abc");
    EXPECT_EQ(logBaseName("plain"), "plain");
    EXPECT_EQ(logBaseName(".hidden"), "");
}

TEST(LogTable, CreatesTableIndexAndDescriptorWithLowerCaseExtensions)
{
    TempFolder dir;
    ASSERT_TRUE(CreateLogTable(dir.path(), "C:\\x\\My.Log.ADI"));
    EXPECT_TRUE(fs::exists(dir.file("my.dbf")));
    EXPECT_TRUE(fs::exists(dir.file("my.mdx")));
    ASSERT_TRUE(CreateLogDescriptor(dir.file("my.dbf")));
    EXPECT_TRUE(fs::exists(dir.file("my.qx7")));
    EXPECT_EQ(listLogs(dir.path()), std::vector<std::string>{"my"});
    // The descriptor shares the base name: writing it must leave the log's index alone.
    writeLogDescriptor(dir.file("my.qx7"), {"DL1ABC", {"73"}});
    ASSERT_TRUE(fs::exists(dir.file("my.mdx")));
    {
        dbase::Table readOnly;
        readOnly.open(dir.file("my.dbf"), {dbase::OpenMode::ReadOnly, {}});
        EXPECT_EQ(readOnly.indexes().size(), 2u);
    }

    dbase::Table t;
    openLog(t, dir.file("my.dbf"), 1);
    EXPECT_EQ(t.currentIndex(), "DATETIME");
    EXPECT_EQ(t.fieldCount(), 18);
    EXPECT_EQ(t.field(0).name, "CALL");
    EXPECT_EQ(t.field(0).width, 16);
    EXPECT_EQ(t.field(17).type, 'L');
    EXPECT_EQ(t.recordCount(), 0u);
}

TEST(LogTable, CreatingAnExistingLogReplacesItWithAnEmptyTable)
{
    TempFolder dir;
    ASSERT_TRUE(CreateLogTable(dir.path(), "dl1abc"));
    {
        dbase::Table t;
        openLog(t, dir.file("dl1abc.dbf"), 0);
        t.append();
        t.setText("CALL", "W1AW");
        t.setText("DATE", "20240101");
        t.setText("TIME", "1200");
        t.post();
        ensureQmgrIndex(t);
    }
    ASSERT_TRUE(CreateLogTable(dir.path(), "DL1ABC.ADI"));
    dbase::Table t;
    openLog(t, dir.file("dl1abc.dbf"), 0);
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_EQ(t.indexes().size(), 2u);
}

TEST(LogTable, QmgrOrderIsAddedWhenALogIsOpenedByManager)
{
    TempFolder dir;
    ASSERT_TRUE(CreateLogTable(dir.path(), "log"));
    dbase::Table t;
    openLog(t, dir.file("log.dbf"), 2);
    EXPECT_EQ(t.currentIndex(), "QMGR");
    for (const char* mgr : {"W2XX", "-", "K1AA"}) {
        t.append();
        t.setText("CALL", "A61AJ");
        t.setText("DATE", "20240101");
        t.setText("TIME", "1200");
        t.setText("QMGR", mgr);
        t.post();
    }
    std::vector<std::string> order;
    for (t.first(); !t.eof(); t.next())
        order.push_back(t.text("QMGR"));
    EXPECT_EQ(order, (std::vector<std::string>{"-", "K1AA", "W2XX"}));
}

TEST(LogDescriptor, FirstRecordIsTheCallTheRestAreFooterLines)
{
    TempFolder dir;
    ASSERT_TRUE(CreateLogDescriptor(dir.file("dl1abc.dbf")));
    const std::string path = dir.file("dl1abc.qx7");
    EXPECT_EQ(readLogDescriptor(path).stationCall, "");
    EXPECT_TRUE(readLogDescriptor(path).footerLines.empty());

    writeLogDescriptor(path, {"DL1ABC", {"73 de Hans", "", "Tnx fer QSO \xC3\xA4"}});
    LogDescriptor d = readLogDescriptor(path);
    EXPECT_EQ(d.stationCall, "DL1ABC");
    EXPECT_EQ(d.footerLines, (std::vector<std::string>{"73 de Hans", "", "Tnx fer QSO \xC3\xA4"}));

    // A rewrite replaces everything; only the call is left.
    writeLogDescriptor(path, {"DL1ABC/P", {}});
    d = readLogDescriptor(path);
    EXPECT_EQ(d.stationCall, "DL1ABC/P");
    EXPECT_TRUE(d.footerLines.empty());
}

TEST(LogDescriptor, KeysAreNotCheckedWhenReading)
{
    TempFolder dir;
    ASSERT_TRUE(CreateLogDescriptor(dir.file("x.dbf")));
    {
        dbase::Table t;
        t.open(dir.file("x.qx7"));
        for (const auto& [k, v] : {std::pair{"777", "OE1XYZ"}, {"abc", "line one"}}) {
            t.append();
            t.setText("KEY0", k);
            t.setText("KEY1", v);
            t.post();
        }
    }
    const LogDescriptor d = readLogDescriptor(dir.file("x.qx7"));
    EXPECT_EQ(d.stationCall, "OE1XYZ");
    EXPECT_EQ(d.footerLines, std::vector<std::string>{"line one"});
}

TEST(LogTable, CreationReportsFailureInsteadOfThrowing)
{
    TempFolder dir;
    EXPECT_FALSE(CreateLogTable(dir.file("no/such/folder"), "x"));
    EXPECT_FALSE(CreateLogDescriptor(dir.file("no/such/folder/x.dbf")));
    EXPECT_THROW(readLogDescriptor(dir.file("missing.qx7")), dbase::Error);
}

} // namespace
} // namespace qx7
