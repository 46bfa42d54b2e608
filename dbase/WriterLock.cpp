#include "dbase/WriterLock_p.h"

#include "dbase/Error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace qx7::dbase::detail {

namespace {

// A byte far past any table's end: dBase programs lock records and the header, never
// this, and a lock past the end of a file is allowed.
constexpr off_t kWriterByte = off_t{1} << 62;

struct Held
{
    int fd = -1; // its own open file description, so closing the table's keeps the lock
    int users = 0;
    pid_t owner = 0; // a child made by fork() inherits the entry, not the right to write
};

std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

std::map<std::pair<unsigned long long, unsigned long long>, Held>& registry()
{
    static std::map<std::pair<unsigned long long, unsigned long long>, Held> r;
    return r;
}

} // namespace

void WriterLock::acquire(int fd, const std::string& table)
{
    release();
    struct stat st
    {};
    if (::fstat(fd, &st) != 0) {
        throw Error(Error::Kind::Io, table, "open", std::string("stat: ") + std::strerror(errno));
    }
    const std::pair<unsigned long long, unsigned long long> key{st.st_dev, st.st_ino};
    std::lock_guard guard(registryMutex());
    Held& held = registry()[key];
    if (held.users > 0 && held.owner != ::getpid()) {
        ::close(held.fd); // the parent's description keeps the parent's lock
        held = Held{};
    }
    if (held.users == 0) {
        // Open file description locks: owned by the description, not the process, so
        // closing some other descriptor of the file in this process does not drop them.
        const int own = ::open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDWR | O_CLOEXEC);
        const int lockFd = own >= 0 ? own : ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        struct flock l
        {};
        l.l_type = F_WRLCK;
        l.l_whence = SEEK_SET;
        l.l_start = kWriterByte;
        l.l_len = 1;
        if (lockFd < 0 || ::fcntl(lockFd, F_OFD_SETLK, &l) != 0) {
            const int err = errno;
            if (lockFd >= 0) {
                ::close(lockFd);
            }
            registry().erase(key);
            if (err == EAGAIN || err == EACCES) {
                throw Error(Error::Kind::InUse, table, "open",
                            "another program is writing the table");
            }
            throw Error(Error::Kind::Io, table, "open", std::string("lock: ") + std::strerror(err));
        }
        held.fd = lockFd;
        held.owner = ::getpid();
    }
    ++held.users;
    m_device = key.first;
    m_inode = key.second;
    m_held = true;
}

void WriterLock::release()
{
    if (!m_held) {
        return;
    }
    m_held = false;
    std::lock_guard guard(registryMutex());
    auto it = registry().find({m_device, m_inode});
    if (it != registry().end() && it->second.owner == ::getpid() && --it->second.users <= 0) {
        ::close(it->second.fd);
        registry().erase(it);
    }
}

bool WriterLock::heldElsewhere(int fd)
{
    struct stat st
    {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    {
        // Our own lock would show up as a conflict below: open file description locks
        // conflict also inside one process.
        std::lock_guard guard(registryMutex());
        const auto it = registry().find({st.st_dev, st.st_ino});
        if (it != registry().end() && it->second.users > 0 && it->second.owner == ::getpid()) {
            return false;
        }
    }
    struct flock l
    {};
    l.l_type = F_WRLCK;
    l.l_whence = SEEK_SET;
    l.l_start = kWriterByte;
    l.l_len = 1;
    return ::fcntl(fd, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
}

} // namespace qx7::dbase::detail
