#pragma once

// Operating-system locks on a table file. An exclusive lock keeps every other opener out, in this
// process or another; a shared lock keeps out only exclusive openers. Locks are advisory whole-file
// locks (flock on POSIX, share modes on Windows), held until the object is destroyed.

#include <filesystem>
#include <string>

namespace tqz {

enum class LockMode { Exclusive, Shared };

class FileLock {
public:
    // Opens `file` and locks it without waiting. Fails with a message naming `displayName` when
    // another opener holds a conflicting lock ("La tabla 'SOLUC' está abierta por otro programa")
    // or the file cannot be opened.
    FileLock(const std::filesystem::path& file, LockMode mode, const std::string& displayName);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace tqz
