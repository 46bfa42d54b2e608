#include "ui/manager/TQXManagerDlg.h"

#include "ui/help/HelpWindow.h"
#include "WindowTestHome.h"

#include <QAbstractItemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {
namespace {

using testing::WatchingPrompter;
using testing::WindowTestHome;

class ManagerWindow : public ::testing::Test
{
protected:
    ManagerWindow() : home(prompter), dlg(*home.dm) {}

    template <class W>
    W* child(const char* name)
    {
        auto* w = dlg.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* button)
    {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    // The next file dialog answers `path` with filter `filter`.
    void chooseNext(const std::string& path, int filter = 0)
    {
        dlg.setFileChooser([path, filter](QWidget*, FileRequest& r) {
            r.chosenFilter = filter;
            return QString::fromStdString(path);
        });
    }
    QString count() { return child<QLabel>("countLabel")->text(); }
    QAbstractItemModel* grid() { return child<QTableView>("managerGrid")->model(); }
    QString cell(int row, int col) { return grid()->index(row, col).data().toString(); }
    std::string readFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    WatchingPrompter prompter;
    WindowTestHome home;
    TQXManagerDlg dlg;
};

TEST_F(ManagerWindow, ImportsFindsExportsAndShowsTheDatabase)
{
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("QSL Manager Database"));
    EXPECT_EQ(count(), QStringLiteral("0 Record(s)"));
    home.write("list.txt", "W1AW;K1AAA;20000101;;\nVP8XY;G4ABC;;;\nW1AWX;K9XX;;;\n");
    chooseNext(home.file("list.txt"));
    click("importTextButton");
    EXPECT_EQ(home.dm->managers().ManagerCount(), 3);
    EXPECT_EQ(count(), QStringLiteral("3 Record(s)"));
    ASSERT_EQ(grid()->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), QStringLiteral("VP8XY"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("K1AAA"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("20000101"));
    EXPECT_EQ(grid()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("valid till"));

    // Typed letters become capitals; the grid shows the calls beginning with the text.
    auto* find = child<QLineEdit>("findCallEdit");
    find->setFocus();
    QTest::keyClicks(find, "w1a-w");
    EXPECT_EQ(find->text(), QStringLiteral("W1AW"));
    EXPECT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(count(), QStringLiteral("2 Record(s)"));
    auto* findMgr = child<QLineEdit>("findManagerEdit");
    findMgr->setFocus();
    QTest::keyClicks(findMgr, "g4");
    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), QStringLiteral("VP8XY"));
    click("clearFindButton");
    EXPECT_TRUE(find->text().isEmpty());
    EXPECT_EQ(grid()->rowCount(), 3);

    // An edit in the grid goes into the table.
    ASSERT_TRUE(grid()->setData(grid()->index(0, 1), QStringLiteral("G4XYZ"), Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(0, 1), QStringLiteral("G4XYZ"));
    EXPECT_EQ(home.dm->managers().LookUpManager("VP8XY", "", "20240101").manager, "G4XYZ");

    chooseNext(home.file("out.txt"), 1);
    click("exportButton");
    const std::string out = readFile(home.file("out.txt"));
    EXPECT_NE(out.find("W1AW,01/01/2000,K1AAA"), std::string::npos) << out;
    EXPECT_NE(out.find("VP8XY,,G4XYZ"), std::string::npos) << out;

    // A qmgr.dbf of another program joins the database.
    chooseNext(home.file("qmgr.dbf"));
    {
        dbase::CreateOptions options;
        dbase::Table::create(
            home.file("qmgr.dbf"),
            {{"CALL", 'C', 16}, {"MGR", 'C', 16}, {"ACTIVE", 'C', 8}, {"ADDRESS", 'C', 1}},
            options);
        dbase::Table t;
        t.open(home.file("qmgr.dbf"));
        t.append();
        t.setText("CALL", "ZD8Z");
        t.setText("MGR", "VE3HO");
        t.post();
        t.close();
    }
    click("importDatabaseButton");
    EXPECT_EQ(home.dm->managers().ManagerCount(), 4);
    EXPECT_EQ(count(), QStringLiteral("4 Record(s)"));
    EXPECT_TRUE(prompter.failures.empty());
}

TEST_F(ManagerWindow, DeleteAsksTwiceAndPackKeepsTheRecords)
{
    home.write("list.txt", "W1AW;K1AAA;;;\nVP8XY;G4ABC;;;\n");
    chooseNext(home.file("list.txt"));
    click("importTextButton");
    ASSERT_EQ(home.dm->managers().ManagerCount(), 2);

    click("packButton");
    EXPECT_EQ(home.dm->managers().ManagerCount(), 2);
    EXPECT_EQ(count(), QStringLiteral("2 Record(s)"));

    prompter.expect("Are you sure to delete the QSL Manager Database?", PromptButton::Yes);
    prompter.expect("Are you really sure?", PromptButton::No);
    click("deleteButton");
    EXPECT_EQ(home.dm->managers().ManagerCount(), 2);
    prompter.expect("Are you sure to delete the QSL Manager Database?", PromptButton::Yes);
    prompter.expect("Are you really sure?", PromptButton::Yes);
    click("deleteButton");
    EXPECT_EQ(home.dm->managers().ManagerCount(), 0);
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_EQ(count(), QStringLiteral("0 Record(s)"));
    EXPECT_TRUE(prompter.allAnswered());
    EXPECT_TRUE(prompter.failures.empty());
    for (const char* b : {"importTextButton", "deleteButton", "packButton", "closeButton"})
        EXPECT_TRUE(child<QPushButton>(b)->isEnabled()) << b;
}

// The record count in the header of a dBase file, as any other reader of the file sees it.
std::uint32_t recordsInFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char header[8] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return header[4] | header[5] << 8 | header[6] << 16 |
           static_cast<std::uint32_t>(header[7]) << 24;
}

