#include "tables/WorkFolder.h"

#include "platform/Error.h"
#include "support/Files.h"
#include "support/ForeignLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace tqz::tables {
namespace {

using test::readBytes;
using test::writeBytes;

std::map<std::string, std::string> snapshot(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& name : test::folderEntries(folder)) {
        files[name] = readBytes(folder / name);
    }
    return files;
}

// A record the tool did not write, or one naming files it never makes, is not acted on: the run
// stops with a message naming it, and no file changes.
TEST(ReplacementJournal, ADamagedRecordStopsTheRunAndChangesNothing)
{
    const std::string staged = "PROFT.DBF.tqz-AbC123";
    const std::vector<std::pair<const char*, std::string>> records {
        { "empty", "" },
        { "foreign text", "hola\n" },
        { "cut before its end", "TQZ-REEMPLAZO 1\nT\tPROFT.DBF\t" + staged + "\t-\n" },
        { "a name leading out of the folder", "TQZ-REEMPLAZO 1\nT\t../PROFT.DBF\t" + staged + "\t-\nFIN\n" },
        { "a staged file that is no temporary", "TQZ-REEMPLAZO 1\nT\tPROFT.DBF\tSOLUC.DBF\t-\nFIN\n" },
        { "a stale file that is no table", "TQZ-REEMPLAZO 1\nB\tQuorvane.ini\nFIN\n" },
        { "text after its end", "TQZ-REEMPLAZO 1\nFIN\nmas\n" },
    };
    for (const auto& [fault, bytes] : records) {
        for (const char* name : { "TQZ-REEMPLAZO.TXT", "TQZ-DESHACER.TXT" }) {
            SCOPED_TRACE(std::string(fault) + " in " + name);
            test::TempDir folder;
            writeBytes(folder / name, bytes);
            writeBytes(folder / "PROFT.DBF", "old");
            writeBytes(folder / staged, "new");
            writeBytes(folder / "SOLUC.DBF", "solution");
            writeBytes(folder / "Quorvane.ini", "[Transformadores]");
            const auto before = snapshot(folder.path());
            try {
                WorkFolder claim(folder.path());
                FAIL() << "a damaged record was acted on";
            } catch (const Error& error) {
                EXPECT_EQ(std::string(error.what()),
                    "El registro de reemplazo de tablas '" + (folder / name).string()
                        + "' está dañado; compruebe las tablas de trabajo y borre ese archivo");
            }
            EXPECT_EQ(snapshot(folder.path()), before);
        }
    }
}

TEST(ReplacementJournal, ARecordOfARunThatDiedIsCompletedAndLeftoversGo)
{
    test::TempDir folder;
    writeBytes(folder / "TQZ-REEMPLAZO.TXT",
        "TQZ-REEMPLAZO 1\nT\tPROFT.DBF\tPROFT.DBF.tqz-nuevo1\tPROFT.DBF.tqz-viejo1\n"
        "T\tAULAT.DBF\tAULAT.DBF.tqz-nuevo2\t-\nB\tproft.mdx\nFIN\n");
    writeBytes(folder / "PROFT.DBF", "new PROFT"); // renamed before the run died
    writeBytes(folder / "PROFT.DBF.tqz-viejo1", "old PROFT");
    writeBytes(folder / "AULAT.DBF.tqz-nuevo2", "new AULAT");
    writeBytes(folder / "proft.mdx", "stale index");
    writeBytes(folder / "GRUPOST.DBF.tqz-Zz9xY8", "a leftover of an earlier run");
    writeBytes(folder / "SOLUC.DBF", "solution");

    {
        WorkFolder claim(folder.path());
    }

    EXPECT_EQ(snapshot(folder.path()),
        (std::map<std::string, std::string> {
            { "AULAT.DBF", "new AULAT" }, { "PROFT.DBF", "new PROFT" }, { "SOLUC.DBF", "solution" } }));
}

TEST(ReplacementJournal, ARecordOfAnUndoPutsTheOldTablesBack)
{
    test::TempDir folder;
    writeBytes(folder / "TQZ-DESHACER.TXT",
        "TQZ-REEMPLAZO 1\nT\tPROFT.DBF\tPROFT.DBF.tqz-nuevo1\tPROFT.DBF.tqz-viejo1\n"
        "T\tAULAT.DBF\tAULAT.DBF.tqz-nuevo2\t-\nT\tASIGT.DBF\tASIGT.DBF.tqz-nuevo3\tASIGT.DBF.tqz-viejo3\n"
        "B\tproft.mdx\nFIN\n");
    writeBytes(folder / "PROFT.DBF", "new PROFT");
    writeBytes(folder / "PROFT.DBF.tqz-viejo1", "old PROFT");
    writeBytes(folder / "AULAT.DBF", "new AULAT"); // there was none before
    writeBytes(folder / "ASIGT.DBF", "old ASIGT"); // never replaced
    writeBytes(folder / "ASIGT.DBF.tqz-nuevo3", "new ASIGT");
    writeBytes(folder / "ASIGT.DBF.tqz-viejo3", "old ASIGT");
    writeBytes(folder / "proft.mdx", "index");

    {
        WorkFolder claim(folder.path());
    }

    EXPECT_EQ(snapshot(folder.path()),
        (std::map<std::string, std::string> {
            { "ASIGT.DBF", "old ASIGT" }, { "PROFT.DBF", "old PROFT" }, { "proft.mdx", "index" } }));
}

TEST(ReplacementJournal, ATableHeldByAnotherProgramWaitsForTheNextRun)
{
    test::TempDir folder;
    writeBytes(folder / "TQZ-REEMPLAZO.TXT", "TQZ-REEMPLAZO 1\nT\tproft.dbf\tproft.dbf.tqz-nuevo1\t-\nFIN\n");
    writeBytes(folder / "proft.dbf", "old PROFT");
    writeBytes(folder / "proft.dbf.tqz-nuevo1", "new PROFT");
    const auto before = snapshot(folder.path());
    {
        test::ForeignLock lock(folder / "proft.dbf");
        try {
            WorkFolder claim(folder.path());
            FAIL() << "the recovery went through a held table";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "La tabla 'PROFT' está abierta por otro programa");
        }
        EXPECT_EQ(snapshot(folder.path()), before);
    }
    {
        WorkFolder claim(folder.path());
    }
    EXPECT_EQ(snapshot(folder.path()), (std::map<std::string, std::string> { { "proft.dbf", "new PROFT" } }));
}

} // namespace
} // namespace tqz::tables
