// Logs that cannot be opened as they are: a damaged table, a table another program
// holds, a missing index. Each gets a clear message or is repaired; the program goes on.

#include "UiFixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <filesystem>

namespace qx7 {
namespace {

using namespace uitest;

TEST(BadLog, DamagedLockedOrIndexlessLogs)
{
    YesPrompter prompter;
    UiHome home(prompter);
    home.makeLog("good", {{"QA1ABC"}, {"QB2X"}});
    home.makeLog("locked", {{"QC3Y"}});
    home.makeLog("noindex", {{"QD4Z"}, {"QA9A"}});
    const LogPaths damaged = logPaths(home.dm->QXLogPath, "damaged");
    CreateLogDescriptor(damaged.table);
    {
        QFile f(QString::fromStdString(damaged.table));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is no dBase table");
    }
    std::filesystem::remove(logPaths(home.dm->QXLogPath, "noindex").index);
    dbase::Table holder; // another program holds the log exclusively
    holder.open(logPaths(home.dm->QXLogPath, "locked").table,
                dbase::OpenOptions{dbase::OpenMode::Exclusive});

    auto form =
        showForm(*home.dm, {"damaged.qx7", "locked.qx7", "good.qx7", "noindex.qx7", "missing.qx7"});
    std::vector<std::string> opened;
    for (TMDIChild* w : form->logWindows())
        opened.push_back(w->logName().toStdString());
    EXPECT_EQ(opened, (std::vector<std::string>{"good", "noindex"}));
    std::vector<std::string> errors;
    for (const auto& s : prompter.shown)
        if (s.icon == PromptIcon::Error)
            errors.push_back(s.text.substr(0, s.text.find("\r")));
    EXPECT_EQ(errors,
              (std::vector<std::string>{"The log \"damaged\" is damaged and cannot be opened.",
                                        "The log \"locked\" is in use by another program.",
                                        "The log \"missing\" was not found in the log folder."}));
    // The log without its index was re-indexed and shows in call order.
    EXPECT_EQ(shownCalls(*form->logWindows().back()), (std::vector<std::string>{"QA9A", "QD4Z"}));
    EXPECT_TRUE(std::filesystem::exists(logPaths(home.dm->QXLogPath, "noindex").index));
    // The program goes on: F2 still works on the good ones.
    EXPECT_TRUE(form->action("F2Action")->isEnabled());
}

} // namespace
} // namespace qx7
