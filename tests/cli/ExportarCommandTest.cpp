#include "support/CliRun.h"
#include "support/Files.h"
#include "support/ForeignLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace tqz::cli {
namespace {

namespace fs = std::filesystem;

const std::string kExample = (fs::path(TQZ_EXAMPLES) / "horario.xml").string();

const std::string kSummary = "Proceso finalizado\n"
                             "  ASIGNOMT        60 filas\n"
                             "  PROFT           40 filas\n"
                             "  AULAT           25 filas\n"
                             "  GRUPOST         20 filas\n"
                             "  ASIGT          200 filas\n"
                             "  DIASHORAST      30 filas\n";

class ExportarCommandTest : public ::testing::Test {
protected:
    ExportarCommandTest() { fs::create_directory(workDir); }

    test::TempDir dir;
    fs::path workDir = dir / "WTEMP";
};

TEST_F(ExportarCommandTest, ConvertsAndReportsTheRowsOfEachTable)
{
    const test::CommandResult outcome = test::runCommand({ "exportar", kExample, "--dir", workDir.string() });

    EXPECT_EQ(outcome.status, kExitOk);
    EXPECT_EQ(outcome.out, kSummary);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(test::folderEntries(workDir).size(), 6u);
}

TEST_F(ExportarCommandTest, WithoutDirTheEnvironmentNamesTheWorkingFolder)
{
    const char* old = std::getenv("TQZ_WTEMP");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("TQZ_WTEMP", workDir.c_str(), 1);
    const test::CommandResult outcome = test::runCommand({ "exportar", "--", kExample });
    if (old != nullptr) {
        ::setenv("TQZ_WTEMP", saved.c_str(), 1);
    } else {
        ::unsetenv("TQZ_WTEMP");
    }

    EXPECT_EQ(outcome.status, kExitOk) << outcome.err;
    EXPECT_TRUE(fs::exists(workDir / "ASIGT.DBF"));
}

TEST_F(ExportarCommandTest, AConversionErrorExitsWithOneAndChangesNothing)
{
    const fs::path document = dir / "malo.xml";
    test::writeBytes(document,
        "<SERVICIO><SALIDAS><listasal seq=\"ASIGNATURAS\"><listasal><salida>A</salida>"
        "<salida>B</salida><salida/><salida/><salida/><salida/><salida/><salida>1h30</salida>"
        "</listasal></listasal></SALIDAS></SERVICIO>");

    const test::CommandResult outcome
        = test::runCommand({ "exportar", document.string(), "--dir=" + workDir.string() });

    EXPECT_EQ(outcome.status, kExitConversionError);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err,
        "Documento '" + document.string()
            + "', lista ASIGNATURAS, registro 1: '1h30' no es un valor entero válido\n");
    EXPECT_TRUE(test::folderEntries(workDir).empty());
}

// The two failures a user meets in practice, after an earlier conversion: a bad value in the last
// assignment, and a table that the timetabling program holds open. Either leaves every file of the
// working folder as it was.
TEST_F(ExportarCommandTest, AFailedConversionLeavesTheEarlierTablesByteForByte)
{
    ASSERT_EQ(test::runCommand({ "exportar", kExample, "--dir", workDir.string() }).status, kExitOk);
    const auto snapshot = [&] {
        std::map<std::string, std::string> files;
        for (const auto& name : test::folderEntries(workDir)) {
            files[name] = test::readBytes(workDir / name);
        }
        return files;
    };
    const auto before = snapshot();

    std::string xml = test::readBytes(kExample);
    const std::string lastMinutes = "<salida>A</salida><salida></salida><salida>300113</salida>";
    ASSERT_EQ(xml.find(lastMinutes), xml.rfind(lastMinutes));
    xml.replace(xml.find(lastMinutes), lastMinutes.size(),
        "<salida>A</salida><salida>1h30</salida><salida>300113</salida>");
    const fs::path document = dir / "horario.xml";
    test::writeBytes(document, xml);
    const test::CommandResult badValue
        = test::runCommand({ "exportar", document.string(), "--dir", workDir.string() });
    EXPECT_EQ(badValue.status, kExitConversionError);
    EXPECT_EQ(badValue.out, "");
    EXPECT_EQ(badValue.err,
        "Documento '" + document.string()
            + "', lista ASIGNATURAS, registro 200: '1h30' no es un valor entero válido\n");
    EXPECT_EQ(snapshot(), before);

    test::ForeignLock lock(workDir / "ASIGT.DBF");
    const test::CommandResult held = test::runCommand({ "exportar", kExample, "--dir", workDir.string() });
    EXPECT_EQ(held.status, kExitConversionError);
    EXPECT_EQ(held.out, "");
    EXPECT_EQ(held.err, "La tabla 'ASIGT' está abierta por otro programa\n");
    EXPECT_EQ(snapshot(), before);
}

