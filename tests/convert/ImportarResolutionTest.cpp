#include "convert/ImportarFixture.h"

#include "convert/Conversions.h"

#include <gtest/gtest.h>

#include <array>

namespace tqz::test {
namespace {

struct Case {
    const char* what;
    SolucRow lesson;
    std::array<const char*, 6> fields; // X_ACTIVIDAD ... X_MATERIAOMC
    std::size_t unresolved;
};

// The school of writeSchool: every code below is either in its tables, in them under another letter
// case, or nowhere. Duplicate keys are in every table, the first row holding the value shown.
const Case kCases[] = {
    { "every code found, first row wins", { "ANA", "1", "1", "MAT", "A1", "1A", "MAT" },
        { "M001", "1", "T01", "D01", "U1A", "MA1A" }, 0 },
    { "unknown TAREA kept", { "ANA", "1", "1", "XYZ", "A1", "1A", "MAT" },
        { "XYZ", "1", "T01", "D01", "U1A", "MA1A" }, 1 },
    { "blank TAREA", { "ANA", "1", "1", "", "A1", "1A", "MAT" }, { "G439", "1", "T01", "D01", "U1A", "MA1A" },
        0 },
    { "TAREA with blank MATERIA", { "ANA", "1", "1", "VAC", "A1", "1A", "MAT" },
        { "G439", "1", "T01", "D01", "U1A", "MA1A" }, 0 },
    { "TAREA in lower case", { "ANA", "1", "1", "mat", "A1", "1A", "MAT" },
        { "m001", "1", "T01", "D01", "U1A", "MA1A" }, 0 },
    { "TAREA in mixed case", { "ANA", "1", "1", "Mat", "A1", "1A", "MAT" },
        { "Mat", "1", "T01", "D01", "U1A", "MA1A" }, 1 },
    { "day 6", { "ANA", "6", "2", "MAT", "A1", "1A", "MAT" }, { "M001", "6", "TS2", "D01", "U1A", "MA1A" },
        0 },
    { "day 7", { "ANA", "7", "3", "MAT", "A1", "1A", "MAT" }, { "M001", "7", "TD3", "D01", "U1A", "MA1A" },
        0 },
    { "period 10", { "ANA", "1", "10", "MAT", "A1", "1A", "MAT" },
        { "M001", "1", "T10", "D01", "U1A", "MA1A" }, 0 },
    { "period 0", { "ANA", "1", "0", "MAT", "A1", "1A", "MAT" }, { "M001", "1", "T00", "D01", "U1A", "MA1A" },
        0 },
    { "empty period reads as 0", { "ANA", "1", "", "MAT", "A1", "1A", "MAT" },
        { "M001", "1", "T00", "D01", "U1A", "MA1A" }, 0 },
    { "day 8 has no letter: the key is the period", { "ANA", "8", "5", "MAT", "A1", "1A", "MAT" },
        { "M001", "", "TX5", "D01", "U1A", "MA1A" }, 0 },
    { "no slot", { "ANA", "2", "1", "MAT", "A1", "1A", "MAT" }, { "M001", "", "", "D01", "U1A", "MA1A" }, 2 },
    { "room in another case", { "ANA", "1", "1", "MAT", "A2", "1A", "MAT" },
        { "M001", "1", "T01", "", "U1A", "MA1A" }, 1 },
    { "values untrimmed", { "ANA", "1", "1", "MAT", "A3", "1A", "MAT" },
        { "M001", "1", "T01", "[ D03]", "U1A", "MA1A" }, 0 },
    { "ANSI text, subject of a group without assignment", { "ANA", "1", "1", "MAT", "A1", "3C", "MAT" },
        { "M001", "1", "T01", "D01", "Ñ3C", "M001" }, 0 },
    { "unknown group", { "ANA", "1", "1", "MAT", "A1", "1a", "MAT" },
        { "M001", "1", "T01", "D01", "", "M001" }, 1 },
    { "subject assigned to another group only", { "ANA", "1", "1", "MAT", "A1", "1A", "LEN" },
        { "M001", "1", "T01", "D01", "U1A", "L001" }, 0 },
    { "subject assigned to this group", { "ANA", "1", "1", "MAT", "A1", "2B", "LEN" },
        { "M001", "1", "T01", "D01", "U2B", "LE2B" }, 0 },
    { "blank assignment, blank catalogue", { "ANA", "1", "1", "MAT", "A1", "1A", "VAC" },
        { "M001", "1", "T01", "D01", "U1A", "" }, 0 },
    { "subject in lower case", { "ANA", "1", "1", "MAT", "A1", "1A", "mat" },
        { "M001", "1", "T01", "D01", "U1A", "m001" }, 0 },
    { "unknown subject", { "ANA", "1", "1", "MAT", "A1", "1A", "XX" },
        { "M001", "1", "T01", "D01", "U1A", "" }, 1 },
    { "nothing found", { "ANA", "9", "9", "ZZ", "ZZ", "ZZ", "ZZ" }, { "ZZ", "", "", "", "", "" }, 6 },
    { "no codes: an ordinary lesson without room or group", { "ANA", "1", "1", "", "", "", "" },
        { "G439", "1", "T01", "", "", "" }, 0 },
};

// As the dump shows it (a value with outer blanks between brackets).
std::string lessonLine(const std::array<const char*, 6>& fields)
{
    return std::string("  ACTIVIDAD_1 X_ACTIVIDAD=") + fields[0] + " N_DIASEMANA=" + fields[1]
        + " X_TRAMO=" + fields[2] + " X_DEPCENTRO=" + fields[3] + " X_UNIDAD=" + fields[4]
        + " X_MATERIAOMC=" + fields[5] + "\n";
}

TEST_F(ImportarTest, ResolvesTheSixFieldsOfALesson)
{
    for (const auto kind : { SolucKind::Numeric, SolucKind::Character }) {
        for (const auto& c : kCases) {
            SCOPED_TRACE(std::string(c.what) + (kind == SolucKind::Numeric ? " (numeric)" : " (character)"));
            writeSchool({ c.lesson }, kind);
            const auto summary = convert::importar(document(), workDir());
            const std::string dump = dumpTeachers(result());
            EXPECT_NE(dump.find("EMPLEADO_1 X_EMPLEADO=E1 F_TOMAPOS=01/09/2020\n" + lessonLine(c.fields)
                          + "EMPLEADO_2"),
                std::string::npos)
                << dump;
            EXPECT_EQ(summary.unresolvedFields, c.unresolved);
        }
    }
}

} // namespace
} // namespace tqz::test
