#include "platform/DbfWriter.h"
#include "support/CliRun.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tqz::cli {
namespace {

namespace fs = std::filesystem;

class TablaCommandTest : public ::testing::Test {
protected:
    // A table of every field kind, its text in Windows-1252: an accented name, a value with a
    // line break and one with a comma and quotes.
    TablaCommandTest()
    {
        dbf::TableWriter table("PRUEBA",
            { { "ABREV", dbf::FieldKind::Text, 4 }, { "NOMBRE", dbf::FieldKind::Text, 20 },
                { "DNI", dbf::FieldKind::Integer, 0 }, { "ESTAREA", dbf::FieldKind::Boolean, 0 },
                { "HORAS", dbf::FieldKind::Float, 0 } });
        table.append();
        table.setText("ABREV", "O'N");
        table.setText("NOMBRE",
            "Pe\xF1"
            "a \xD1"
            "and\xFA \x80"); // Peña Ñandú €
        table.setInteger("DNI", 42);
        table.setBoolean("ESTAREA", true);
        table.setFloat("HORAS", 2.5);
        table.post();
        table.append();
        table.setText("ABREV", "ab");
        table.setText("NOMBRE", "l\xEDnea\ncortada");
        table.setBoolean("ESTAREA", false);
        table.post();
        table.append();
        table.setText("NOMBRE", "Ruiz, \"Nacho\"");
        table.setFloat("HORAS", 12);
        table.post();
        test::writeBytes(dir / "Prueba.dbf", table.bytes());
    }

    test::TempDir dir;
};

TEST_F(TablaCommandTest, PrintsAlignedColumnsInUtf8)
{
    const test::CommandResult outcome = test::runCommand({ "tabla", "PRUEBA", "--dir", dir.path().string() });

    EXPECT_EQ(outcome.status, kExitOk) << outcome.err;
    EXPECT_EQ(outcome.out,
        "ABREV  NOMBRE         DNI  ESTAREA  HORAS\n"
        "-----  -------------  ---  -------  -----\n"
        "O'N    Peña Ñandú €    42  T          2.5\n"
        "ab     línea cortada       F\n"
        "       Ruiz, \"Nacho\"                   12\n"
        "(3 filas)\n");
}

TEST_F(TablaCommandTest, PrintsCsv)
{
    const test::CommandResult outcome
        = test::runCommand({ "tabla", "prueba", "--csv", "--dir", dir.path().string() });

    EXPECT_EQ(outcome.status, kExitOk) << outcome.err;
    EXPECT_EQ(outcome.out,
        "ABREV,NOMBRE,DNI,ESTAREA,HORAS\n"
        "O'N,Peña Ñandú €,42,T,2.5\n"
        "ab,\"línea\ncortada\",,F,\n"
        ",\"Ruiz, \"\"Nacho\"\"\",,,12\n");
}

TEST_F(TablaCommandTest, FindsTheTableWhateverTheCaseAndExtension)
{
    for (const std::string name : { "PRUEBA", "prueba", "Prueba.DBF", "PRUEBA.dbf" }) {
        const test::CommandResult outcome
            = test::runCommand({ "tabla", name, "--csv", "--dir", dir.path().string() });
        EXPECT_EQ(outcome.status, kExitOk) << name << outcome.err;
        EXPECT_EQ(outcome.out.substr(0, 31), "ABREV,NOMBRE,DNI,ESTAREA,HORAS\n") << name;
    }
}

// SOLUC is written by the timetabling program, here a dBase III table in Windows-1252 with a
// deleted row, which is not shown.
TEST_F(TablaCommandTest, ShowsATableOfTheTimetablingProgram)
{
    fs::copy_file(test::testData("dbf/hand-db3-ld03.dbf"), dir / "soluc.dbf");

    const test::CommandResult outcome
        = test::runCommand({ "tabla", "SOLUC", "--csv", "--dir", dir.path().string() });

    EXPECT_EQ(outcome.status, kExitOk) << outcome.err;
    EXPECT_EQ(outcome.out,
        "ABREV,NOMBRE,DNI,ESTAREA,HORAS\n"
        "O'N,Peña Ñandú €,42,T,2.5\n"
        ",,,,\n"
        "ab,minusculas,0,F,0\n");
}

TEST_F(TablaCommandTest, AMissingTableIsAnError)
{
    const test::CommandResult outcome = test::runCommand({ "tabla", "SOLUC", "--dir", dir.path().string() });
    EXPECT_EQ(outcome.status, kExitConversionError);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "No existe la tabla 'SOLUC' en la carpeta '" + dir.path().string() + "'\n");
}

TEST_F(TablaCommandTest, UsageErrorsExitWithTwo)
{
    for (const std::vector<std::string>& arguments :
        { std::vector<std::string> { "tabla" }, { "tabla", "A", "B" }, { "tabla", "../PRUEBA" },
            { "tabla", "" }, { "tabla", "PRUEBA", "--csv=1" }, { "tabla", "PRUEBA", "--todo" } }) {
        const test::CommandResult outcome = test::runCommand(arguments);
        EXPECT_EQ(outcome.status, kExitUsage) << arguments.back();
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.rfind("tqz tabla: ", 0), 0u) << outcome.err;
    }
}

TEST_F(TablaCommandTest, HelpDescribesTheCommand)
{
    const test::CommandResult outcome = test::runCommand({ "tabla", "-h" });
    EXPECT_EQ(outcome.status, kExitOk);
    EXPECT_EQ(outcome.out.rfind("Uso: tqz tabla NOMBRE [--dir CARPETA] [--csv]\n", 0), 0u);
}

} // namespace
} // namespace tqz::cli
