// Runs of exportar that die half-way: killed with SIGKILL at many moments of a long run of the
// program, and, deterministically, stopped right before each call it makes to the disk (as a
// power cut would stop it: no destructor, no undo). After each, the next run finds the six tables
// as the old set or the new set, never a mix, and nothing left behind trips it. A replacement
// stopped among its renames is the hard case; the recovery that finishes it is stopped at each of
// its own calls too.

#include "SchoolFolder.h"

#include "convert/Conversions.h"
#include "platform/FileIo.h"
#include "support/Files.h"
#include "tables/WorkFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tqz::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kDied = 70;
constexpr int kFinished = 71;
constexpr int kFailed = 72;

// Runs `run` in a child process with `hook` on its calls to the disk; the hook may end the child
// on the spot with ::_exit. Returns the child's exit status: kFinished when the run ended, kFailed
// when it threw.
int runInChild(const io::FaultHook& hook, const std::function<void()>& run)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        io::setFaultHook(hook);
        try {
            run();
        } catch (...) {
            ::_exit(kFailed);
        }
        ::_exit(kFinished);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The run ends right before its n-th call to the disk (write, close, rename or removal), as a
// power cut would end it: kDied.
int runDyingAt(int nth, const std::function<void()>& run)
{
    return runInChild(
        [nth, calls = 0](io::Operation) mutable {
            if (++calls == nth) {
                ::_exit(kDied);
            }
            return 0;
        },
        run);
}

bool hasRecord(const fs::path& work)
{
    return fs::exists(work / "TQZ-REEMPLAZO.TXT") || fs::exists(work / "TQZ-DESHACER.TXT");
}

// Puts a folder back as a tree of it was.
void restoreTree(const fs::path& folder, const Tree& tree)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        fs::remove_all(entry.path());
    }
    for (const auto& [name, bytes] : tree) {
        writeBytes(folder / name, bytes);
    }
}

class InterruptedRun : public testing::Test {
protected:
    InterruptedRun()
    {
        writeLargeDocument(m_document, kCopies);
        m_newTables = tableSetFrom(m_document);
    }

    const fs::path& document() const { return m_document; }
    const TableSet& newTables() const { return m_newTables; }

    void expectOneWholeSet(const std::string& when) const
    {
        const TableSet tables = tableSetOf(school.work());
        EXPECT_TRUE(tables == school.sampleTables() || tables == m_newTables) << "a mix of two sets " << when;
    }

    static constexpr int kCopies = 3;
    SchoolFolder school;

private:
    fs::path m_document = school.documents() / "grande.xml";
    TableSet m_newTables;
};

TEST_F(InterruptedRun, StoppedBeforeAnyCallToTheDisk)
{
    const Tree sample = treeOf(school.work());
    int replacementsCut = 0;
    for (int nth = 1;; ++nth) {
        SCOPED_TRACE("call " + std::to_string(nth));
        restoreTree(school.work(), sample);
        const int end = runDyingAt(nth, [&] { convert::exportar(document(), school.work()); });
        ASSERT_NE(end, kFailed);
        if (!hasRecord(school.work())) {
            expectOneWholeSet("with no record of a replacement");
        } else {
            ++replacementsCut;
            // The recovery may be cut short as well, at any of its own calls; a later one finishes.
            const Tree cut = treeOf(school.work());
            for (int recoveryCall = 1;; ++recoveryCall) {
                SCOPED_TRACE("recovery call " + std::to_string(recoveryCall));
                restoreTree(school.work(), cut);
                const int recovered
                    = runDyingAt(recoveryCall, [&] { tables::WorkFolder folder(school.work()); });
                ASSERT_NE(recovered, kFailed);
                {
                    tables::WorkFolder folder(school.work());
                }
                expectOneWholeSet("after a recovery that was cut short");
                EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
                if (recovered == kFinished) {
                    break;
                }
            }
            restoreTree(school.work(), cut);
        }
        // The next run of the other program finishes what the dead one left, then works as usual.
        const CommandResult next
            = runCommand({ "importar", school.document().string(), "--dir", school.work().string() });
        EXPECT_EQ(next.status, 0) << next.err;
        expectOneWholeSet("after the next run");
        EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
        fs::remove(school.documents() / "ResultadoQuorvahorario.xml");
        if (end == kFinished) {
            EXPECT_TRUE(tableSetOf(school.work()) == newTables());
            break;
        }
    }
    // Six renames and the tidying up after them.
    EXPECT_GT(replacementsCut, 6);
}

