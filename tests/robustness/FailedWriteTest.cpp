// A disk that fills up or fails at any write, close or rename of a run. For every n, the n-th such
// call fails: alone (a passing fault), with every write after it (a full disk), or with every call
// after it (a device that is gone). The user gets a message naming the file, the old files stay
// as they were and nothing is left behind; when even the undo cannot reach the disk, the next run
// puts one whole set of tables back.

#include "SchoolFolder.h"

#include "platform/FileIo.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace tqz::test {
namespace {

namespace fs = std::filesystem;

enum class Fault { Once, DiskFull, DeviceGone };

// Counts the writes, closes and renames of the run and fails them from the n-th on as `fault`
// says. Removals are not faulted: they are what cleans up.
class FaultFrom {
public:
    FaultFrom(int nth, Fault fault)
    {
        io::setFaultHook([this, nth, fault](io::Operation operation) {
            if (operation == io::Operation::Remove) {
                return 0;
            }
            ++m_calls;
            const bool hit = fault == Fault::Once ? m_calls == nth
                : fault == Fault::DiskFull        ? m_calls >= nth && operation == io::Operation::Write
                                                  : m_calls >= nth;
            m_failures += hit ? 1 : 0;
            return hit ? ENOSPC : 0;
        });
    }
    ~FaultFrom() { io::setFaultHook({}); }
    FaultFrom(const FaultFrom&) = delete;
    FaultFrom& operator=(const FaultFrom&) = delete;

    int failures() const { return m_failures; }

private:
    int m_calls = 0;
    int m_failures = 0;
};

struct Outcome {
    CommandResult result;
    int failures = 0; // calls that were made to fail; none once n is past the run's last call
};

Outcome runWithFault(int nth, Fault fault, const std::vector<std::string>& arguments)
{
    FaultFrom injected(nth, fault);
    Outcome outcome;
    outcome.result = runCommand(arguments);
    outcome.failures = injected.failures();
    return outcome;
}

// "No se puede escribir el archivo '<a file of the school>': No space left on device"
void expectDiskMessage(const std::string& err, const fs::path& root)
{
    const std::string tail = "': " + std::string(std::strerror(ENOSPC)) + "\n";
    const bool named = err.starts_with("No se puede escribir el archivo '" + root.string() + "/")
        || err.starts_with("No se puede reemplazar el archivo '" + root.string() + "/");
    EXPECT_TRUE(named && err.ends_with(tail)) << err;
}

class FailedWrite : public testing::TestWithParam<Fault> { };

TEST_P(FailedWrite, ExportarKeepsTheOldTables)
{
    SchoolFolder school;
    const fs::path document = school.documents() / "grande.xml";
    writeLargeDocument(document, 2);
    const TableSet newTables = tableSetFrom(document);
    const std::vector<std::string> exportar { "exportar", document.string(), "--dir",
        school.work().string() };
    int failedRuns = 0;
    for (int nth = 1;; ++nth) {
        SCOPED_TRACE("call " + std::to_string(nth));
        const Tree before = treeOf(school.root());
        const Outcome outcome = runWithFault(nth, GetParam(), exportar);
        if (outcome.failures == 0) {
            EXPECT_EQ(outcome.result.status, 0) << outcome.result.err;
            EXPECT_TRUE(tableSetOf(school.work()) != school.sampleTables());
            break;
        }
        ++failedRuns;
        EXPECT_EQ(outcome.result.status, 1);
        expectDiskMessage(outcome.result.err, school.root());
        if (GetParam() == Fault::DeviceGone && treeOf(school.root()) != before) {
            // Not even the undo reached the disk: the next run completes or undoes the replacement,
            // and then puts the sample tables back for the next n.
            EXPECT_EQ(runCommand({ "importar", school.document().string(), "--dir", school.work().string() })
                          .status,
                0);
            const TableSet tables = tableSetOf(school.work());
            EXPECT_TRUE(tables == school.sampleTables() || tables == newTables) << "a mix of two sets";
            EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
            fs::remove(school.documents() / "ResultadoQuorvahorario.xml");
            EXPECT_EQ(runCommand({ "exportar", school.document().string(), "--dir", school.work().string() })
                          .status,
                0);
        } else {
            EXPECT_TRUE(treeOf(school.root()) == before) << "the failed run changed a file";
        }
        EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
    }
    // Six tables, their six backups and the record of the replacement are written and closed.
    EXPECT_GT(failedRuns, 24);
}

TEST_P(FailedWrite, ImportarKeepsTheOldResult)
{
    SchoolFolder school;
    const fs::path result = school.documents() / "ResultadoQuorvahorario.xml";
    writeBytes(result, "<anterior/>");
    const std::vector<std::string> importar { "importar", school.document().string(), "--dir",
        school.work().string() };
    int failedRuns = 0;
    for (int nth = 1;; ++nth) {
        SCOPED_TRACE("call " + std::to_string(nth));
        const Tree before = treeOf(school.root());
        const Outcome outcome = runWithFault(nth, GetParam(), importar);
        if (outcome.failures == 0) {
            EXPECT_EQ(outcome.result.status, 0) << outcome.result.err;
            EXPECT_NE(readBytes(result), "<anterior/>");
            break;
        }
        ++failedRuns;
        EXPECT_EQ(outcome.result.status, 1);
        expectDiskMessage(outcome.result.err, school.root());
        EXPECT_TRUE(treeOf(school.root()) == before) << "the failed run changed a file";
        EXPECT_EQ(leftoversIn(school.root()), std::vector<std::string> {});
    }
    EXPECT_GT(failedRuns, 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedWrite,
    testing::Values(Fault::Once, Fault::DiskFull, Fault::DeviceGone),
    [](const testing::TestParamInfo<Fault>& param) {
        return param.param == Fault::Once    ? "Once"
            : param.param == Fault::DiskFull ? "DiskFull"
                                             : "DeviceGone";
    });

} // namespace
} // namespace tqz::test
