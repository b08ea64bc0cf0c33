#include "platform/DbfWriter.h"
#include "support/CliRun.h"
#include "support/Files.h"
#include "support/TempDir.h"
#include "tables/Schemas.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tqz::test {
namespace {

void writeTable(const std::filesystem::path& folder, const std::string& name, const dbf::Schema& schema,
    const std::vector<std::vector<std::pair<std::string, std::string>>>& rows)
{
    dbf::TableWriter writer(name, schema);
    for (const auto& row : rows) {
        writer.append();
        for (const auto& [field, value] : row) {
            writer.setText(field, value);
        }
        writer.post();
    }
    writeBytes(folder / (name + ".DBF"), writer.bytes());
}

// One teacher with two lessons: one fully resolved, one whose room and slot are unknown.
class ImportarCommandTest : public ::testing::Test {
protected:
    ImportarCommandTest()
    {
        std::filesystem::create_directories(m_workDir);
        writeBytes(m_document, "<SERVICIO><SALIDAS/></SERVICIO>");
        for (const auto& table : tables::workingTables()) {
            writeTable(m_workDir, std::string(table.name), table.fields, {});
        }
        writeTable(m_workDir, "PROFT", tables::schemaOf("PROFT").fields,
            { { { "ABREV", "ANA" }, { "X_EMPLEADO", "E1" } } });
        writeTable(m_workDir, "AULAT", tables::schemaOf("AULAT").fields,
            { { { "ABREV", "A1" }, { "DEPCENTRO", "D01" } } });
        writeTable(m_workDir, "DIASHORAST", tables::schemaOf("DIASHORAST").fields,
            { { { "DIHO", "L1" }, { "DIA", "1" }, { "CODDIHO", "T01" } } });
        const dbf::Schema soluc { { "PROF", dbf::FieldKind::Text, 4 }, { "DIA", dbf::FieldKind::Text, 1 },
            { "HORA", dbf::FieldKind::Text, 2 }, { "TAREA", dbf::FieldKind::Text, 4 },
            { "AULA", dbf::FieldKind::Text, 4 }, { "CODGRUPO", dbf::FieldKind::Text, 4 },
            { "ASIG", dbf::FieldKind::Text, 4 } };
        writeTable(m_workDir, "SOLUC", soluc,
            { { { "PROF", "ANA" }, { "DIA", "1" }, { "HORA", "1" }, { "AULA", "A1" } },
                { { "PROF", "ANA" }, { "DIA", "2" }, { "HORA", "1" }, { "AULA", "B9" } } });
    }

    std::filesystem::path result() const { return m_dir / "ResultadoQuorvahorario.xml"; }

    TempDir m_dir;
    std::filesystem::path m_workDir = m_dir / "wtemp";
    std::filesystem::path m_document = m_dir / "horario.xml";
};

TEST_F(ImportarCommandTest, WritesTheResultAndReportsWhatItDid)
{
    const auto run = runCommand({ "importar", m_document.string(), "--dir", m_workDir.string() });
    EXPECT_EQ(run.status, cli::kExitOk) << run.err;
    // The second lesson's slot (two fields) and room are not in the tables; the lessons name no
    // activity, group or subject, which is no missing code.
    EXPECT_EQ(run.out,
        "Proceso finalizado\n"
        "  Resultado: "
            + result().string()
            + "\n"
              "  Profesores: 1\n"
              "  Actividades: 2\n"
              "  Campos de actividad sin resolver: 3\n");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(std::filesystem::is_regular_file(result()));
}

TEST_F(ImportarCommandTest, TakesTheWorkingFolderFromTheEnvironmentWithoutDir)
{
    ::setenv("TQZ_WTEMP", m_workDir.c_str(), 1);
    const auto run = runCommand({ "importar", m_document.string() });
    ::unsetenv("TQZ_WTEMP");
    EXPECT_EQ(run.status, cli::kExitOk) << run.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(result()));
}

TEST_F(ImportarCommandTest, ReportsAConversionErrorAndWritesNothing)
{
    std::filesystem::remove(m_workDir / "SOLUC.DBF");
    const auto run = runCommand({ "importar", m_document.string(), "--dir", m_workDir.string() });
    EXPECT_EQ(run.status, cli::kExitConversionError);
    EXPECT_NE(run.err.find("SOLUC"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(folderEntries(m_dir.path()), (std::vector<std::string> { "horario.xml", "wtemp" }));
}

TEST_F(ImportarCommandTest, AnswersUsageAndMissingDocumentWithTheirStatuses)
{
    struct Case {
        std::vector<std::string> arguments;
        int status;
        const char* errStart;
    };
    const std::string dir = m_workDir.string();
    const Case cases[] = {
        { { "importar" }, cli::kExitUsage, "tqz importar: falta el documento\n" },
        { { "importar", m_document.string(), "otro.xml" }, cli::kExitUsage,
            "tqz importar: sobran argumentos\n" },
        { { "importar", m_document.string(), "--csv" }, cli::kExitUsage,
            "tqz importar: opción desconocida '--csv'\n" },
        { { "importar", m_document.string(), "--dir" }, cli::kExitUsage,
            "tqz importar: falta el valor de --dir\n" },
        { { "importar", (m_dir / "no.xml").string(), "--dir", dir }, cli::kExitNoDocument,
            "No existe archivo\n" },
        { { "importar", m_dir.path().string(), "--dir", dir }, cli::kExitNoDocument, "No existe archivo\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.size() > 1 ? c.arguments[1] : "(none)");
        const auto run = runCommand(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.starts_with(c.errStart)) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(result()));
}

TEST_F(ImportarCommandTest, PrintsItsHelp)
{
    const auto run = runCommand({ "importar", "--help" });
    EXPECT_EQ(run.status, cli::kExitOk);
    EXPECT_TRUE(run.out.starts_with("Uso: tqz importar DOCUMENTO.xml [--dir CARPETA]\n")) << run.out;
    EXPECT_NE(run.out.find("\"ResultadoQuorva\""), std::string::npos);
}

TEST_F(ImportarCommandTest, ExitsWithTheStatusFromTheProgramItself)
{
    const char* binDir = std::getenv("TQZ_BIN_DIR");
    ASSERT_NE(binDir, nullptr);
    const std::string tqz = std::string(binDir) + "/tqz";
    EXPECT_EQ(runProgram({ tqz, "importar", m_document.string(), "--dir", m_workDir.string() }).exitCode, 0);
    EXPECT_EQ(runProgram({ tqz, "importar", (m_dir / "no.xml").string() }).exitCode, 3);
}

} // namespace
} // namespace tqz::test
