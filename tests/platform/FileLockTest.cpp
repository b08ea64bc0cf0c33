// Table locks: an exclusive open keeps every other opener out, in this process or another; a
// shared open keeps out only exclusive openers.

#include "platform/FileLock.h"

#include "support/Files.h"
#include "support/TempDir.h"

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

namespace tqz::test {
namespace {

using dbf::OpenMode;

// Another program holding a table: a Python process that flocks the file and keeps the lock
// until its standard input closes.
class OtherProgram {
public:
    OtherProgram(const std::filesystem::path& file, const char* lockMode)
    {
        int input[2];
        int output[2];
        if (::pipe(input) != 0 || ::pipe(output) != 0) {
            throw std::runtime_error("pipe failed");
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(input[0], 0);
            ::dup2(output[1], 1);
            ::close(input[1]);
            ::close(output[0]);
            const std::string script = std::string("import fcntl, sys\n") + "f = open(sys.argv[1], 'rb')\n" +
                                       "fcntl.flock(f, fcntl." + lockMode + ")\n" +
                                       "print('locked', flush=True)\n" + "sys.stdin.read()\n";
            ::execl(TQZ_SYSTEM_PYTHON, TQZ_SYSTEM_PYTHON, "-c", script.c_str(), file.c_str(), nullptr);
            ::_exit(127);
        }
        ::close(input[0]);
        ::close(output[1]);
        m_input = input[1];
        m_output = output[0];
        std::string line;
        char c = 0;
        while (line.size() < 16 && ::read(m_output, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        if (line != "locked") {
            throw std::runtime_error("the other program did not lock the table");
        }
    }

    ~OtherProgram()
    {
        ::close(m_input);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        ::close(m_output);
    }

    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
};

// Whether another process can take a lock on `file` without waiting.
std::string otherProgramTries(const std::filesystem::path& file, const char* lockMode)
{
    const std::string script = std::string("import fcntl, sys\n") + "f = open(sys.argv[1], 'rb')\n" +
                               "try:\n" + "    fcntl.flock(f, fcntl." + lockMode + " | fcntl.LOCK_NB)\n" +
                               "    print('free')\n" + "except BlockingIOError:\n" + "    print('held')\n";
    return runProgram({TQZ_SYSTEM_PYTHON, "-c", script, file.string()}).output;
}

class TableLock : public testing::Test {
protected:
    TempDir folder;
    std::filesystem::path file = folder / "SOLUC.DBF";

    void SetUp() override { writeBytes(file, dbfSample("recommended-proft.dbf")); }

    std::string openError(OpenMode mode)
    {
        dbf::Table table(folder.path(), "SOLUC");
        return errorOf([&] { table.open(mode); });
    }
};

constexpr const char* kHeld = "La tabla 'SOLUC' está abierta por otro programa";

TEST_F(TableLock, AnExclusiveOpenKeepsEveryOtherOpenerOut)
{
    dbf::Table holder(folder.path(), "SOLUC");
    holder.open(OpenMode::Exclusive);
    EXPECT_EQ(openError(OpenMode::Exclusive), kHeld);
    EXPECT_EQ(openError(OpenMode::Shared), kHeld);
    EXPECT_EQ(otherProgramTries(file, "LOCK_SH"), "held\n");
    holder.close();
    EXPECT_EQ(openError(OpenMode::Exclusive), "(sin error)");
    EXPECT_EQ(otherProgramTries(file, "LOCK_EX"), "free\n");
}

TEST_F(TableLock, ASharedOpenKeepsOutOnlyExclusiveOpeners)
{
    dbf::Table holder(folder.path(), "SOLUC");
    holder.open(OpenMode::Shared);
    EXPECT_EQ(openError(OpenMode::Shared), "(sin error)");
    EXPECT_EQ(openError(OpenMode::Exclusive), kHeld);
    EXPECT_EQ(otherProgramTries(file, "LOCK_EX"), "held\n");
    EXPECT_EQ(otherProgramTries(file, "LOCK_SH"), "free\n");
}

TEST_F(TableLock, ATableHeldByAnotherProgramCannotBeOpened)
{
    {
        OtherProgram other(file, "LOCK_EX");
        EXPECT_EQ(openError(OpenMode::Exclusive), kHeld);
        EXPECT_EQ(openError(OpenMode::Shared), kHeld);
    }
    {
        OtherProgram other(file, "LOCK_SH");
        EXPECT_EQ(openError(OpenMode::Exclusive), kHeld);
        EXPECT_EQ(openError(OpenMode::Shared), "(sin error)");
    }
    EXPECT_EQ(openError(OpenMode::Exclusive), "(sin error)");
}

TEST_F(TableLock, TheLockIsHeldUntilTheTableIsClosedOrDestroyed)
{
    {
        dbf::Table holder(folder.path(), "SOLUC");
        holder.open();
        dbf::Table moved = std::move(holder);
        EXPECT_EQ(openError(OpenMode::Shared), kHeld);
    }
    EXPECT_EQ(openError(OpenMode::Shared), "(sin error)");
}

TEST_F(TableLock, AMissingTableOrAFolderInItsPlaceFailsClearly)
{
    std::filesystem::remove(file);
    EXPECT_EQ(openError(OpenMode::Exclusive), "No existe la tabla 'SOLUC' en '" + folder.path().string() + "'");
    EXPECT_EQ(errorOf([&] { FileLock(file, LockMode::Shared, "SOLUC"); }),
              "No existe la tabla 'SOLUC' en '" + folder.path().string() + "'");
    std::filesystem::create_directory(folder / "soluc.dbf");
    EXPECT_EQ(openError(OpenMode::Exclusive), std::string("No se puede abrir la tabla 'SOLUC': ") + std::strerror(EISDIR));
}

TEST_F(TableLock, ADamagedFileIsRefusedAndReleased)
{
    writeBytes(file, "short");
    EXPECT_EQ(openError(OpenMode::Exclusive), "La tabla 'SOLUC' está dañada: el archivo solo tiene 5 bytes");
    EXPECT_EQ(otherProgramTries(file, "LOCK_EX"), "free\n");
}

} // namespace
} // namespace tqz::test
