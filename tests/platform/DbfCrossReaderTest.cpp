// Tables our engine writes open unchanged in readers we did not write (dbfread, python-dbf, GDAL),
// and tables those programs write open in our engine.

#include "platform/DbfWriter.h"
#include "platform/FileIo.h"
#include "support/TempDir.h"

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tqz::test {
namespace {

using dbf::FieldKind;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kOgrInfo = "/usr/bin/ogrinfo";
constexpr const char* kOgr2Ogr = "/usr/bin/ogr2ogr";

// One field of each kind, accented Windows-1252 text and text cut to its width.
std::string ourTable()
{
    dbf::TableWriter table("CROSS",
                           {{"NOMBRE", FieldKind::Text, 12},
                            {"COD", FieldKind::Text, 4},
                            {"CANT", FieldKind::Integer, 0},
                            {"ACTIVO", FieldKind::Boolean, 0},
                            {"HORAS", FieldKind::Float, 0}},
                           dbf::Date{2026, 12, 11});
    table.append();
    table.setText("NOMBRE", "Pe\xF1" "a \xD1" "and\xFA \x80");
    table.setText("COD", "ABCDEFG");
    table.setInteger("CANT", 42);
    table.setBoolean("ACTIVO", true);
    table.setFloat("HORAS", 2.5);
    table.post();
    table.append();
    table.post();
    table.append();
    table.setText("NOMBRE", "Matem\xE1ticas extra");
    table.setText("COD", "x");
    table.setInteger("CANT", -7);
    table.setBoolean("ACTIVO", false);
    table.setFloat("HORAS", -0.25);
    table.post();
    table.append();
    table.setText("NOMBRE", "\xABpasillo\xBB \x96 1\xBA");
    table.setText("COD", "Z");
    table.setInteger("CANT", 2147483647);
    table.setBoolean("ACTIVO", true);
    table.setFloat("HORAS", 123456789.1234);
    table.post();
    return table.bytes();
}

std::string run(const std::vector<std::string>& arguments)
{
    const ProgramResult result = runProgram(arguments);
    EXPECT_EQ(result.exitCode, 0) << arguments.front() << ": " << result.errors;
    return result.output;
}

std::string python(const std::string& script, const std::vector<std::string>& arguments)
{
    std::vector<std::string> command = {TQZ_SYSTEM_PYTHON, "-c",
                                        "import sys\nsys.stdout.reconfigure(encoding='utf-8')\n" + script};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return run(command);
}

class CrossReader : public testing::Test {
protected:
    TempDir folder;
    std::filesystem::path ours = folder / "CROSS.DBF";

    void SetUp() override { io::writeFileAtomically(ours, ourTable()); }
};

TEST_F(CrossReader, DbfreadSeesOurFieldsAndValues)
{
    const std::string output = python(R"(
import dbfread
table = dbfread.DBF(sys.argv[1])
for f in table.fields:
    print(f.name, f.type, f.length, f.decimal_count)
for record in table:
    print(list(record.values()))
)",
                                      {ours.string()});
    EXPECT_EQ(output, "NOMBRE C 12 0\n"
                      "COD C 4 0\n"
                      "CANT N 11 0\n"
                      "ACTIVO L 1 0\n"
                      "HORAS N 20 4\n"
                      "['Peña Ñandú €', 'ABCD', 42, True, 2.5]\n"
                      "['', '', None, None, None]\n"
                      "['Matemáticas', 'x', -7, False, -0.25]\n"
                      "['«pasillo» –', 'Z', 2147483647, True, 123456789.1234]\n");
}

TEST_F(CrossReader, PythonDbfSeesOurFieldsAndValues)
{
    const std::string output = python(R"(
import dbf
table = dbf.Table(sys.argv[1])
table.open()
for name in table.field_names:
    info = table.field_info(name)
    print(name, chr(info[0]), info[1], info[2])
for record in table:
    print([v.rstrip() if isinstance(v, str) else v for v in record])
)",
                                      {ours.string()});
    EXPECT_EQ(output, "nombre C 12 0\n"
                      "cod C 4 0\n"
                      "cant N 11 0\n"
                      "activo L 1 0\n"
                      "horas N 20 4\n"
                      "['Peña Ñandú €', 'ABCD', 42, True, 2.5]\n"
                      "['', '', None, None, None]\n"
                      "['Matemáticas', 'x', -7, False, -0.25]\n"
                      "['«pasillo» –', 'Z', 2147483647, True, 123456789.1234]\n");
}

// The indented lines of ogrinfo's report: the table's metadata and its values.
std::string indentedLines(const std::string& report)
{
    std::istringstream lines(report);
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  ")) {
            result += line + "\n";
        }
    }
    return result;
}

TEST_F(CrossReader, OgrinfoSeesOurFieldsAndValues)
{
    const std::string schema = run({kOgrInfo, "-al", "-so", ours.string()});
    EXPECT_NE(schema.find("NOMBRE: String (12.0)\n"
                          "COD: String (4.0)\n"
                          "CANT: Integer64 (11.0)\n"
                          "ACTIVO: String (1.0)\n"
                          "HORAS: Real (20.4)\n"),
              std::string::npos)
        << schema;
    EXPECT_EQ(indentedLines(run({kOgrInfo, "-al", "-q", ours.string()})),
              "  DBF_DATE_LAST_UPDATE=2026-12-11\n"
              "  NOMBRE (String) = Peña Ñandú €\n"
              "  COD (String) = ABCD\n"
              "  CANT (Integer64) = 42\n"
              "  ACTIVO (String) = T\n"
              "  HORAS (Real) = 2.5000\n"
              "  NOMBRE (String) = (null)\n"
              "  COD (String) = (null)\n"
              "  CANT (Integer64) = (null)\n"
              "  ACTIVO (String) = (null)\n"
              "  HORAS (Real) = (null)\n"
              "  NOMBRE (String) = Matemáticas\n"
              "  COD (String) = x\n"
              "  CANT (Integer64) = -7\n"
              "  ACTIVO (String) = F\n"
              "  HORAS (Real) = -0.2500\n"
              "  NOMBRE (String) = «pasillo» –\n"
              "  COD (String) = Z\n"
              "  CANT (Integer64) = 2147483647\n"
              "  ACTIVO (String) = T\n"
              "  HORAS (Real) = 123456789.1234\n");
}

