// A manager import on a full disk ends with a message that names the disk: no abort,
// no work table left behind, and the manager table as it was, readable by an
// independent reader.

#include "RunQx7cli.h"
#include "store/SmallDisk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx7 {
namespace {

namespace fs = std::filesystem;
using testing::qx7cli;

void writeList(const fs::path& file, int entries)
{
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < entries; ++i)
        out << "DX" << 100000 + i << ";MG" << 100000 + i << ";2020;;\r\n";
}

TEST(ManagerImportDisk, AFullDiskEndsTheImportCleanly)
{
    testing::SmallDisk disk("400k", "managers-full");
    if (!disk.mounted())
        GTEST_SKIP() << disk.reason();
    const fs::path home = fs::temp_directory_path() / "qx7-cli-managers-full";
    fs::remove_all(home);
    fs::create_directories(home);
    const fs::path managerFolder = disk.path() / "manager";
    fs::create_directories(managerFolder);
    std::ofstream(home / "qx7.ini") << "[System]\nQXManagerPath=" << managerFolder.string() << "\n";
    writeList(home / "few.txt", 3);
    writeList(home / "many.txt", 30000);
    const auto few = qx7cli(home, "managers import '" + (home / "few.txt").string() + "'");
    ASSERT_EQ(few.code, 0) << few.out;

    const auto many = qx7cli(home, "managers import '" + (home / "many.txt").string() + "'");
    EXPECT_EQ(many.code, 1) << many.out;
    EXPECT_NE(many.out.find("the disk holding the manager folder " + managerFolder.string()),
              std::string::npos)
        << many.out;
    EXPECT_NE(many.out.find("is full"), std::string::npos) << many.out;
    EXPECT_FALSE(fs::exists(managerFolder / "tmpmgr.dbf"));
    EXPECT_FALSE(fs::exists(managerFolder / "tmpmgr.mdx"));
    const auto read = testing::readWithDbfread(managerFolder / "qxmgr.dbf", "CALL MGR");
    if (read.readerMissing)
        GTEST_SKIP() << "python3-dbfread is not installed";
    ASSERT_TRUE(read.ok) << read.output;
    EXPECT_EQ(read.rows, (std::vector<std::string>{"DX100000|MG100000", "DX100001|MG100001",
                                                   "DX100002|MG100002"}));
    fs::remove_all(home);
}

} // namespace
} // namespace qx7
