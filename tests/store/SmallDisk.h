#pragma once
// A small tmpfs of its own for tests of full and read-only disks. Mounting needs root
// (CI runs as root); elsewhere the disk is not mounted and reason() says why, so the test
// can skip with that reason.

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace qx7::testing {

class SmallDisk
{
public:
    explicit SmallDisk(const std::string& size, const std::string& name)
    {
        if (::geteuid() != 0) {
            m_reason = "mounting a tmpfs needs root";
            return;
        }
        m_path = std::filesystem::temp_directory_path() / ("qx7-small-disk-" + name);
        run("umount '" + m_path.string() + "' 2>/dev/null"); // left over from a killed run
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
        if (!run("mount -t tmpfs -o size=" + size + " tmpfs '" + m_path.string() +
                 "' 2>/dev/null")) {
            m_reason = "this machine does not allow mounting a tmpfs";
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            run("umount '" + m_path.string() + "'");
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& reason() const { return m_reason; }
    const std::filesystem::path& path() const { return m_path; }

    // Takes every free block, so that the next write fails with "No space left".
    void fillUp() const
    {
        const std::string filler = (m_path / "filler").string();
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const std::string block(4096, '\0');
        while (fd >= 0 && ::write(fd, block.data(), block.size()) > 0) {
        }
        while (fd >= 0 && ::write(fd, block.data(), 1) > 0) {
        }
        if (fd >= 0)
            ::close(fd);
    }
    void makeRoom() const { std::filesystem::remove(m_path / "filler"); }
    bool makeReadOnly() const { return run("mount -o remount,ro '" + m_path.string() + "'"); }

private:
    static bool run(const std::string& command) { return std::system(command.c_str()) == 0; }

    std::filesystem::path m_path;
    bool m_mounted = false;
    std::string m_reason;
};

} // namespace qx7::testing
