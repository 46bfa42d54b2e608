// The print queue as the labels of a print run: labels an earlier run printed but did
// not remove are left out when the user agrees, and the marks of a run that was stopped
// while writing them are finished when the queue is opened next.

#include "datamodule/QueueLabelSource.h"
#include "datamodule/TQXDM.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

class QueueForPrinting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home = fs::temp_directory_path() /
                 ("qx7-queue-source-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_home);
        fs::create_directories(m_home);
        DataModuleEnvironment env;
        env.programFolder = m_home.string() + "/";
        env.prompter = &prompter;
        env.systemPrinters = [] { return std::vector<std::string>{}; };
        m_dm = std::make_unique<TQXDM>(std::move(env));
        ASSERT_TRUE(m_dm->OpenPrintQueue());
        dbase::Table& t = m_dm->printQueue().QXPQTable();
        for (const char* call : {"K1A", "K2B", "K3C"}) {
            t.append();
            t.setText("INDEXB", call);
            t.setText("INDEXD", std::string("     ") + call[1]);
            t.setText("HISCALL", call);
            t.setText("XTRA3", call[1] == '2' ? kPrintedMark : "");
            t.post();
        }
    }
    void TearDown() override
    {
        m_dm.reset();
        fs::remove_all(m_home);
    }

    std::vector<std::string> calls(LabelSource& s)
    {
        std::vector<std::string> out;
        for (int i = 0; i < s.count(); ++i)
            out.push_back(s.record(i).value("HISCALL") + "=" + s.record(i).value("XTRA3"));
        return out;
    }

    fs::path m_home;
    ScriptedPrompter prompter;
    std::unique_ptr<TQXDM> m_dm;
};

TEST_F(QueueForPrinting, LabelsPrintedAlreadyAreLeftOutWhenTheUserAgrees)
{
    const std::string question = std::string("1") + kLeaveOutPrintedQuestion;
    prompter.expect(question, PromptButton::Yes);
    int leftOut = -1;
    auto yes = openQueueForPrinting(*m_dm, &leftOut);
    ASSERT_TRUE(yes);
    EXPECT_EQ(leftOut, 1);
    EXPECT_EQ(calls(*yes), (std::vector<std::string>{"K1A=", "K3C="}));

    prompter.expect(question, PromptButton::No);
    auto no = openQueueForPrinting(*m_dm, &leftOut);
    ASSERT_TRUE(no);
    EXPECT_EQ(leftOut, 0);
    EXPECT_EQ(no->count(), 3);
    EXPECT_TRUE(prompter.allAnswered());
    EXPECT_TRUE(prompter.failures.empty());
    EXPECT_EQ(openQueueLabelSource(*m_dm)->count(), 3) << "a preview asks nothing";
}

TEST_F(QueueForPrinting, MarksOfAStoppedRunAreFinishedOnOpen)
{
    auto source = openQueueLabelSource(*m_dm);
    source->beginMarking({0, 2});
    ASSERT_TRUE(source->markPrinted(0));
    // The process stops here: K3C is printed but not yet marked.
    const fs::path journal = m_home / "qx7pq.marking";
    ASSERT_TRUE(fs::exists(journal));
    auto reopened = openQueueLabelSource(*m_dm);
    EXPECT_EQ(calls(*reopened),
              (std::vector<std::string>{"K1A=printed", "K2B=printed", "K3C=printed"}));
    EXPECT_FALSE(fs::exists(journal));

    reopened->beginMarking({0});
    reopened->endMarking();
    EXPECT_FALSE(fs::exists(journal)) << "a run that marked everything leaves no note";
}

} // namespace
} // namespace qx7
