#include "platform/FileIo.h"

#include "platform/Error.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace tqz::test {
namespace {

using io::Operation;

// Makes the n-th call of one operation fail with an errno, for the length of a test.
class InjectedFault {
public:
    InjectedFault(Operation operation, int nth, int errorNumber)
    {
        io::setFaultHook([=, count = 0](Operation called) mutable {
            return called == operation && ++count == nth ? errorNumber : 0;
        });
    }
    ~InjectedFault() { io::setFaultHook({}); }
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;
};

TEST(FileIo, WritesAFileWholeAndLeavesNothingElse)
{
    TempDir folder;
    const std::string bytes("\x03\x00\x0D\x1A", 4);
    io::writeFileAtomically(folder / "PROFT.DBF", bytes);
    EXPECT_EQ(readBytes(folder / "PROFT.DBF"), bytes);
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"PROFT.DBF"});
    io::writeFileAtomically(folder / "PROFT.DBF", "new");
    EXPECT_EQ(io::readFile(folder / "PROFT.DBF"), "new");
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"PROFT.DBF"});
}

TEST(FileIo, AReplacedFileKeepsItsPermissions)
{
    TempDir folder;
    writeBytes(folder / "T.DBF", "old");
    ASSERT_EQ(::chmod((folder / "T.DBF").c_str(), 0640), 0);
    io::writeFileAtomically(folder / "T.DBF", "new");
    struct stat status{};
    ASSERT_EQ(::stat((folder / "T.DBF").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640U);
}

TEST(FileIo, StagesBesideTheTargetUnderANameThatIsNotATable)
{
    TempDir folder;
    const auto staged = io::stageFile(folder / "SOLUC.DBF", "bytes");
    EXPECT_EQ(staged.parent_path(), folder.path());
    EXPECT_TRUE(staged.filename().string().starts_with("SOLUC.DBF.tqz-")) << staged;
    EXPECT_TRUE(io::isTemporaryName(staged));
    EXPECT_EQ(readBytes(staged), "bytes");
    EXPECT_FALSE(std::filesystem::exists(folder / "SOLUC.DBF"));
    io::renameFile(staged, folder / "SOLUC.DBF");
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"SOLUC.DBF"});
}

TEST(FileIo, RecognisesItsTemporaryNames)
{
    EXPECT_TRUE(io::isTemporaryName("/w/PROFT.DBF.tqz-a1B2c3"));
    EXPECT_TRUE(io::isTemporaryName("doc.xml.tqz-ZZZZZZ"));
    EXPECT_FALSE(io::isTemporaryName("/w/PROFT.DBF"));
    EXPECT_FALSE(io::isTemporaryName("PROFT.DBF.tqz-12345"));
    EXPECT_FALSE(io::isTemporaryName("PROFT.DBF.tqz-1234567"));
    EXPECT_FALSE(io::isTemporaryName("PROFT.DBF.tqz-abc!ef"));
    EXPECT_FALSE(io::isTemporaryName(".tqz-abcdef"));
}

struct FaultCase {
    const char* name;
    Operation operation;
    int errorNumber;
    const char* message;
};

class FailedWrite : public testing::TestWithParam<FaultCase> {};

TEST_P(FailedWrite, LeavesTheOldFileAndNoTemporaryFile)
{
    TempDir folder;
    const auto target = folder / "ASIGT.DBF";
    writeBytes(target, "old bytes");
    const FaultCase& c = GetParam();
    {
        InjectedFault fault(c.operation, 1, c.errorNumber);
        EXPECT_EQ(errorOf([&] { io::writeFileAtomically(target, std::string(100000, 'x')); }),
                  std::string(c.message) + " '" + target.string() + "': " + std::strerror(c.errorNumber));
    }
    EXPECT_EQ(readBytes(target), "old bytes");
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"ASIGT.DBF"});
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FailedWrite,
    testing::Values(FaultCase{"DiskFull", Operation::Write, ENOSPC, "No se puede escribir el archivo"},
                    FaultCase{"WriteError", Operation::Write, EIO, "No se puede escribir el archivo"},
                    FaultCase{"Close", Operation::Close, EIO, "No se puede escribir el archivo"},
                    FaultCase{"Rename", Operation::Rename, EACCES, "No se puede reemplazar el archivo"}),
    [](const testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.name); });

TEST(FileIo, EveryWriteCallPassesTheHook)
{
    TempDir folder;
    int writes = 0;
    int closes = 0;
    int renames = 0;
    io::setFaultHook([&](Operation operation) {
        ++(operation == Operation::Write ? writes : operation == Operation::Close ? closes : renames);
        return 0;
    });
    io::writeFileAtomically(folder / "T.DBF", "abc");
    io::setFaultHook({});
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(renames, 1);
}

TEST(FileIo, AFolderWhereTheFileIsExpectedFailsCleanly)
{
    TempDir folder;
    std::filesystem::create_directory(folder / "PROFT.DBF");
    writeBytes(folder / "PROFT.DBF" / "inside", "kept");
    EXPECT_EQ(errorOf([&] { io::writeFileAtomically(folder / "PROFT.DBF", "bytes"); }),
              "No se puede reemplazar el archivo '" + (folder / "PROFT.DBF").string() + "': " + std::strerror(EISDIR));
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"PROFT.DBF"});
    EXPECT_EQ(readBytes(folder / "PROFT.DBF" / "inside"), "kept");
    EXPECT_EQ(errorOf([&] { (void)io::readFile(folder / "PROFT.DBF"); }),
              "No se puede leer el archivo '" + (folder / "PROFT.DBF").string() + "': " + std::strerror(EISDIR));
}

TEST(FileIo, AMissingFolderFailsNamingTheFile)
{
    TempDir folder;
    const auto target = folder / "missing" / "T.DBF";
    EXPECT_EQ(errorOf([&] { io::writeFileAtomically(target, "x"); }),
              "No se puede crear el archivo '" + target.string() + "': " + std::strerror(ENOENT));
    EXPECT_EQ(errorOf([&] { (void)io::readFile(target); }),
              "No se puede leer el archivo '" + target.string() + "': " + std::strerror(ENOENT));
}

TEST(FileIo, ReadsEveryByte)
{
    TempDir folder;
    std::string bytes;
    for (int i = 0; i < 200000; ++i) {
        bytes += static_cast<char>(i % 256);
    }
    writeBytes(folder / "big", bytes);
    EXPECT_EQ(io::readFile(folder / "big"), bytes);
}

TEST(FileIo, RemovesQuietly)
{
    TempDir folder;
    writeBytes(folder / "N.MDX", "x");
    io::removeFileQuietly(folder / "N.MDX");
    io::removeFileQuietly(folder / "N.MDX");
    std::filesystem::create_directory(folder / "D.MDX");
    io::removeFileQuietly(folder / "D.MDX");
    EXPECT_EQ(folderEntries(folder.path()), std::vector<std::string>{"D.MDX"});
}

} // namespace
} // namespace tqz::test
