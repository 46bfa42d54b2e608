// Temporary files carry their writer's process id in a name no listing takes for a
// real file, and only those of processes that are gone are removed.

#include "TestUtil.h"

#include "dbase/TempFiles.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace qx7::dbase {
namespace {

pid_t deadProcess()
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(0);
    }
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST(TempFiles, NamesCarryTheProcessAndNoRealExtension)
{
    const auto p = tempPathFor("/logs/dl1abc.mdx");
    EXPECT_EQ(p.parent_path(), "/logs");
    EXPECT_EQ(p.extension(), ".tmp");
    EXPECT_EQ(tempFileOwner(p.filename().string()), ::getpid());
    EXPECT_EQ(tempFileOwner("qx7.ini.tmp1234"), 1234) << "older versions' name";
    for (const char* real : {"dl1abc.dbf", "dl1abc.mdx", "dl1abc_new2024.dbf", "labels.pdf",
                             "notes.tmp", "x.~qx7-abc.tmp", "dl1abc_new12.qx7"}) {
        EXPECT_EQ(tempFileOwner(real), 0) << real;
    }
}

TEST(TempFiles, OnlyThoseOfEndedProcessesAreRemoved)
{
    test::ScratchDir dir;
    const pid_t dead = deadProcess();
    const std::string deadTag = std::to_string(dead);
    const std::vector<std::string> stale = {"log.mdx.~qx7-" + deadTag + ".tmp",
                                            "labels.pdf.~qx7-" + deadTag + ".tmp",
                                            "qx7.ini.tmp" + deadTag};
    const std::vector<std::string> kept = {"log.dbf", "log.mdx", "log.qx7",
                                           "log.mdx.~qx7-" + std::to_string(::getppid()) + ".tmp",
                                           "log_new" + deadTag + ".dbf"};
    for (const auto& name : stale) {
        test::writeFile(dir / name, "x");
    }
    for (const auto& name : kept) {
        test::writeFile(dir / name, "x");
    }
    std::filesystem::create_directories(dir / (".qx7-tmp-" + deadTag));
    test::writeFile(dir / (".qx7-tmp-" + deadTag) / "big.dbf", "x");
    const auto mine = tempFolderIn(dir.path());
    test::writeFile(mine / "big.dbf", "x");

    EXPECT_EQ(removeStaleTempFiles(dir.path()), 4);
    for (const auto& name : stale) {
        EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / (".qx7-tmp-" + deadTag)));
    EXPECT_TRUE(std::filesystem::exists(mine / "big.dbf")) << "this process still writes it";
}

} // namespace
} // namespace qx7::dbase
