// One writer per table across processes: a second process that opens a table for
// writing while another writes it is told the table is in use; readers are not.

#include "TestUtil.h"

#include "dbase/Table.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace qx7::dbase {
namespace {

// A child process that holds `path` open in `mode` until it is killed.
class Holder
{
public:
    Holder(const std::filesystem::path& path, OpenMode mode)
    {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            char ok = 'n';
            try {
                Table t;
                t.open(path, {mode});
                ok = 'y';
                (void)::write(fds[1], &ok, 1);
                for (;;) {
                    ::pause();
                }
            } catch (const std::exception& e) {
                std::fprintf(stderr, "holder: %s\n", e.what());
                (void)::write(fds[1], &ok, 1);
                ::_exit(1);
            }
        }
        ::close(fds[1]);
        char ok = 'n';
        m_open = ::read(fds[0], &ok, 1) == 1 && ok == 'y';
        ::close(fds[0]);
    }
    ~Holder()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool isOpen() const { return m_open; }

private:
    pid_t m_pid = -1;
    bool m_open = false;
};

Error::Kind openKind(const std::filesystem::path& path, OpenMode mode)
{
    try {
        Table t;
        t.open(path, {mode});
        return Error::Kind::Invalid; // stands for "opened"
    } catch (const Error& e) {
        return e.kind();
    }
}

constexpr Error::Kind kOpened = Error::Kind::Invalid;

TEST(WriterLock, ASecondWritingProcessIsToldTheTableIsInUse)
{
    test::ScratchDir dir;
    const auto path = dir / "log.dbf";
    Table::create(path, test::logFields(), {Level::DBase4, test::logIndexes()});
    {
        Holder writer(path, OpenMode::Shared);
        ASSERT_TRUE(writer.isOpen());
        EXPECT_EQ(openKind(path, OpenMode::Shared), Error::Kind::InUse);
        EXPECT_EQ(openKind(path, OpenMode::Exclusive), Error::Kind::InUse);
        EXPECT_EQ(openKind(path, OpenMode::ReadOnly), kOpened);
    }
    {
        // Readers elsewhere do not keep this process from writing.
        Holder reader(path, OpenMode::ReadOnly);
        ASSERT_TRUE(reader.isOpen());
        EXPECT_EQ(openKind(path, OpenMode::Shared), kOpened);
    }
    EXPECT_EQ(openKind(path, OpenMode::Shared), kOpened) << "the lock ends with the writer";
}

TEST(WriterLock, WritableOpensInsideOneProcessShareTheLock)
{
    test::ScratchDir dir;
    const auto path = dir / "log.dbf";
    Table::create(path, test::logFields(), {Level::DBase4, test::logIndexes()});
    auto a = std::make_unique<Table>();
    a->open(path);
    {
        Table b;
        b.open(path);
        Table reader;
        reader.open(path, {OpenMode::ReadOnly});
        reader.close(); // closing other descriptors of the file keeps the lock
        b.close();
    }
    {
        Holder other(path, OpenMode::Shared);
        EXPECT_FALSE(other.isOpen()) << "this process still writes through `a`";
    }
    a.reset();
    Holder other(path, OpenMode::Shared);
    EXPECT_TRUE(other.isOpen());
}

} // namespace
} // namespace qx7::dbase