// A rename of the replacement fails, and the undo that follows is cut short at each of its calls.
// The next run finishes the undo; when not even the record could be turned into one of an undo, it
// completes the replacement instead.
TEST_F(InterruptedRun, AnUndoStoppedHalfWay)
{
    const Tree sample = treeOf(school.work());
    // The first rename puts the record in place; the six tables follow.
    for (int failingRename = 2; failingRename <= 7; ++failingRename) {
        for (int call = 1;; ++call) {
            SCOPED_TRACE("rename " + std::to_string(failingRename) + ", call " + std::to_string(call));
            restoreTree(school.work(), sample);
            const auto hook = [failingRename, call, renames = 0, after = 0](io::Operation operation) mutable {
                if (renames == failingRename && ++after == call) {
                    ::_exit(kDied);
                }
                return operation == io::Operation::Rename && ++renames == failingRename ? EIO : 0;
            };
            const int end = runInChild(hook, [&] { convert::exportar(document(), school.work()); });
            ASSERT_NE(end, kFinished);
            const bool undoing = fs::exists(school.work() / "TQZ-DESHACER.TXT");
            {
                tables::WorkFolder folder(school.work());
            }
            expectOneWholeSet("after the undo was cut short");
            if (undoing || end == kFailed) {
                EXPECT_TRUE(tableSetOf(school.work()) == school.sampleTables());
            }
            EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
            if (end == kFailed) {
                break;
            }
        }
    }
}

// The program itself, killed with SIGKILL at moments spread over a run that takes a while.
class KilledProgram : public InterruptedRun {
protected:
    static fs::path program()
    {
        const char* folder = std::getenv("TQZ_BIN_DIR");
        return (folder != nullptr ? fs::path(folder) : fs::read_symlink("/proc/self/exe").parent_path())
            / "tqz";
    }

    static pid_t start(const std::vector<std::string>& arguments)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, 1);
            ::dup2(quiet, 2);
            std::vector<char*> argv;
            for (const auto& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        return pid;
    }

    static constexpr int kLongCopies = 30;
    static constexpr int kMoments = 20;
};

TEST_F(KilledProgram, KilledAtManyMomentsOfALongRun)
{
    const fs::path longDocument = school.documents() / "muy-grande.xml";
    writeLargeDocument(longDocument, kLongCopies);
    const std::vector<std::string> exportar { program().string(), "exportar", longDocument.string(), "--dir",
        school.work().string() };
    const Tree sample = treeOf(school.work());

    const auto started = Clock::now();
    int status = 0;
    ::waitpid(start(exportar), &status, 0);
    const auto whole = Clock::now() - started;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const TableSet longTables = tableSetOf(school.work());

    int replacementsCut = 0;
    for (int moment = 1; moment <= kMoments; ++moment) {
        SCOPED_TRACE("moment " + std::to_string(moment) + " of " + std::to_string(kMoments));
        restoreTree(school.work(), sample);
        const pid_t pid = start(exportar);
        std::this_thread::sleep_for(whole * moment / kMoments);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        const TableSet tables = tableSetOf(school.work());
        if (hasRecord(school.work())) {
            ++replacementsCut;
        } else {
            EXPECT_TRUE(tables == school.sampleTables() || tables == longTables) << "a mix with no record";
        }
        const ProgramResult next = runProgram(
            { program().string(), "importar", school.document().string(), "--dir", school.work().string() });
        EXPECT_EQ(next.exitCode, 0) << next.errors;
        const TableSet after = tableSetOf(school.work());
        EXPECT_TRUE(after == school.sampleTables() || after == longTables) << "a mix after the next run";
        EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
        fs::remove(school.documents() / "ResultadoQuorvahorario.xml");
    }
    RecordProperty("replacements_cut", replacementsCut);
}

} // namespace
} // namespace tqz::test
