#include "convert/Conversions.h"

#include "convert/ExportSupport.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "support/Files.h"
#include "support/ForeignLock.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>

namespace tqz::convert {
namespace {

namespace fs = std::filesystem;
using test::folderEntries;
using test::readBytes;
using test::writeBytes;

std::map<std::string, std::string> snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& name : folderEntries(folder)) {
        files[name] = readBytes(folder / name);
    }
    return files;
}

// The example school with the minutes of its last assignment replaced by `minutes`.
std::string exampleWithLastMinutes(const std::string& minutes)
{
    std::string xml = readBytes(fs::path(TQZ_EXAMPLES) / "horario.xml");
    const std::size_t slots = xml.find("<listasal seq=\"TRAMOS\">");
    std::size_t at = xml.rfind("<listasal><salida>", slots);
    for (int field = 0; field < 8; ++field) {
        at = xml.find("<salida>", at) + std::string("<salida>").size();
    }
    const std::size_t end = xml.find("</salida>", at);
    xml.replace(at, end - at, minutes);
    return xml;
}

class ExportarTest : public ::testing::Test {
protected:
    ExportarTest() { fs::create_directory(workDir); }

    // The tables of an earlier conversion, with a stale index beside one of them.
    void convertOnce()
    {
        exportar(fs::path(TQZ_EXAMPLES) / "horario.xml", workDir);
        writeBytes(workDir / "ASIGT.MDX", "stale index");
    }

    void expectFailureLeavesTables(const fs::path& document, const std::string& message)
    {
        const auto before = snapshot(workDir);
        try {
            exportar(document, workDir);
            ADD_FAILURE() << "the conversion went through";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_EQ(snapshot(workDir), before);
    }

    test::TempDir dir;
    fs::path workDir = dir / "WTEMP";
};

TEST_F(ExportarTest, BuildsTheSixTablesOfTheExampleSchool)
{
    const auto summary = exportar(fs::path(TQZ_EXAMPLES) / "horario.xml", workDir);

    std::vector<std::pair<std::string, std::size_t>> counts;
    for (const auto& table : summary.tables) {
        counts.emplace_back(table.table, table.rows);
    }
    EXPECT_EQ(counts,
        (std::vector<std::pair<std::string, std::size_t>> { { "ASIGNOMT", 60 }, { "PROFT", 40 },
            { "AULAT", 25 }, { "GRUPOST", 20 }, { "ASIGT", 200 }, { "DIASHORAST", 30 } }));
    EXPECT_EQ(folderEntries(workDir),
        (std::vector<std::string> {
            "ASIGNOMT.DBF", "ASIGT.DBF", "AULAT.DBF", "DIASHORAST.DBF", "GRUPOST.DBF", "PROFT.DBF" }));
}

TEST_F(ExportarTest, AReplacedTableLosesItsStaleIndex)
{
    convertOnce();
    writeBytes(workDir / "proft.mdx", "stale index");
    writeBytes(workDir / "SOLUC.MDX", "Quorvane's index");

    exportar(fs::path(TQZ_EXAMPLES) / "horario.xml", workDir);

    EXPECT_FALSE(fs::exists(workDir / "ASIGT.MDX"));
    EXPECT_FALSE(fs::exists(workDir / "proft.mdx"));
    EXPECT_TRUE(fs::exists(workDir / "SOLUC.MDX"));
}

TEST_F(ExportarTest, AnInvalidMinutesValueInTheLastAssignmentChangesNoTable)
{
    convertOnce();
    const fs::path document = dir / "horario.xml";
    writeBytes(document, exampleWithLastMinutes("1h30"));

    expectFailureLeavesTables(document,
        "Documento '" + document.string()
            + "', lista ASIGNATURAS, registro 200: '1h30' no es un valor entero válido");
}

TEST_F(ExportarTest, ATableHeldByAnotherProgramChangesNoTable)
{
    convertOnce();
    test::ForeignLock lock(workDir / "PROFT.DBF");

    expectFailureLeavesTables(
        fs::path(TQZ_EXAMPLES) / "horario.xml", "La tabla 'PROFT' está abierta por otro programa");
}

TEST_F(ExportarTest, ADocumentThatIsNotWellFormedChangesNoTable)
{
    convertOnce();
    const fs::path document = dir / "cortado.xml";
    const std::string xml = readBytes(fs::path(TQZ_EXAMPLES) / "horario.xml");
    writeBytes(document, xml.substr(0, xml.size() / 2));
    const auto before = snapshot(workDir);

    try {
        exportar(document, workDir);
        ADD_FAILURE() << "a broken document was converted";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find(document.string()), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("línea"), std::string::npos) << error.what();
    }
    EXPECT_EQ(snapshot(workDir), before);
}

TEST_F(ExportarTest, ADocumentWithoutListsGivesSixEmptyTables)
{
    convertOnce();
    const fs::path document = dir / "vacio.xml";
    writeBytes(document, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><SERVICIO><SALIDAS/></SERVICIO>");

    const auto summary = exportar(document, workDir);

    ASSERT_EQ(summary.tables.size(), 6u);
    for (const auto& table : summary.tables) {
        EXPECT_EQ(table.rows, 0u) << table.table;
        // An empty table is its header and the end-of-file byte.
        const std::string bytes = readBytes(workDir / (table.table + ".DBF"));
        const std::size_t headerLength
            = static_cast<unsigned char>(bytes[8]) + 256u * static_cast<unsigned char>(bytes[9]);
        EXPECT_EQ(bytes.size(), headerLength + 1) << table.table;
        EXPECT_EQ(bytes.substr(4, 4), std::string(4, '\0')) << table.table;
        EXPECT_EQ(bytes.back(), '\x1A') << table.table;
    }
}

TEST_F(ExportarTest, AMissingWorkingFolderIsNamedAndNothingIsCreated)
{
    const fs::path missing = dir / "no-existe";
    try {
        exportar(fs::path(TQZ_EXAMPLES) / "horario.xml", missing);
        ADD_FAILURE();
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "La carpeta de trabajo '" + missing.string() + "' no existe");
    }
    EXPECT_FALSE(fs::exists(missing));
}

} // namespace
} // namespace tqz::convert
