#include "tables/TableReplacement.h"

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "support/Files.h"
#include "support/ForeignLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

namespace tqz::tables {
namespace {

using test::folderEntries;
using test::readBytes;
using test::writeBytes;

const std::vector<std::string> kNames { "ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST" };

std::vector<TableImage> newImages()
{
    std::vector<TableImage> images;
    for (const auto& name : kNames) {
        images.push_back({ name, "new " + name });
    }
    return images;
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& name : folderEntries(folder)) {
        files[name] = readBytes(folder / name);
    }
    return files;
}

class TableReplacementTest : public ::testing::Test {
protected:
    void TearDown() override { io::setFaultHook({}); }

    // A folder holding the previous conversion's tables, two of them under other letter cases,
    // stale index files, and files of the timetabling program that must stay as they are.
    void writePreviousTables()
    {
        for (const auto& name : kNames) {
            const std::string file = name == "PROFT" ? "proft.dbf"
                : name == "AULAT"                    ? "Aulat.Dbf"
                                                     : name + ".DBF";
            writeBytes(dir / file, "old " + name);
        }
        writeBytes(dir / "ASIGT.MDX", "index");
        writeBytes(dir / "proft.mdx", "index");
        writeBytes(dir / "GRUPOST.MDX", "index");
        writeBytes(dir / "SOLUC.DBF", "solution");
        writeBytes(dir / "SOLUC.MDX", "solution index");
    }

    test::TempDir dir;
};

TEST_F(TableReplacementTest, CreatesTheTablesInAnEmptyFolder)
{
    replaceTables(dir.path(), newImages());

    std::map<std::string, std::string> expected;
    for (const auto& name : kNames) {
        expected[name + ".DBF"] = "new " + name;
    }
    EXPECT_EQ(snapshot(dir.path()), expected);
}

TEST_F(TableReplacementTest, ReplacesEachTableUnderItsExistingNameAndDeletesStaleIndexes)
{
    writePreviousTables();

    replaceTables(dir.path(), newImages());

    const std::map<std::string, std::string> expected {
        { "ASIGNOMT.DBF", "new ASIGNOMT" },
        { "ASIGT.DBF", "new ASIGT" },
        { "Aulat.Dbf", "new AULAT" },
        { "DIASHORAST.DBF", "new DIASHORAST" },
        { "GRUPOST.DBF", "new GRUPOST" },
        { "SOLUC.DBF", "solution" },
        { "SOLUC.MDX", "solution index" },
        { "proft.dbf", "new PROFT" },
    };
    EXPECT_EQ(snapshot(dir.path()), expected);
}

TEST_F(TableReplacementTest, LeavesOneFileWhenATableExistsInTwoLetterCases)
{
    writeBytes(dir / "PROFT.DBF", "old upper");
    writeBytes(dir / "proft.dbf", "old lower");

    replaceTables(dir.path(), { { "PROFT", "new PROFT" } });

    EXPECT_EQ(snapshot(dir.path()), (std::map<std::string, std::string> { { "PROFT.DBF", "new PROFT" } }));
}

TEST_F(TableReplacementTest, ATableHeldByAnotherProgramChangesNothing)
{
    writePreviousTables();
    const auto before = snapshot(dir.path());
    test::ForeignLock lock(dir / "Aulat.Dbf");

    try {
        replaceTables(dir.path(), newImages());
        FAIL() << "the replacement went through a held table";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "La tabla 'AULAT' está abierta por otro programa");
    }
    EXPECT_EQ(snapshot(dir.path()), before);
}

// A full disk or a failing device at any write, close or rename leaves every table as it was and
// no temporary file behind.
TEST_F(TableReplacementTest, AFailingFileOperationChangesNothing)
{
    struct Case {
        io::Operation operation;
        int failingCall;
    };
    for (const Case& c : { Case { io::Operation::Write, 1 }, Case { io::Operation::Write, 4 },
             Case { io::Operation::Close, 6 }, Case { io::Operation::Rename, 1 },
             Case { io::Operation::Rename, 3 }, Case { io::Operation::Rename, 6 } }) {
        SCOPED_TRACE(static_cast<int>(c.operation) * 100 + c.failingCall);
        test::TempDir folder;
        for (const auto& name : kNames) {
            if (name != "GRUPOST") { // one table that did not exist before must not appear either
                writeBytes(folder / (name + ".DBF"), "old " + name);
            }
        }
        writeBytes(folder / "ASIGT.MDX", "index");
        const auto before = snapshot(folder.path());
        int calls = 0;
        io::setFaultHook([&](io::Operation operation) {
            return operation == c.operation && ++calls == c.failingCall ? ENOSPC : 0;
        });

        EXPECT_THROW(replaceTables(folder.path(), newImages()), Error);

        io::setFaultHook({});
        EXPECT_EQ(snapshot(folder.path()), before);
    }
}

TEST_F(TableReplacementTest, AMissingWorkingFolderIsNamed)
{
    const auto missing = dir / "WTEMP";
    try {
        replaceTables(missing, newImages());
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "La carpeta de trabajo '" + missing.string() + "' no existe");
    }
    EXPECT_TRUE(folderEntries(dir.path()).empty());
}

TEST_F(TableReplacementTest, AFileWhereTheFolderShouldBeIsNamed)
{
    writeBytes(dir / "WTEMP", "not a folder");
    try {
        replaceTables(dir / "WTEMP", newImages());
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
            "La carpeta de trabajo '" + (dir / "WTEMP").string() + "' no es una carpeta");
    }
}

} // namespace
} // namespace tqz::tables
