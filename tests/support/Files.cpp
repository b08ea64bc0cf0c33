#include "support/Files.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tqz::test {

std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    // Through a string stream: GCC 12 warns of a null dereference inside istreambuf_iterator at -O2.
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeBytes(const std::filesystem::path& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::filesystem::path testData(const std::filesystem::path& name)
{
    return std::filesystem::path(TQZ_TEST_DATA) / name;
}

std::filesystem::path copyTestData(const std::filesystem::path& name, const std::filesystem::path& folder)
{
    const auto target = folder / name.filename();
    std::filesystem::copy_file(testData(name), target, std::filesystem::copy_options::overwrite_existing);
    return target;
}

std::vector<std::string> folderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

void drain(int fd, std::string& into)
{
    std::array<char, 4096> buffer{};
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n > 0) {
        into.append(buffer.data(), static_cast<std::size_t>(n));
    }
}

} // namespace

ProgramResult runProgram(const std::vector<std::string>& arguments)
{
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ::close(out[0]);
        ::close(err[0]);
        std::vector<char*> argv;
        for (const auto& a : arguments) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    ProgramResult result;
    std::array<pollfd, 2> fds{{{out[0], POLLIN, 0}, {err[0], POLLIN, 0}}};
    int open = 2;
    while (open > 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) {
            break;
        }
        for (auto& p : fds) {
            if (p.fd >= 0 && (p.revents & (POLLIN | POLLHUP)) != 0) {
                const std::size_t before = (p.fd == out[0] ? result.output : result.errors).size();
                drain(p.fd, p.fd == out[0] ? result.output : result.errors);
                if ((p.fd == out[0] ? result.output : result.errors).size() == before) {
                    ::close(p.fd);
                    p.fd = -1;
                    --open;
                }
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace tqz::test