dbf::Table openFile(const std::filesystem::path& file)
{
    return openBytes("T", readBytes(file));
}

TEST_F(CrossReader, WeReadWhatPythonDbfWritesAsDbase3)
{
    python(R"(
import dbf
table = dbf.Table(sys.argv[1], 'ABREV C(4); NOMBRE C(20); DNI N(11,0); ACTIVO L; HORAS N(19,4)',
                  dbf_type='db3', codepage='cp1252')
table.open(dbf.READ_WRITE)
table.append(("O'N", 'Peña Ñandú €', 42, True, 2.5))
table.append(('DEL', 'borrado', 1, False, 1.0))
table.append()
table.append(('ab', 'x', -7, False, 0.25))
dbf.delete(table[1])
table.close()
)",
           {(folder / "db3.dbf").string()});
    dbf::Table table = openFile(folder / "db3.dbf");
    EXPECT_EQ(fieldDescriptions(table),
              (std::vector<std::string>{"ABREV C 4 0", "NOMBRE C 20 0", "DNI N 11 0", "ACTIVO L 1 0", "HORAS N 19 4"}));
    EXPECT_EQ(visibleRows(table), (Rows{{"O'N", "Pe\xF1" "a \xD1" "and\xFA \x80", "42", "T", "2.5"},
                                        {"", "", "", "", ""},
                                        {"ab", "x", "-7", "F", "0.25"}}));
}

TEST_F(CrossReader, WeReadWhatPythonDbfWritesAsVisualFoxPro)
{
    python(R"(
import dbf, datetime
table = dbf.Table(sys.argv[1], 'ABREV C(4); DNI I; HORAS B; ACTIVO L; CAR Y; TS T; D1 D; NOTA C(3) null',
                  dbf_type='vfp', codepage='cp1252')
table.open(dbf.READ_WRITE)
table.append(("O'N", 42, 2.5, True, 1.25, datetime.datetime(2024, 3, 1, 12, 30), datetime.date(2024, 3, 1), 'Ñu'))
table.append(('X', -7, 0.0, False, 0, None, None, 'del'))
table.append(('ab', -2147483647, -0.5, None, -3.5, None, None, None))
dbf.delete(table[1])
table.close()
)",
           {(folder / "vfp.dbf").string()});
    dbf::Table table = openFile(folder / "vfp.dbf");
    EXPECT_EQ(fieldDescriptions(table), (std::vector<std::string>{"ABREV C 4 0", "DNI I 4 0", "HORAS B 8 0",
                                                                  "ACTIVO L 1 0", "CAR Y 8 0", "TS T 8 0",
                                                                  "D1 D 8 0", "NOTA C 3 0"}));
    EXPECT_EQ(visibleRows(table),
              (Rows{{"O'N", "42", "2.5", "T", "1.25", "20240301 12:30:00", "20240301", "\xD1u"},
                    {"ab", "-2147483647", "-0.5", "", "-3.5", "", "", ""}}));
}

TEST_F(CrossReader, WeReadWhatGdalWritesFromOurTable)
{
    // GDAL's default writes ISO-8859-1 (language driver 0x57): the euro sign and the dash become '?'.
    run({kOgr2Ogr, "-f", "ESRI Shapefile", (folder / "copy.dbf").string(), ours.string()});
    dbf::Table table = openFile(folder / "copy.dbf");
    EXPECT_EQ(fieldDescriptions(table), (std::vector<std::string>{"NOMBRE C 12 0", "COD C 4 0", "CANT N 11 0",
                                                                  "ACTIVO C 1 0", "HORAS N 20 4"}));
    EXPECT_EQ(visibleRows(table), (Rows{{"Pe\xF1" "a \xD1" "and\xFA ?", "ABCD", "42", "T", "2.5"},
                                        {"", "", "", "", ""},
                                        {"Matem\xE1ticas", "x", "-7", "F", "-0.25"},
                                        {"\xABpasillo\xBB ?", "Z", "2147483647", "T", "123456789.1234"}}));
}

TEST_F(CrossReader, WeReadWhatGdalWritesFromACsvFile)
{
    writeBytes(folder / "in.csv", "ABREV,NOMBRE,DNI,HORAS\n\"O'N\",\"Peña Ñandú €\",42,2.5\nab,,-7,0.25\n");
    writeBytes(folder / "in.csvt", "\"String(4)\",\"String(20)\",\"Integer\",\"Real(20.4)\"\n");
    run({kOgr2Ogr, "-f", "ESRI Shapefile", (folder / "fromcsv.dbf").string(), (folder / "in.csv").string(),
         "-lco", "ENCODING=CP1252"});
    dbf::Table table = openFile(folder / "fromcsv.dbf");
    EXPECT_EQ(fieldDescriptions(table),
              (std::vector<std::string>{"ABREV C 4 0", "NOMBRE C 20 0", "DNI N 9 0", "HORAS N 20 4"}));
    EXPECT_EQ(visibleRows(table), (Rows{{"O'N", "Pe\xF1" "a \xD1" "and\xFA \x80", "42", "2.5"},
                                        {"ab", "", "-7", "0.25"}}));
}

} // namespace
} // namespace tqz::test