TEST_F(ExportarCommandTest, NoFileAtTheDocumentPathExitsWithThree)
{
    for (const fs::path& document : { dir / "no-existe.xml", dir.path() }) {
        const test::CommandResult outcome
            = test::runCommand({ "exportar", document.string(), "--dir", workDir.string() });
        EXPECT_EQ(outcome.status, kExitNoDocument) << document;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "No existe archivo\n  " + document.string() + "\n");
    }
}

TEST_F(ExportarCommandTest, UsageErrorsExitWithTwo)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases {
        { { "exportar" }, "falta el documento" },
        { { "exportar", kExample, "otro.xml" }, "sobran argumentos" },
        { { "exportar", kExample, "--dir" }, "falta el valor de --dir" },
        { { "exportar", kExample, "--dir=" }, "el valor de --dir está vacío" },
        { { "exportar", kExample, "--dir", "a", "--dir", "b" }, "la opción --dir se ha dado más de una vez" },
        { { "exportar", kExample, "--csv" }, "opción desconocida '--csv'" },
    };
    for (const auto& c : cases) {
        const test::CommandResult outcome = test::runCommand(c.arguments);
        EXPECT_EQ(outcome.status, kExitUsage) << c.message;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err,
            "tqz exportar: " + c.message
                + "\nUso: tqz exportar DOCUMENTO.xml [--dir CARPETA]\n"
                  "Más información: tqz exportar --help\n");
    }
    EXPECT_TRUE(test::folderEntries(workDir).empty());
}

TEST_F(ExportarCommandTest, HelpDescribesTheCommand)
{
    const test::CommandResult outcome = test::runCommand({ "exportar", "--help" });
    EXPECT_EQ(outcome.status, kExitOk);
    EXPECT_EQ(outcome.out.rfind("Uso: tqz exportar DOCUMENTO.xml [--dir CARPETA]\n", 0), 0u);
    EXPECT_NE(outcome.out.find("ASIGNOMT, PROFT, AULAT, GRUPOST, ASIGT, DIASHORAST"), std::string::npos);
    EXPECT_NE(outcome.out.find("$TQZ_WTEMP"), std::string::npos);
    EXPECT_EQ(outcome.err, "");
}

// The installed program, run as a user runs it.
TEST_F(ExportarCommandTest, TheProgramConvertsTheExampleSchool)
{
    const char* binaries = std::getenv("TQZ_BIN_DIR");
    ASSERT_NE(binaries, nullptr) << "TQZ_BIN_DIR names the folder of the built programs";
    const std::string program = (fs::path(binaries) / "tqz").string();

    const auto exported = test::runProgram({ program, "exportar", kExample, "--dir", workDir.string() });
    EXPECT_EQ(exported.exitCode, kExitOk) << exported.errors;
    EXPECT_EQ(exported.output, kSummary);

    const auto shown
        = test::runProgram({ program, "tabla", "aulat.dbf", "--dir", workDir.string(), "--csv" });
    EXPECT_EQ(shown.exitCode, kExitOk) << shown.errors;
    EXPECT_EQ(shown.output.substr(0, shown.output.find('\n', shown.output.find('\n') + 1) + 1),
        "ABREV,NOMBRE,EDIFICIO,MAXALUM,DEPCENTRO\nA101,Aula 1.01,A,,D1201\n");
}

} // namespace
} // namespace tqz::cli
