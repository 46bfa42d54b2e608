#include "core/DateFormat.h"
#include "core/IniFile.h"
#include "datamodule/TQXDM.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

class StartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::temp_directory_path() /
                 ("qx7-start-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_home);
        fs::create_directories(m_home);
        ::unsetenv("QX7_NO_PDF_PRINTER");
    }
    void TearDown() override { fs::remove_all(m_home); }

    std::string folder() const { return m_home.string() + "/"; }
    std::string ini() const { return folder() + "qx7.ini"; }
    void writeIni(const std::string& text) const { std::ofstream(ini()) << text; }

    std::unique_ptr<TQXDM> start(int engineVersion = 500)
    {
        DataModuleEnvironment env;
        env.programFolder = folder();
        env.prompter = &prompter;
        env.engineVersion = engineVersion;
        env.today = Date{2026, 12, 8};
        env.systemPrinters = [this] { return printers; };
        return std::make_unique<TQXDM>(std::move(env));
    }

    fs::path m_home;
    ScriptedPrompter prompter;
    std::vector<std::string> printers;
};

TEST_F(StartUp, FirstStartWritesExactlyTheFirstStartValues)
{
    auto dm = start();
    ASSERT_TRUE(prompter.failures.empty());
    IniFile f(ini());
    EXPECT_EQ(f.readString("QXForm", "WindowSize", ""), "0 1 -1 -1 -1 -1 40 40 800 600");
    EXPECT_EQ(f.readString("QXDesigner", "WindowSize", ""), "0 1 -1 -1 -1 -1 0 0 760 560");
    EXPECT_EQ(f.sectionKeys("DateFormats").size(), 26u);
    EXPECT_EQ(f.readString("DateFormats", "Long9", ""), "September");
    EXPECT_EQ(f.readString("DateFormats", "DateSeparator", ""), "-");
    EXPECT_EQ(f.sectionKeys("BandComboBox2").size(), 29u);
    EXPECT_EQ(f.sectionKeys("ModeComboBox").size(), 47u);
    EXPECT_EQ(f.readString("BandComboBox2", "1", ""), "0");
    EXPECT_EQ(f.readString("BandComboBox2", "2", ""), "1");
    EXPECT_EQ(f.readString("ModeComboBox", "3", ""), "1");
    EXPECT_EQ(f.readString("ModeComboBox", "4", ""), "0");
    const auto freq = f.sectionValues("FreqFormats");
    ASSERT_EQ(freq.size(), 29u);
    EXPECT_EQ(freq.front(), "2190m=.136");
    EXPECT_EQ(freq[13], "2m=144 MHz");
    EXPECT_EQ(freq.back(), "SAT=SAT");
    EXPECT_EQ(f.readString("QSOEditToolbar", "LastDock", ""), "SearchDock1");
    EXPECT_EQ(f.readString("QSOEditToolbar", "FloatRightX", ""), "99");
    EXPECT_EQ(f.sectionKeys("QSOEditToolbar").size(), 9u);
    EXPECT_EQ(f.readString("System", "UseManagerDB", ""), "1");
    EXPECT_EQ(f.readString("System", "LastQXD", ""), "sample.qxd");
    const char* folders[][2] = {{"QXLogPath", "logs"},
                                {"QXLayoutPath", "layouts"},
                                {"QXManagerPath", "manager"},
                                {"QXTmpPath", "tmp"},
                                {"QXUserPath", "user"}};
    for (const auto& [key, name] : folders) {
        EXPECT_EQ(f.readString("System", key, ""), folder() + name) << key;
        EXPECT_TRUE(fs::is_directory(folder() + name)) << name;
    }
    // Nothing else reaches the System section on a first start.
    EXPECT_EQ(f.sectionKeys("System").size(), 7u);
    EXPECT_EQ(f.sections(), (std::vector<std::string>{"QXForm", "QXDesigner", "DateFormats",
                                                      "BandComboBox2", "ModeComboBox",
                                                      "FreqFormats", "QSOEditToolbar", "System"}));
    EXPECT_EQ(dm->LastPQ, folder() + "qx7pq.dbf");
    EXPECT_EQ(dm->FormActivated, -1);
    EXPECT_EQ(dm->LogCount, 0);
}

TEST_F(StartUp, VisibleBandsAndModesFollowTableOrder)
{
    auto dm = start();
    EXPECT_EQ(dm->VisibleBands, (std::vector<std::string>{"", "160m", "80m", "40m", "30m", "20m",
                                                          "17m", "15m", "12m", "10m"}));
    EXPECT_EQ(dm->VisibleModes, (std::vector<std::string>{"", "SSB", "AM", "FM"}));
}

TEST_F(StartUp, VisibilityKeysOutOfOrderStillListInTableOrder)
{
    writeIni("[BandComboBox2]\n14=1\n2=0\n29=1\n1=1\n[ModeComboBox]\n47=1\n4=1\n1=0\n");
    auto dm = start();
    EXPECT_EQ(dm->VisibleBands,
              (std::vector<std::string>{"", "2190m", "80m", "40m", "30m", "20m", "17m", "15m",
                                        "12m", "10m", "2m", "SAT"}));
    EXPECT_EQ(dm->VisibleModes, (std::vector<std::string>{"", "AM", "FM", "CW", "WSPR"}));
}