TEST_F(ManagerWindow, PackAndDeleteLeaveTheFileAsTheWindowSays)
{
    home.write("list.txt", "W1AW;K1AAA;;;\nVP8XY;G4ABC;;;\nZD8Z;VE3HO;;;\n");
    chooseNext(home.file("list.txt"));
    click("importTextButton");
    const std::string file = (std::filesystem::path(home.dm->QXManagerPath) / "qxmgr.dbf").string();
    ASSERT_EQ(recordsInFile(file), 3u);
    dbase::Table& table = home.dm->managers().MgrTable();
    ASSERT_TRUE(table.findKey("VP8XY"));
    table.deleteRecord();
    EXPECT_EQ(recordsInFile(file), 3u); // flagged, still in the file

    click("packButton");
    EXPECT_EQ(recordsInFile(file), 2u);
    EXPECT_EQ(count(), QStringLiteral("2 Record(s)"));
    ASSERT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), QStringLiteral("W1AW"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("ZD8Z"));
    // The index was rebuilt with the records: look-ups find what is left, and only that.
    EXPECT_EQ(home.dm->managers().LookUpManager("ZD8Z", "", "20240101").manager, "VE3HO");
    EXPECT_EQ(home.dm->managers().LookUpManager("VP8XY", "", "20240101").manager, "");

    prompter.expect("Are you sure to delete the QSL Manager Database?", PromptButton::Yes);
    prompter.expect("Are you really sure?", PromptButton::Yes);
    click("deleteButton");
    EXPECT_EQ(recordsInFile(file), 0u);
    EXPECT_EQ(home.dm->managers().LookUpManager("ZD8Z", "", "20240101").manager, "");
    EXPECT_TRUE(prompter.allAnswered());
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
}

TEST_F(ManagerWindow, DamagedListNamesTheLineAndKeepsTheDatabase)
{
    home.write("good.txt", "W1AW;K1AAA;;;\n");
    chooseNext(home.file("good.txt"));
    click("importTextButton");
    home.write("bad.txt", std::string("VP8XY;G4ABC;;;\n\x01\x02\x03garbage\n", 26));
    chooseNext(home.file("bad.txt"));
    bool controlsOffWhileRunning = false;
    prompter.whileShown = [&] {
        controlsOffWhileRunning = !child<QPushButton>("importTextButton")->isEnabled() &&
                                  !child<QTableView>("managerGrid")->isEnabled() &&
                                  !child<QLineEdit>("findCallEdit")->isEnabled();
    };
    prompter.expect("The manager list is damaged at line 2.\r\nNothing was imported.",
                    PromptButton::Ok);
    click("importTextButton");
    EXPECT_TRUE(controlsOffWhileRunning);
    EXPECT_TRUE(prompter.failures.empty()) << prompter.failures.front();
    EXPECT_EQ(home.dm->managers().ManagerCount(), 1);
    EXPECT_EQ(count(), QStringLiteral("1 Record(s)"));
    EXPECT_TRUE(child<QPushButton>("importTextButton")->isEnabled());

    // A foreign file says so and reads nothing.
    home.write("foreign.txt", "<html>no list</html>\n");
    chooseNext(home.file("foreign.txt"));
    prompter.whileShown = {};
    prompter.expect("Unsupported file format!", PromptButton::Ok);
    click("importTextButton");
    EXPECT_TRUE(prompter.failures.empty());
    EXPECT_EQ(home.dm->managers().ManagerCount(), 1);
}

TEST_F(ManagerWindow, CancelledFileDialogChangesNothingAndHelpOpensTheTopic)
{
    dlg.setFileChooser([](QWidget*, FileRequest&) { return QString(); });
    click("importTextButton");
    click("exportButton");
    EXPECT_EQ(home.dm->managers().ManagerCount(), 0);
    click("helpButton");
    ASSERT_NE(HelpWindow::instance(), nullptr);
    EXPECT_EQ(HelpWindow::instance()->currentTopic(), QStringLiteral("qsl_manager"));
    HelpWindow::instance()->close();
}

} // namespace
} // namespace qx7
