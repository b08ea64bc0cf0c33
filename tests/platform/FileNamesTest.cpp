#include "platform/FileNames.h"

#include "support/Files.h"
#include "support/TempDir.h"

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

namespace tqz::test {
namespace {

class TableFileName : public testing::TestWithParam<const char*> {};

// SOLUC.DBF, soluc.dbf and Soluc.dbf are the same table, however it is asked for.
TEST_P(TableFileName, IsFoundWhateverItsLetterCase)
{
    TempDir folder;
    copyTestData("dbf/recommended-proft.dbf", folder.path());
    std::filesystem::rename(folder / "recommended-proft.dbf", folder / GetParam());
    for (const char* asked : {"SOLUC.DBF", "soluc.dbf", "Soluc.dbf"}) {
        EXPECT_EQ(files::findIgnoringCase(folder.path(), asked), folder / GetParam()) << asked;
    }
    EXPECT_EQ(files::tablePath(folder.path(), "SOLUC"), folder / GetParam());
    dbf::Table table(folder.path(), "SOLUC");
    table.open();
    EXPECT_EQ(table.text("ABREV"), "O'N");
}

INSTANTIATE_TEST_SUITE_P(Names, TableFileName, testing::Values("SOLUC.DBF", "soluc.dbf", "Soluc.dbf"));

TEST(FileNames, AnExactMatchWinsAndOtherwiseTheChoiceIsStable)
{
    TempDir folder;
    writeBytes(folder / "soluc.dbf", "");
    writeBytes(folder / "SOLUC.DBF", "");
    EXPECT_EQ(files::findIgnoringCase(folder.path(), "soluc.dbf"), folder / "soluc.dbf");
    EXPECT_EQ(files::findIgnoringCase(folder.path(), "SOLUC.DBF"), folder / "SOLUC.DBF");
    EXPECT_EQ(files::findIgnoringCase(folder.path(), "Soluc.Dbf"), folder / "SOLUC.DBF");
}

TEST(FileNames, NothingIsFoundInAMissingFolderOrForAnotherName)
{
    TempDir folder;
    writeBytes(folder / "SOLUC.DBF.tqz-abcdef", "");
    EXPECT_EQ(files::findIgnoringCase(folder / "missing", "SOLUC.DBF"), std::nullopt);
    EXPECT_EQ(files::findIgnoringCase(folder.path(), "SOLUC.DBF"), std::nullopt);
    EXPECT_EQ(files::findIgnoringCase(folder.path(), "SOLUC"), std::nullopt);
}

TEST(FileNames, ANewTableIsNamedInUpperCase)
{
    TempDir folder;
    EXPECT_EQ(files::tableFileName("PROFT"), "PROFT.DBF");
    EXPECT_EQ(files::tableFileName("proft"), "PROFT.DBF");
    EXPECT_EQ(files::tableFileName("PROFT.DBF"), "PROFT.DBF");
    EXPECT_EQ(files::tableFileName("proft.dbf"), "PROFT.DBF");
    EXPECT_EQ(files::tablePath(folder.path(), "PROFT"), folder / "PROFT.DBF");
    EXPECT_EQ(files::tablePath(folder.path(), "ASIGNOMT.DBF"), folder / "ASIGNOMT.DBF");
}

} // namespace
} // namespace tqz::test
