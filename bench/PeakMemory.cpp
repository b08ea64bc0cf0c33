#include "PeakMemory.h"

#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tqz::bench::peak {

namespace {

std::string readAll(int fd)
{
    std::string text;
    char buffer[256];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

pid_t spawnSelf(const std::vector<std::string>& arguments, int outputFd)
{
    std::vector<std::string> words { "/proc/self/exe", std::string(kChildFlag) };
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    pid_t child = 0;
    const int error = ::posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start the measuring process");
    }
    return child;
}

} // namespace

Peak measure(const std::vector<std::string>& arguments)
{
    int pipeFds[2];
    // Close-on-exec, so the child keeps only the copy made its standard output.
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("cannot open a pipe to the measuring process");
    }
    const pid_t child = spawnSelf(arguments, pipeFds[1]);
    ::close(pipeFds[1]);
    const std::string output = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    Peak peak;
    std::istringstream(output) >> peak.baselineKiB >> peak.peakKiB;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || peak.peakKiB == 0) {
        throw std::runtime_error("the measuring process failed for " + (arguments.empty() ? "" : arguments.front()));
    }
    return peak;
}

std::size_t highWaterKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stoul(line.substr(6));
        }
    }
    throw std::runtime_error("no VmHWM in /proc/self/status");
}

} // namespace tqz::bench::peak
