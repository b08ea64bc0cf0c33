#include "convert/ImportarFixture.h"

#include "convert/Conversions.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "support/Files.h"
#include "support/ForeignLock.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace tqz::test {
namespace {

using convert::importar;

const SolucRow kLesson { "ANA", "1", "1", "MAT", "A1", "1A", "MAT" };

// Fails unless another program can take an exclusive lock on every table in `workDir` at once,
// as the timetabling program would right after a run; `except` is held elsewhere and left out.
void expectAllTablesFree(const std::filesystem::path& workDir, const std::string& except = "")
{
    std::vector<std::string> arguments { TQZ_SYSTEM_PYTHON, "-c",
        "import fcntl, sys\n"
        "for name in sys.argv[1:]:\n"
        "    fcntl.flock(open(name, 'rb'), fcntl.LOCK_EX | fcntl.LOCK_NB)\n" };
    for (const char* name : { "SOLUC", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT", "DIASHORAST", "ASIGT" }) {
        const auto file = workDir / (std::string(name) + ".DBF");
        if (name != except && std::filesystem::exists(file)) {
            arguments.push_back(file.string());
        }
    }
    const auto run = runProgram(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
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

    // The last table to open is held by another program.
    writeSchool({ kLesson });
    ForeignLock held(workDir() / "DIASHORAST.DBF");
    EXPECT_EQ(importError(document(), workDir()), "La tabla 'DIASHORAST' está abierta por otro programa");
    EXPECT_FALSE(std::filesystem::exists(result()));
    expectAllTablesFree(workDir(), "DIASHORAST");
}

TEST_F(ImportarTest, RefusesADocumentThatCannotTakeAResultBeforeOpeningAnyTable)
{
    writeSchool({ kLesson });
    // Held by another opener: a run that reached the tables would fail on it instead.
    ForeignLock held(workDir() / "SOLUC.DBF");
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
