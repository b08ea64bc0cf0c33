#include "convert/Builders.h"

#include "convert/ExportSupport.h"
#include "exchange/Envelope.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

namespace tqz::convert {
namespace {

using test::parseXml;
using test::positional;
using test::Row;
using test::rowsOf;
using test::serviceXml;

// The subjects of the task-code look-ups: two rows for G200 (the first wins), a task whose code is
// empty, a key longer than MATERIA holds, and a code dropped as a duplicate in another case.
const std::string kSubjects = positional({ "300101", "LCL", "LENGUA", "Lengua" })
    + positional({ "G100", "GUAR", "GUARDIA", "Guardia" })
    + positional({ "G200", "RDEP", "REUNDEP", "Reunión" })
    + positional({ "G200", "RDE2", "REUNDEP2", "Reunión bis" })
    + positional({ "G300", "", "VACIO", "Sin código" })
    + positional({ "G1234567X", "LARG", "LARGO", "Clave larga" })
    + positional({ "G400", "TSK", "TAREA", "Tarea" })
    + positional({ "G401", "tsk", "TAREA2", "Tarea repetida" });

// One assignment record with the given minutes and subject key.
std::string assignment(std::string_view minutes, std::string_view subjectKey)
{
    return positional({ "LCL", "1ESA", "A101", "M", "ESO", "1", "A", minutes, subjectKey });
}

std::vector<Row> build(const std::string& assignments)
{
    const auto document = parseXml(serviceXml(
        { { exchange::list::kMaterias, kSubjects }, { exchange::list::kAsignaturas, assignments } }));
    const LoadedDocument source { document, "/x/horario.xml" };
    return rowsOf(TransformarAsignaturas(source, TransformarMaterias(source)));
}

Row only(const std::vector<Row>& rows)
{
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? Row {} : rows.front();
}

TEST(TransformarAsignaturasTest, CopiesThePositionsIntoTheirFields)
{
    EXPECT_EQ(only(build(assignment("240", "300101"))),
        (Row { { "CASIG", "LCL" }, { "CPROF", "" }, { "CGRUP", "1ESA" }, { "CAULA", "A101" },
            { "TURNO", "M" }, { "NIVEL", "ESO" }, { "CURSO", "1" }, { "GRUPO", "A" }, { "HORAS", "4" },
            { "SESIONES", "1111" }, { "MATERIA", "300101" }, { "CTAREA", "LE" } }));
}

TEST(TransformarAsignaturasTest, WeeklyHoursAndSessionsFollowTheMinutes)
{
    struct Case {
        std::string minutes;
        std::string horas; // as the table holds it, four decimals
        std::string sesiones;
    };
    // clang-format off
    const std::vector<Case> cases {
        { "90", "1.5", "11" },
        { "61", "1.0167", "11" },
        { "60", "1", "1" },
        { "30", "1", "1" },
        { "0", "1", "1" },
        { "-120", "1", "1" },
        { "", "1", "1" },
        { "120", "2", "11" },
        { "150", "2.5", "111" },
        { "780", "13", "1111111111111" },
        { "781", "13.0167", "11111111111111" },
        { "840", "14", "11111111111111" },
        { "900", "15", "21111111111111" },
        { "1500", "25", "121111111111111" },
        { "0x5A", "1.5", "11" },
        { "$78", "2", "11" },
        { "+120", "2", "11" },
        { "3601", "60.0167", "481111111111111" },
        { "2147483647", "35791394.1167", "35791382111111111111" }, // cut to the 20 of SESIONES
    };
    // clang-format on
    for (const auto& c : cases) {
        const Row row = only(build(assignment(c.minutes, "300101")));
        EXPECT_EQ(row.at("HORAS"), c.horas) << c.minutes;
        EXPECT_EQ(row.at("SESIONES"), c.sesiones) << c.minutes;
    }
}

TEST(TransformarAsignaturasTest, TheTaskCodeComesFromTheSubjectsTableAsStored)
{
    struct Case {
        std::string subjectKey;
        std::string ctarea;
        std::string materia;
    };
    const std::vector<Case> cases {
        { "300101", "LE", "300101" }, // a subject taught
        { "g100", "LE", "g100" }, // lower-case g is no task
        { "", "LE", "" },
        { "G100", "GUAR", "G100" },
        { "G200", "RDEP", "G200" }, // the first of two rows wins
        { "G300", "", "G300" }, // the matching row's empty code
        { "G999X", "G999", "G999X" }, // no row: the key itself, cut to four
        { "G1234567X", "G123", "G1234567X" }, // MATERIA keeps eight characters, so the long key misses
        { "G1234567", "LARG", "G1234567" }, // ... and the cut key finds it
        { "G401", "G401", "G401" }, // its subject record was dropped as a duplicate code
        { "G12345678901", "G123", "G123456789" },
    };
    for (const auto& c : cases) {
        const Row row = only(build(assignment("60", c.subjectKey)));
        EXPECT_EQ(row.at("CTAREA"), c.ctarea) << c.subjectKey;
        EXPECT_EQ(row.at("MATERIA"), c.materia) << c.subjectKey;
    }
}

TEST(TransformarAsignaturasTest, ShortRecordsAreSkippedOrReadWithEmptyPositions)
{
    const auto rows = build(positional({ "LCL" }) + positional({ "MAT", "2ESB" }) + "<listasal/>");
    EXPECT_EQ(rows,
        (std::vector<Row> { { { "CASIG", "MAT" }, { "CPROF", "" }, { "CGRUP", "2ESB" }, { "CAULA", "" },
            { "TURNO", "" }, { "NIVEL", "NIV" }, { "CURSO", "" }, { "GRUPO", "" }, { "HORAS", "1" },
            { "SESIONES", "1" }, { "MATERIA", "" }, { "CTAREA", "LE" } } }));
}

TEST(TransformarAsignaturasTest, AnInvalidMinutesValueNamesDocumentListRecordAndValue)
{
    struct Case {
        std::string minutes;
        std::string shown;
    };
    for (const Case& c : { Case { "1h30", "1h30" }, Case { "90.5", "90.5" }, Case { " 9 0 ", "9 0" },
             Case { "2147483648", "2147483648" }, Case { "$", "$" }, Case { "1ñ", "1ñ" } }) {
        // Records are counted from 1 across the list, the skipped short record included.
        const std::string records
            = assignment("60", "300101") + positional({ "X" }) + assignment(c.minutes, "300101");
        try {
            build(records);
            ADD_FAILURE() << c.minutes;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                "Documento '/x/horario.xml', lista ASIGNATURAS, registro 3: '" + c.shown
                    + "' no es un valor entero válido");
        }
    }
}

} // namespace
} // namespace tqz::convert