TEST_F(StartUp, LegacyBandSectionMovesUpByTwoAndIsErased)
{
    writeIni("[BandComboBox]\n1=1\n2=0\n3=1\n11=1\n27=1\n");
    auto dm = start();
    IniFile f(ini());
    EXPECT_FALSE(f.sectionExists("BandComboBox"));
    EXPECT_EQ(f.readString("BandComboBox2", "1", ""), "0");
    EXPECT_EQ(f.readString("BandComboBox2", "2", ""), "1");
    EXPECT_EQ(f.readString("BandComboBox2", "3", ""), "0");
    EXPECT_EQ(f.readString("BandComboBox2", "4", ""), "0");
    EXPECT_EQ(f.readString("BandComboBox2", "5", ""), "1");  // old 3, 40m
    EXPECT_EQ(f.readString("BandComboBox2", "13", ""), "1"); // old 11, 4m
    EXPECT_EQ(f.readString("BandComboBox2", "29", ""), "1"); // old 27, SAT
    EXPECT_EQ(f.readString("BandComboBox2", "7", ""), "0");  // old 5 missing: false
    EXPECT_EQ(dm->VisibleBands, (std::vector<std::string>{"", "160m", "40m", "4m", "SAT"}));
}

TEST_F(StartUp, TableLevelOutsideFourToSevenIsFour)
{
    for (const char* level : {"9", "3", "-1", "x"}) {
        writeIni(std::string("[System]\nBDEDBaseLevel=") + level + "\n");
        EXPECT_EQ(start()->BDEDBaseLevel, 4) << level;
    }
    writeIni("[System]\nBDEDBaseLevel=7\n");
    EXPECT_EQ(start()->BDEDBaseLevel, 7);
}

TEST_F(StartUp, QslDatesFollowTheirKeysAndSurviveExit)
{
    writeIni("[System]\nQSLsDate=0\n");
    auto dm = start();
    EXPECT_FALSE(dm->QSLSentDate.has_value());
    ASSERT_TRUE(dm->QSLRcvdDate.has_value());
    EXPECT_EQ(toYmd(*dm->QSLRcvdDate), "20261208");
    ASSERT_TRUE(dm->writeSettingsAtExit());
    IniFile f(ini());
    EXPECT_EQ(f.readString("System", "QSLsDate", ""), "0");
    EXPECT_EQ(f.readString("System", "QSLrDate", ""), "1");
}

TEST_F(StartUp, ManagerLookUpOffHoldsForThisRunOnly)
{
    writeIni("[System]\nUseManagerDB=0\nLastQXD=card.qxd\n");
    auto dm = start();
    EXPECT_FALSE(dm->UseManagerDB);
    IniFile f(ini());
    EXPECT_EQ(f.readString("System", "UseManagerDB", ""), "1");
    EXPECT_EQ(f.readString("System", "LastQXD", ""), "card.qxd");
}

TEST_F(StartUp, SettingsAreReadWithTheirTypes)
{
    writeIni("[Print]\nPriRows=18\nQSLsFlag=DX\nManagerText=QSL via \nFillDashes=1\n"
             "[Sort]\nSortTyp=1\nCfmNewB=1\nPageConf=0\n[Convert]\nAdifComment=<NOTES>\n"
             "ImportDupes=1\n[DateFormats]\nShort3=Mrz\nDateSeparator=.\n");
    auto dm = start();
    EXPECT_EQ(dm->PriRows, 18);
    EXPECT_EQ(dm->qslSentFlag(), 'D');
    EXPECT_EQ(dm->ManagerText, "QSL via"); // values are trimmed like any ini value
    EXPECT_TRUE(dm->FillDashes);
    EXPECT_EQ(dm->SortTyp, 1);
    EXPECT_TRUE(dm->CfmNewB);
    EXPECT_EQ(dm->PageConf, 0);
    EXPECT_EQ(dm->AdifCommentTag, "<NOTES>");
    EXPECT_TRUE(dm->ImportDupes);
    EXPECT_EQ(formatSettings().shortMonthNames[2], "Mrz");
    EXPECT_EQ(formatDateTime("dd/mmm/yyyy", {2024, 3, 1}), "01.Mrz.2024");
    // A FreqFormats section that exists is taken as it is.
    EXPECT_EQ(dm->BandFrequencyTexts.size(), 29u);
}

TEST_F(StartUp, KeptFolderKeysAreNotReplaced)
{
    const std::string logs = folder() + "elsewhere/mylogs";
    writeIni("[System]\nQXLogPath=" + logs + "\n");
    fs::create_directories(logs);
    std::ofstream(logs + "/dl1abc.qx7") << "x";
    auto dm = start();
    EXPECT_EQ(dm->QXLogPath, logs);
    EXPECT_EQ(dm->LogCount, 1);
    EXPECT_FALSE(fs::exists(folder() + "logs"));
}

