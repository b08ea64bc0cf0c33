#include "platform/FileIo.h"

#include "platform/Error.h"

#include <array>
#include <cerrno>
#include <random>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tqz::io {

namespace {

// The suffix of a temporary file: it must not end in .DBF, because the timetabling program scans
// the working folder for tables and would trip over a half-written one.
constexpr std::string_view kTemporaryMarker = ".tqz-";
constexpr std::size_t kRandomLength = 6;
constexpr int kCreateAttempts = 100;
constexpr std::size_t kReadChunk = 64 * 1024;

FaultHook& faultHook()
{
    static FaultHook hook;
    return hook;
}

// The errno the installed hook asks for, or 0 to let the call through.
int injectedFault(Operation operation)
{
    const FaultHook& hook = faultHook();
    return hook ? hook(operation) : 0;
}

std::string quoted(const std::filesystem::path& file)
{
    return "'" + file.string() + "'";
}

[[noreturn]] void failReading(const std::filesystem::path& file, int errorNumber)
{
    fail("No se puede leer el archivo " + quoted(file) + ": " + systemMessage(errorNumber));
}

[[noreturn]] void failWriting(const std::filesystem::path& target, int errorNumber)
{
    fail("No se puede escribir el archivo " + quoted(target) + ": " + systemMessage(errorNumber));
}

std::string randomSuffix()
{
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string suffix;
    for (std::size_t i = 0; i < kRandomLength; ++i) {
        suffix += kAlphabet[pick(generator)];
    }
    return suffix;
}

struct TemporaryFile {
    std::filesystem::path path;
    int fd = -1;
};

// Creates a new file beside `target`. A new table keeps the permissions of the one it replaces.
TemporaryFile createTemporary(const std::filesystem::path& target)
{
    const std::string stem = target.filename().string() + std::string(kTemporaryMarker);
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        TemporaryFile temporary{target.parent_path() / (stem + randomSuffix()), -1};
        temporary.fd = ::open(temporary.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temporary.fd >= 0) {
            struct stat existing{};
            if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
                ::fchmod(temporary.fd, existing.st_mode & 07777);
            }
            return temporary;
        }
        if (errno != EEXIST) {
            fail("No se puede crear el archivo " + quoted(target) + ": " + systemMessage(errno));
        }
    }
    fail("No se puede crear el archivo " + quoted(target) + ": " + systemMessage(EEXIST));
}

// 0 when every byte reached the file and the disk, otherwise the errno of the failing call.
int writeAndSync(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        if (const int fault = injectedFault(Operation::Write); fault != 0) {
            return fault;
        }
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Closes the descriptor in every case (a failed close must not leak it).
int closeFile(int fd)
{
    const int fault = injectedFault(Operation::Close);
    const int result = ::close(fd);
    if (fault != 0) {
        return fault;
    }
    return result == 0 ? 0 : errno;
}

// A rename is only durable once the folder's entry is on the disk; failing that is not an
// error of the write, which has already taken place.
void syncFolder(const std::filesystem::path& file)
{
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void setFaultHook(FaultHook hook)
{
    faultHook() = std::move(hook);
}

std::string readFile(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        failReading(file, errno);
    }
    struct stat status{};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        const int errorNumber = S_ISDIR(status.st_mode) ? EISDIR : errno;
        ::close(fd);
        failReading(file, errorNumber);
    }
    std::string bytes;
    std::array<char, kReadChunk> chunk{};
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int errorNumber = errno;
            ::close(fd);
            failReading(file, errorNumber);
        }
        if (got == 0) {
            break;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

std::filesystem::path stageFile(const std::filesystem::path& target, std::string_view bytes)
{
    const TemporaryFile temporary = createTemporary(target);
    if (const int written = writeAndSync(temporary.fd, bytes); written != 0) {
        ::close(temporary.fd);
        removeFileQuietly(temporary.path);
        failWriting(target, written);
    }
    if (const int closed = closeFile(temporary.fd); closed != 0) {
        removeFileQuietly(temporary.path);
        failWriting(target, closed);
    }
    return temporary.path;
}

void renameFile(const std::filesystem::path& from, const std::filesystem::path& to)
{
    int errorNumber = injectedFault(Operation::Rename);
    if (errorNumber == 0 && ::rename(from.c_str(), to.c_str()) != 0) {
        errorNumber = errno;
    }
    if (errorNumber != 0) {
        fail("No se puede reemplazar el archivo " + quoted(to) + ": " + systemMessage(errorNumber));
    }
    syncFolder(to);
}

void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes)
{
    const std::filesystem::path temporary = stageFile(target, bytes);
    try {
        renameFile(temporary, target);
    } catch (...) {
        removeFileQuietly(temporary);
        throw;
    }
}

void removeFileQuietly(const std::filesystem::path& file) noexcept
{
    if (injectedFault(Operation::Remove) == 0) {
        ::unlink(file.c_str());
    }
}

void removeFile(const std::filesystem::path& file)
{
    int errorNumber = injectedFault(Operation::Remove);
    if (errorNumber == 0 && ::unlink(file.c_str()) != 0 && errno != ENOENT) {
        errorNumber = errno;
    }
    if (errorNumber != 0) {
        fail("No se puede borrar el archivo " + quoted(file) + ": " + systemMessage(errorNumber));
    }
    syncFolder(file);
}

bool isTemporaryName(const std::filesystem::path& file)
{
    const std::string name = file.filename().string();
    const std::size_t marker = name.rfind(kTemporaryMarker);
    if (marker == std::string::npos || marker == 0) {
        return false;
    }
    const std::string_view suffix = std::string_view(name).substr(marker + kTemporaryMarker.size());
    if (suffix.size() != kRandomLength) {
        return false;
    }
    for (const char c : suffix) {
        const bool alphanumeric =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!alphanumeric) {
            return false;
        }
    }
    return true;
}

void removeTemporariesIn(const std::filesystem::path& folder) noexcept
{
    std::error_code error;
    std::vector<std::filesystem::path> leftovers;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (isTemporaryName(it->path())) {
            leftovers.push_back(it->path());
        }
    }
    for (const auto& leftover : leftovers) {
        removeFileQuietly(leftover);
    }
}

void removeTemporariesOf(const std::filesystem::path& target) noexcept
{
    const std::string stem = target.filename().string() + std::string(kTemporaryMarker);
    std::error_code error;
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::vector<std::filesystem::path> leftovers;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() == stem.size() + kRandomLength && name.starts_with(stem) && isTemporaryName(it->path())) {
            leftovers.push_back(it->path());
        }
    }
    for (const auto& leftover : leftovers) {
        removeFileQuietly(leftover);
    }
}

} // namespace tqz::io
