#include "convert/ImportarFixture.h"

#include "convert/Conversions.h"
#include "support/Files.h"

#include <gtest/gtest.h>

namespace tqz::test {
namespace {

// SOLUC tables written by programs other than ours, as the timetabling program's own dBase
// variant is not ours to choose: python-dbf's dBase III and Visual FoxPro tables (binary integers,
// null flags, a deleted row) and GDAL's tables with numbers and with text for DIA and HORA.

constexpr const char* kExpected = "EMPLEADO_1 X_EMPLEADO=E1 F_TOMAPOS=01/09/2020\n"
                                  "  ACTIVIDAD_1 X_ACTIVIDAD=M001 N_DIASEMANA=2 X_TRAMO=T08 X_DEPCENTRO=D01 "
                                  "X_UNIDAD=U1A X_MATERIAOMC=MA1A\n"
                                  "  ACTIVIDAD_2 X_ACTIVIDAD=M001 N_DIASEMANA=1 X_TRAMO=T10 X_DEPCENTRO=D01 "
                                  "X_UNIDAD=U1A X_MATERIAOMC=MA1A\n"
                                  "EMPLEADO_2 X_EMPLEADO=E2 F_TOMAPOS=15/09/2021\n"
                                  "  ACTIVIDAD_1 X_ACTIVIDAD=L001 N_DIASEMANA=1 X_TRAMO=T01 X_DEPCENTRO=D02 "
                                  "X_UNIDAD=U2B X_MATERIAOMC=LE2B\n"
                                  "EMPLEADO_3 X_EMPLEADO=E3 F_TOMAPOS=01/10/2019\n";

// Rows as Python tuples; the fourth is deleted by the python-dbf writer.
constexpr const char* kPythonRows = "[('ANA', 2, 4, 'MAT', 'A1', '1A', 'MAT', None),"
                                    " ('ANA', 0, 1, 'LEN', 'A1', '1A', 'LEN', 'cero'),"
                                    " ('O\\'N', 1, 1, 'LEN', 'a2', '2B', 'LEN', None),"
                                    " ('ANA', 1, 1, 'LEN', 'A1', '1A', 'LEN', 'borrada'),"
                                    " ('ANA', 1, 10, 'MAT', 'A1', '1A', 'MAT', '')]";

void writeWithPythonDbf(
    const std::filesystem::path& folder, const std::string& type, const std::string& fields)
{
    const std::string script = "import dbf, sys\n"
                               "t = dbf.Table(sys.argv[1], '"
        + fields + "', dbf_type='" + type
        + "', codepage='cp1252')\n"
          "t.open(dbf.READ_WRITE)\n"
          "for row in "
        + kPythonRows
        + ":\n"
          "    t.append(row)\n"
          "dbf.delete(t[3])\n"
          "t.close()\n";
    const auto run = runProgram({ TQZ_SYSTEM_PYTHON, "-c", script, (folder / "SOLUC.DBF").string() });
    ASSERT_EQ(run.exitCode, 0) << run.errors;
}

void writeWithGdal(const std::filesystem::path& folder, const char* csvTypes)
{
    const auto csv = folder / "soluc.csv";
    writeBytes(csv,
        "PROF,DIA,HORA,TAREA,AULA,CODGRUPO,ASIG\n"
        "ANA,2,4,MAT,A1,1A,MAT\nANA,0,1,LEN,A1,1A,LEN\nO'N,1,1,LEN,a2,2B,LEN\nANA,1,10,MAT,A1,1A,MAT\n");
    if (csvTypes != nullptr) {
        writeBytes(folder / "soluc.csvt", csvTypes);
    }
    const auto run = runProgram(
        { "/usr/bin/ogr2ogr", "-f", "ESRI Shapefile", (folder / "SOLUC.dbf").string(), csv.string() });
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::filesystem::remove(csv);
    std::filesystem::remove(folder / "soluc.csvt");
}

TEST_F(ImportarTest, ReadsSolucWrittenByPythonDbf)
{
    struct Case {
        const char* type;
        const char* fields;
    };
    const Case cases[] = {
        { "db3",
            "PROF C(4); DIA N(1,0); HORA N(2,0); TAREA C(4); AULA C(4); CODGRUPO C(4); ASIG C(4); NOTA "
            "C(10)" },
        { "vfp",
            "PROF C(4); DIA I; HORA N(3,0); TAREA C(4); AULA C(4); CODGRUPO C(4); ASIG C(4); NOTA C(10) "
            "null" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        writeSchool({});
        std::filesystem::remove(workDir() / "SOLUC.DBF");
        writeWithPythonDbf(workDir(), c.type, c.fields);
        EXPECT_EQ(runDump(), kExpected);
    }
}

TEST_F(ImportarTest, ReadsSolucWrittenByGdal)
{
    // Without column types GDAL stores every column as text.
    for (const char* types : { "\"String(4)\",\"Integer(1)\",\"Integer(2)\",\"String(4)\",\"String(4)\","
                               "\"String(4)\",\"String(4)\"\n",
             static_cast<const char*>(nullptr) }) {
        SCOPED_TRACE(types != nullptr ? "numbers" : "text");
        writeSchool({});
        std::filesystem::remove(workDir() / "SOLUC.DBF");
        writeWithGdal(workDir(), types);
        EXPECT_EQ(runDump(), kExpected);
    }
}

} // namespace
} // namespace tqz::test
