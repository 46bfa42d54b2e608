// The print queue's ADIF journal exported through its dialog: first export, append
// (each record once) and overwrite.

#include "ui/wizard/TQXSaveADIFForm.h"

#include "store/AdifJournal.h"
#include "UiFixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

size_t occurrences(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class SaveAdif : public ::testing::Test
{
protected:
    SaveAdif() : home(prompter) {}

    // Queues QSOs as a print run does: one journal record each.
    void queue(const std::vector<std::string>& calls)
    {
        AdifJournal& j = home.dm->journal();
        ASSERT_TRUE(j.OpenAdifExport());
        for (const std::string& call : calls) {
            j.addToRecord(adifElement("call", call) + adifElement("band", "20M"));
            j.EndAdifRecord();
        }
        j.CloseAdifExport();
    }
    std::unique_ptr<TQXSaveADIFForm> open(const std::string& answer)
    {
        auto dlg = std::make_unique<TQXSaveADIFForm>(*home.dm);
        dlg->setFileChooser([answer](const QString&, const QString&, const QString& filter) {
            EXPECT_EQ(filter, "ADIF Files (*.adi)");
            return QString::fromStdString(answer);
        });
        dlg->show();
        return dlg;
    }
    template <class W>
    W* child(QWidget* dlg, const char* name)
    {
        auto* w = dlg->findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(QWidget* dlg, const char* name)
    {
        auto* b = child<QAbstractButton>(dlg, name);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    std::string target() { return home.dm->QXTmpPath + "/../export"; }

    SilentPrompter prompter;
    uitest::UiHome home;
};

TEST_F(SaveAdif, FirstExportThenAppendKeepsEachRecordOnceAndOverwriteReplaces)
{
    queue({"DL1AB", "DL2CD"});
    auto dlg = open(target()); // no extension: ".adi" is added
    EXPECT_EQ(dlg->windowTitle(), "Export Print Queue to ADIF File");
    EXPECT_FALSE(child<QPushButton>(dlg.get(), "ExportButton")->isEnabled());
    click(dlg.get(), "BrowseButton");
    const std::string file = target() + ".adi";
    EXPECT_EQ(dlg->exportFile().toStdString(), file);
    EXPECT_FALSE(child<QGroupBox>(dlg.get(), "AppendRadioGroup")->isVisible());
    click(dlg.get(), "ExportButton");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    const std::string first = readFile(file);
    EXPECT_EQ(occurrences(first, "<call:5>DL1AB "), 1u);
    EXPECT_EQ(occurrences(first, "<call:5>DL2CD "), 1u);
    // The queue was emptied with its journal.
    EXPECT_FALSE(home.dm->journal().exists());
    EXPECT_EQ(home.dm->QXADIFExportPath, file);

    // The same QSO queued again and a new one, appended: every record once.
    queue({"DL2CD", "DL3EF"});
    dlg = open("");
    EXPECT_EQ(dlg->exportFile().toStdString(), file); // remembered
    EXPECT_TRUE(child<QGroupBox>(dlg.get(), "AppendRadioGroup")->isVisible());
    EXPECT_TRUE(child<QRadioButton>(dlg.get(), "AppendRadio")->isChecked());
    click(dlg.get(), "EmptyQueueCheckBox"); // keep the queue this time
    click(dlg.get(), "ExportButton");
    const std::string appended = readFile(file);
    EXPECT_EQ(occurrences(appended, "<call:5>DL1AB "), 1u);
    EXPECT_EQ(occurrences(appended, "<call:5>DL2CD "), 1u);
    EXPECT_EQ(occurrences(appended, "<call:5>DL3EF "), 1u);
    EXPECT_TRUE(home.dm->journal().exists());

    // Overwrite: only the journal's records remain.
    dlg = open("");
    click(dlg.get(), "OverwriteRadio");
    ASSERT_TRUE(child<QRadioButton>(dlg.get(), "OverwriteRadio")->isChecked());
    click(dlg.get(), "ExportButton");
    const std::string over = readFile(file);
    EXPECT_EQ(occurrences(over, "<call:5>DL1AB "), 0u);
    EXPECT_EQ(occurrences(over, "<call:5>DL3EF "), 1u);
    EXPECT_EQ(over.rfind(adifHeader(), 0), 0u);
}

TEST_F(SaveAdif, CancelledChoiceAndTheJournalItselfAreRefused)
{
    queue({"DL1AB"});
    auto dlg = open(home.dm->journal().path());
    click(dlg.get(), "BrowseButton");
    EXPECT_FALSE(child<QPushButton>(dlg.get(), "ExportButton")->isEnabled());
    dlg = open("");
    click(dlg.get(), "BrowseButton");
    EXPECT_FALSE(child<QPushButton>(dlg.get(), "ExportButton")->isEnabled());
    EXPECT_TRUE(home.dm->QXADIFExportPath.empty());
}

TEST(SaveAdifMain, CtrlSOpensTheExportWhenTheQueueHasEntries)
{
    SilentPrompter prompter;
    uitest::UiHome home(prompter);
    auto form = uitest::showForm(*home.dm, {});
    EXPECT_FALSE(form->action("SaveADIFAction")->isEnabled()); // empty queue
}

} // namespace
} // namespace qx7