TEST_F(StartUp, NoPrinterWarnsAndDisablesPrinting)
{
    ::setenv("QX7_NO_PDF_PRINTER", "1", 1);
    prompter.expect("No printer installed!\r\nLabel Designer and printing will be disabled.",
                    PromptButton::Ok);
    auto dm = start();
    EXPECT_FALSE(dm->PrinterAvailable);
    EXPECT_TRUE(prompter.allAnswered());
    EXPECT_TRUE(prompter.failures.empty());
    ::unsetenv("QX7_NO_PDF_PRINTER");
}

TEST_F(StartUp, ThePdfPrinterIsAlwaysOffered)
{
    printers = {"Office"};
    auto dm = start();
    EXPECT_TRUE(dm->PrinterAvailable);
    EXPECT_EQ(dm->Printers, (std::vector<std::string>{"Office", "PDF file"}));
}

TEST_F(StartUp, AnOldTableEngineShutsTheProgramDown)
{
    prompter.expect("The BDE Version is lower than 5.0!\r\nPlease install the latest update.",
                    PromptButton::Ok);
    auto dm = start(499);
    EXPECT_TRUE(dm->ShutDown);
    EXPECT_TRUE(prompter.failures.empty());
    auto ok = start(500);
    EXPECT_FALSE(ok->ShutDown);
    EXPECT_EQ(ok->BDEDefaultDriver, "DBASE");
    EXPECT_EQ(ok->BDELangDriver, "DBWINUS0");
    EXPECT_EQ(ok->BDECodePage, 1252);
}

TEST_F(StartUp, ConfigurationPathsNeedAnEntryName)
{
    auto dm = start();
    EXPECT_THROW(dm->engineConfig().value("\\SYSTEM\\INIT"), std::invalid_argument);
    try {
        dm->engineConfig().value("\\DRIVERS\\DBASE");
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "Invalid parameter passed tofunction.  There must be a "
                               "semi-colon delimited sting passed");
    }
    EXPECT_EQ(dm->engineConfig().value("\\DRIVERS\\DBASE\\TABLE CREATE;LEVEL"), "4");
}

TEST_F(StartUp, PendingFoldersAreWrittenAtExitForTheNextStart)
{
    auto dm = start();
    dm->QXLogPathNew = folder() + "newlogs";
    dm->QXADIFExportPath = folder() + "export";
    dm->QSLsFlag = "B";
    dm->IndexOnQXPQ = 1;
    ASSERT_TRUE(dm->writeSettingsAtExit());
    EXPECT_EQ(dm->QXLogPath, folder() + "logs"); // takes effect at the next start only
    auto next = start();
    EXPECT_EQ(next->QXLogPath, folder() + "newlogs");
    EXPECT_EQ(next->QXADIFExportPath, folder() + "export");
    EXPECT_EQ(next->QSLsFlag, "B");
    EXPECT_EQ(next->IndexOnQXPQ, 1);
}

TEST_F(StartUp, ImportMemoryPerFormat)
{
    auto dm = start();
    EXPECT_EQ(dm->LoadImportPath(12), std::make_pair(folder() + "tmp/", std::string()));
    dm->SaveImportPath(12, "/data/logs", "MyCsv");
    dm->SaveImportPath(3, "/data/other", "");
    dm->SaveImportSpec(3, "");
    EXPECT_EQ(dm->LoadImportPath(12),
              std::make_pair(std::string("/data/logs"), std::string("MyCsv")));
    EXPECT_EQ(dm->LoadImportPath(3), std::make_pair(std::string("/data/other"), std::string()));
    dm->SaveImportPath(42, "/somewhere", "");
    EXPECT_EQ(dm->LoadImportPath(42, "kept"),
              std::make_pair(folder() + "logs", std::string("kept")));
}

TEST_F(StartUp, FirstStartShipsTheLayoutsAndOpensTheBatchTables)
{
    auto dm = start();
    EXPECT_TRUE(fs::exists(folder() + "layouts/sample.qxd"));
    EXPECT_TRUE(fs::exists(folder() + "layouts/qslcard.qxd"));
    EXPECT_GT(fs::file_size(folder() + "tmp/sample.adi"), 10000u);
    EXPECT_TRUE(fs::exists(folder() + "QXBatchInput1.dbf"));
    EXPECT_FALSE(dm->UseBatchInput);
    dm->batchInput().AddBatchStation("DL1ABC", "W1AW", "0", "");
    dm.reset();
    EXPECT_TRUE(start()->UseBatchInput); // a request waits: batch input starts
    LabelLayout layout;
    auto again = start();
    ASSERT_TRUE(again->loadLayout("sample.qxd", layout).has_value());
    EXPECT_EQ(again->PriRows, 6);
    EXPECT_EQ(again->PriBoLN, 2);
    EXPECT_EQ(again->LabelsPerPage, 24);
}

} // namespace
} // namespace qx7
