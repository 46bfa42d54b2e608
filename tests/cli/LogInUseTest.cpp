// Two homes sharing a log folder: while one process writes a log, a queue fill of the
// same log in another process stops with "log in use" instead of queueing its QSOs a
// second time.

#include "dbase/Table.h"
#include "RunQx7cli.h"
#include "store/LogTable.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace qx7 {
namespace {

namespace fs = std::filesystem;

TEST(LogInUse, AQueueFillWhileAnotherProcessWritesTheLogIsRefused)
{
    const fs::path home =
        fs::temp_directory_path() / ("qx7-log-in-use-" + std::to_string(::getpid()));
    fs::remove_all(home);
    ASSERT_EQ(testing::qx7cli(home, "log create DL1ABC --call DL1ABC").code, 0);
    {
        dbase::Table log;
        openLog(log, (home / "logs" / "dl1abc.dbf").string(), 0);
        log.append();
        log.setText("CALL", "W1AW");
        log.setText("DATE", "20240101");
        log.setText("TIME", "1200");
        log.setText("BAND", "20m");
        log.setText("MODE", "CW");
        log.setText("QSLS", "N");
        log.post();
    }
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        dbase::Table log;
        openLog(log, (home / "logs" / "dl1abc.dbf").string(), 0);
        (void)!::write(ready[1], "y", 1);
        for (;;)
            ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const testing::CliResult fill = testing::qx7cli(home, "--yes queue fill dl1abc --call W1AW");
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    EXPECT_NE(fill.code, 0);
    EXPECT_NE(fill.out.find("log in use"), std::string::npos) << fill.out;

    const testing::CliResult again = testing::qx7cli(home, "--yes queue fill dl1abc --call W1AW");
    EXPECT_EQ(again.code, 0) << again.out;
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
