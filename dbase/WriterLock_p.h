#pragma once
// One writer per table across processes. Readers share the table's whole-file lock; a
// writable open also holds this lock, which only other writers ask for, for as long as
// it is open. Several writable opens of one table inside a process share the lock (the
// program's windows and its data module may each hold the same log).

#include <string>

namespace qx7::dbase::detail {

class WriterLock
{
public:
    WriterLock() = default;
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;
    ~WriterLock() { release(); }

    // `fd` is an open descriptor of the table. Throws Error::InUse when another process
    // writes the table, Io when the lock cannot be asked for.
    void acquire(int fd, const std::string& table);
    void release();
    // True when a process other than this one holds the writer lock of the file open
    // as `fd`.
    static bool heldElsewhere(int fd);

private:
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
    bool m_held = false;
};

} // namespace qx7::dbase::detail
