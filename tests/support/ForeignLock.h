#pragma once

// Another program holding a table: a /usr/bin/python3 child that takes an exclusive flock on the
// file and keeps it until the object is destroyed.

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace tqz::test {

class ForeignLock {
public:
    explicit ForeignLock(const std::filesystem::path& file)
    {
        int toChild[2];
        int fromChild[2];
        if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) {
            throw std::runtime_error("pipe failed");
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(toChild[0], 0);
            ::dup2(fromChild[1], 1);
            ::close(toChild[1]);
            ::close(fromChild[0]);
            const std::string script = "import fcntl, sys\n"
                                       "f = open(sys.argv[1], 'rb')\n"
                                       "fcntl.flock(f, fcntl.LOCK_EX)\n"
                                       "print('locked', flush=True)\n"
                                       "sys.stdin.read()\n";
            ::execl(TQZ_SYSTEM_PYTHON, TQZ_SYSTEM_PYTHON, "-c", script.c_str(), file.c_str(),
                static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        m_input = toChild[1];
        m_output = fromChild[0];
        // Wait for the whole line: the child may write it in pieces, and its pipe stays open until
        // the lock is released, so a late piece never meets a closed pipe.
        std::string answer;
        char c = 0;
        while (answer.find('\n') == std::string::npos) {
            const ssize_t got = ::read(m_output, &c, 1);
            if (got == 1) {
                answer += c;
            } else if (got == 0 || errno != EINTR) {
                break;
            }
        }
        if (answer != "locked\n") {
            release();
            throw std::runtime_error("the locking child did not take the lock on " + file.string());
        }
    }

    ~ForeignLock() { release(); }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;

private:
    void release()
    {
        if (m_input >= 0) {
            ::close(m_input);
            m_input = -1;
        }
        if (m_output >= 0) {
            ::close(m_output);
            m_output = -1;
        }
        if (m_pid > 0) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }

    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
};

} // namespace tqz::test
