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

// An exclusive claim on a folder for the length of one run, so that two runs of the tool never
// work in the same folder at once: the one that finds the folder claimed fails with `busyMessage`
// and changes nothing. A file system that cannot lock folders gives no claim and no error, as
// runs were before.
class FolderLock {
public:
    FolderLock(const std::filesystem::path& folder, const std::string& busyMessage);
    ~FolderLock();
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace tqz
