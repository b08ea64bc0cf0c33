#include "platform/FileLock.h"

#include "platform/Error.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tqz {

namespace {

[[noreturn]] void failOpening(const std::filesystem::path& file, const std::string& displayName,
                              int errorNumber)
{
    if (errorNumber == ENOENT) {
        fail("No existe la tabla '" + displayName + "' en '" + file.parent_path().string() + "'");
    }
    fail("No se puede abrir la tabla '" + displayName + "': " + systemMessage(errorNumber));
}

} // namespace

FileLock::FileLock(const std::filesystem::path& file, LockMode mode, const std::string& displayName)
{
    // Read access is enough for flock in either mode, so a read-only table can still be held.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        failOpening(file, displayName, errno);
    }
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int errorNumber = S_ISDIR(status.st_mode) ? EISDIR : (errno != 0 ? errno : EINVAL);
        ::close(fd);
        failOpening(file, displayName, errorNumber);
    }
    const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    int result = 0;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int errorNumber = errno;
        ::close(fd);
        if (errorNumber == EWOULDBLOCK) {
            fail("La tabla '" + displayName + "' está abierta por otro programa");
        }
        fail("No se puede bloquear la tabla '" + displayName + "': " + systemMessage(errorNumber));
    }
    m_fd = fd;
}

FileLock::~FileLock()
{
    if (m_fd >= 0) {
        ::close(m_fd);  // closing the last descriptor releases the lock
    }
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FolderLock::FolderLock(const std::filesystem::path& folder, const std::string& busyMessage)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int errorNumber = errno;
        ::close(fd);
        if (errorNumber == EWOULDBLOCK) {
            fail(busyMessage);
        }
        return;
    }
    m_fd = fd;
}

FolderLock::~FolderLock()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

FolderLock::FolderLock(FolderLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

} // namespace tqz
