#include "convert/ImportarFixture.h"

#include "convert/Conversions.h"
#include "platform/DbfTable.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace tqz::test {
namespace {

using convert::importar;

const SolucRow kLesson { "ANA", "1", "1", "MAT", "A1", "1A", "MAT" };

// Fails unless every table in `workDir` can be opened exclusively again, as the timetabling
// program would right after a run.
void expectAllTablesFree(const std::filesystem::path& workDir)
{
    for (const char* name : { "SOLUC", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT", "DIASHORAST", "ASIGT" }) {
        if (!std::filesystem::exists(workDir / (std::string(name) + ".DBF"))) {
            continue;
        }
        dbf::Table table(workDir, name);
        EXPECT_NO_THROW(table.open(dbf::OpenMode::Exclusive)) << name;
    }
}

std::string importError(const std::filesystem::path& document, const std::filesystem::path& workDir)
{
    try {
        importar(document, workDir);
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

class FaultHookGuard {
public:
    explicit FaultHookGuard(io::FaultHook hook) { io::setFaultHook(std::move(hook)); }
    ~FaultHookGuard() { io::setFaultHook({}); }
    FaultHookGuard(const FaultHookGuard&) = delete;
    FaultHookGuard& operator=(const FaultHookGuard&) = delete;
};

TEST_F(ImportarTest, ReportsADayOrPeriodThatIsNoWholeNumberWithTheRowsPosition)
{
    struct Case {
        std::vector<SolucRow> rows;
        std::string message;
    };
    const Case cases[] = {
        { { kLesson, { "ANA", "1", "2", "MAT", "A1", "1A", "MAT", true },
              { "ANA", "x", "1", "MAT", "A1", "1A", "MAT" } },
            "Tabla SOLUC, registro 3, campo DIA: 'x' no es un valor entero válido" },
        { { kLesson, { "O'N", "2", "1.", "MAT", "A1", "1A", "MAT" } },
            "Tabla SOLUC, registro 2, campo HORA: '1.' no es un valor entero válido" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        writeSchool(c.rows, SolucKind::Character);
        writeBytes(result(), "anterior");
        EXPECT_EQ(importError(document(), workDir()), c.message);
        EXPECT_EQ(readBytes(result()), "anterior");
        expectAllTablesFree(workDir());
    }
}

TEST_F(ImportarTest, PassesOverThePeriodOfADayZeroRow)
{
    writeSchool({ { "ANA", "0", "x", "MAT", "A1", "1A", "MAT" }, kLesson }, SolucKind::Character);
    EXPECT_EQ(importar(document(), workDir()).lessons, 1U);
}

TEST_F(ImportarTest, LeavesEveryTableFreeAfterSuccessAndAfterAnError)
{
    writeSchool({ kLesson });
    importar(document(), workDir());
    expectAllTablesFree(workDir());

    // The fifth table to open is missing: the four before it were open.
    std::filesystem::remove(workDir() / "ASIGNOMT.DBF");
    std::filesystem::remove(result());
    EXPECT_NE(importError(document(), workDir()).find("ASIGNOMT"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(result()));
    expectAllTablesFree(workDir());
}

TEST_F(ImportarTest, RefusesADocumentThatCannotTakeAResultBeforeOpeningAnyTable)
{
    writeSchool({ kLesson });
    // Held by another opener: a run that reached the tables would fail on it instead.
    dbf::Table held(workDir(), "SOLUC");
    held.open(dbf::OpenMode::Exclusive);
    for (const char* content : { "<SERVICIO><SALIDAS></SERVICIO>", "", "<SERVICIO><ENTRADAS/></SERVICIO>" }) {
        SCOPED_TRACE(content);
        writeBytes(document(), content);
        const auto before = folderEntries(document().parent_path());
        const std::string message = importError(document(), workDir());
        EXPECT_NE(message.find(document().string()), std::string::npos) << message;
        EXPECT_EQ(folderEntries(document().parent_path()), before);
        EXPECT_EQ(readBytes(document()), content);
    }
}

TEST_F(ImportarTest, KeepsAnEarlierResultWhenTheResultCannotBeWritten)
{
    writeSchool({ kLesson });
    struct Case {
        const char* what;
        std::function<int(io::Operation)> hook;
    };
    const Case cases[] = {
        { "disk full", [](io::Operation op) { return op == io::Operation::Write ? ENOSPC : 0; } },
        { "rename refused", [](io::Operation op) { return op == io::Operation::Rename ? EACCES : 0; } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(result(), "anterior");
        {
            FaultHookGuard guard(c.hook);
            EXPECT_NE(importError(document(), workDir()), "no error");
        }
        EXPECT_EQ(readBytes(result()), "anterior");
        EXPECT_EQ(folderEntries(document().parent_path()),
            (std::vector<std::string> { "ResultadoQuorvahorario.xml", "horario.xml" }));
        expectAllTablesFree(workDir());
    }
}

TEST_F(ImportarTest, FailsWhenAFolderStandsWhereTheResultGoes)
{
    writeSchool({ kLesson });
    std::filesystem::create_directory(result());
    EXPECT_NE(importError(document(), workDir()).find(result().string()), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(result()));
    EXPECT_EQ(folderEntries(document().parent_path()),
        (std::vector<std::string> { "ResultadoQuorvahorario.xml", "horario.xml" }));
    expectAllTablesFree(workDir());
}

} // namespace
} // namespace tqz::test
