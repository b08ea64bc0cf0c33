#include "convert/Builders.h"

#include "convert/ExportSupport.h"
#include "exchange/Envelope.h"

#include <gtest/gtest.h>

namespace tqz::convert {
namespace {

using test::columnOf;
using test::parseXml;
using test::positional;
using test::Row;
using test::rowsOf;
using test::serviceXml;

std::vector<Row> materias(const std::string& records)
{
    const auto document = parseXml(serviceXml(exchange::list::kMaterias, records));
    return rowsOf(TransformarMaterias({ document, "prueba.xml" }));
}

std::vector<std::string> codesOf(const std::string& records)
{
    std::vector<std::string> codes;
    for (const auto& row : materias(records)) {
        codes.push_back(row.at("COD"));
    }
    return codes;
}

TEST(TransformarMateriasTest, CopiesThePositionsIntoTheirFields)
{
    const auto rows = materias(positional({ "300102", "MAT", "MATEMAT", "Matemáticas", "ignorado" }));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
        (Row { { "COD", "MAT" }, { "CODLARGO", "MATEMAT" }, { "NOMBRE", "Matemáticas" },
            { "MATERIA", "300102" }, { "ESTAREA", "F" } }));
}

TEST(TransformarMateriasTest, SkipsRecordsOfFewerThanTwoFieldsAndReadsMissingPositionsAsEmpty)
{
    const auto rows = materias("<listasal/>" + positional({ "300101" }) + positional({ "300103", "ING" }));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
        (Row { { "COD", "ING" }, { "CODLARGO", "" }, { "NOMBRE", "" }, { "MATERIA", "300103" },
            { "ESTAREA", "F" } }));
}

TEST(TransformarMateriasTest, KeepsTheFirstRecordOfACodeInAnyLetterCase)
{
    struct Case {
        std::vector<std::string> codes;
        std::vector<std::string> stored;
    };
    const std::vector<Case> cases {
        { { "AB1", "ab1", "Ab1" }, { "AB1" } }, { { "ÑA", "ña" }, { "ÑA" } },
        { { "ÁREA", "área", "AREA" }, { "ÁREA", "AREA" } }, // accents count, letter case does not
        { { "ABCD1", "ABCD2", "abcd1" }, { "ABCD", "ABCD" } }, // the whole code decides, not the stored four
        { { "", "X", "" }, { "", "X" } }, // only the first empty code gives a row
        { { "L1", "L1 " }, { "L1" } }, // trimmed before the test
    };
    for (const auto& c : cases) {
        std::string records;
        for (const auto& code : c.codes) {
            records += positional({ "300100", code, "LARGO", "Nombre" });
        }
        EXPECT_EQ(codesOf(records), c.stored) << c.codes.front();
    }
}

TEST(TransformarMateriasTest, ADuplicateIsDroppedWhole)
{
    const auto rows = materias(positional({ "300208", "MAT1", "MATEM1", "Matemáticas I" })
        + positional({ "G999", "mat1", "OTRO", "Otra cosa" }));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("MATERIA"), "300208");
    EXPECT_EQ(rows[0].at("NOMBRE"), "Matemáticas I");
}

TEST(TransformarMateriasTest, MarksSubjectKeysBeginningWithUpperCaseGAsTasks)
{
    const auto document = parseXml(serviceXml(exchange::list::kMaterias,
        positional({ "G100", "GUAR" }) + positional({ "g100", "gua" }) + positional({ "", "VAC" })
            + positional({ "  G7  ", "G7" }) + positional({ "300101", "LCL" })));
    EXPECT_EQ(columnOf(TransformarMaterias({ document, "prueba.xml" }), "ESTAREA"),
        (std::vector<std::string> { "T", "F", "F", "T", "F" }));
}

TEST(TransformarMateriasTest, TrimsValuesAndCutsThemToTheFieldWidths)
{
    const auto rows = materias(positional({ "\n   30010199  \t", " LCLABC ", "LENGUAYLITERATURA",
        "  Lengua  Castellana y Literatura: Comentario de Texto  " }));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0],
        (Row { { "COD", "LCLA" }, { "CODLARGO", "LENGUAYL" },
            { "NOMBRE", "Lengua  Castellana y Literatura: Comenta" }, { "MATERIA", "30010199" },
            { "ESTAREA", "F" } }));
}

TEST(TransformarProfesoresTest, CopiesThePositionsAndLeavesDepartAndDniEmpty)
{
    const auto document = parseXml(serviceXml(exchange::list::kProfesores,
        positional({ "E104201", "01/09/2004", "Muñoz Núñez, Begoña", "BMN0" }) + positional({ "E104238" })
            + positional({ "E104275", "01/09/2010" })));
    const auto rows = rowsOf(TransformarProfesores({ document, "prueba.xml" }));
    EXPECT_EQ(rows,
        (std::vector<Row> {
            { { "ABREV", "BMN0" }, { "NOMBRE", "Muñoz Núñez, Begoña" }, { "DEPART", "" }, { "DNI", "" },
                { "X_EMPLEADO", "E104201" }, { "F_TOMAPOS", "01/09/2004" } },
            { { "ABREV", "" }, { "NOMBRE", "" }, { "DEPART", "" }, { "DNI", "" }, { "X_EMPLEADO", "E104275" },
                { "F_TOMAPOS", "01/09/2010" } },
        }));
}

TEST(TransformarAulasTest, ARoomWithoutAbbreviationGoesByItsCentreCode)
{
    struct Case {
        std::string abbreviation;
        std::string expected;
    };
    for (const Case& c :
        { Case { "A101", "A101" }, Case { "", "D123" }, Case { " \t\n ", "D123" }, Case { "Ñ1", "Ñ1" } }) {
        const auto document = parseXml(
            serviceXml(exchange::list::kAulas, positional({ "D12345", c.abbreviation, "Pabellón", "C" })));
        const auto rows = rowsOf(TransformarAulas({ document, "prueba.xml" }));
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0],
            (Row { { "ABREV", c.expected }, { "NOMBRE", "Pabellón" }, { "EDIFICIO", "C" }, { "MAXALUM", "" },
                { "DEPCENTRO", "D12345" } }))
            << c.abbreviation;
    }
}

TEST(TransformarGruposTest, AGroupWithoutLevelGetsNiv)
{
    const auto document = parseXml(serviceXml(exchange::list::kGrupos,
        positional({ "U3001", "1ESA", "M", "ESO", "1", "A" })
            + positional({ "U3014", "4DIV", "M", "  ", "4", "D" }) + positional({ "U3020", "2BHC" })));
    EXPECT_EQ(rowsOf(TransformarGrupos({ document, "prueba.xml" })),
        (std::vector<Row> {
            { { "UNIDAD", "U3001" }, { "ABREV", "1ESA" }, { "TURNO", "M" }, { "NIVEL", "ESO" },
                { "CURSO", "1" }, { "GRUPO", "A" } },
            { { "UNIDAD", "U3014" }, { "ABREV", "4DIV" }, { "TURNO", "M" }, { "NIVEL", "NIV" },
                { "CURSO", "4" }, { "GRUPO", "D" } },
            { { "UNIDAD", "U3020" }, { "ABREV", "2BHC" }, { "TURNO", "" }, { "NIVEL", "NIV" },
                { "CURSO", "" }, { "GRUPO", "" } },
        }));
}

// Which records belong to a list is settled by the envelope alone.
TEST(CatalogueListsTest, RecordsAreFoundOnlyUnderTheirList)
{
    struct Case {
        const char* name;
        std::string xml;
        std::vector<std::string> codes;
    };
    const std::string a = positional({ "1", "A" });
    const std::string b = positional({ "2", "B" });
    const std::vector<Case> cases {
        { "no list", "<SERVICIO><SALIDAS/></SERVICIO>", {} },
        { "other root", "<OTRO><SALIDAS><listasal seq=\"MATERIAS\">" + a + "</listasal></SALIDAS></OTRO>",
            {} },
        { "seq with a blank",
            "<SERVICIO><SALIDAS><listasal seq=\"MATERIAS \">" + a + "</listasal></SALIDAS></SERVICIO>", {} },
        { "seq in lower case",
            "<SERVICIO><SALIDAS><listasal seq=\"materias\">" + a + "</listasal></SALIDAS></SERVICIO>", {} },
        { "two lists",
            serviceXml({ { "MATERIAS", a }, { "PROFESORES", positional({ "9", "Z" }) }, { "MATERIAS", b } }),
            { "A", "B" } },
        { "two sections",
            "<SERVICIO><SALIDAS><listasal seq=\"MATERIAS\">" + b
                + "</listasal></SALIDAS><SALIDAS><listasal "
                  "seq=\"MATERIAS\">"
                + a + "</listasal></SALIDAS></SERVICIO>",
            { "B", "A" } },
        { "nested deeper",
            "<SERVICIO><SALIDAS><listasal seq=\"MATERIAS\"><grupo>" + a
                + "</grupo></listasal></SALIDAS></SERVICIO>",
            {} },
        { "fields of other names",
            "<SERVICIO><SALIDAS><listasal seq=\"MATERIAS\"><listasal><campo>1</campo>"
            "<salida>X</salida><x><salida>Y</salida></x></listasal></listasal></SALIDAS></SERVICIO>",
            {} },
    };
    for (const auto& c : cases) {
        const auto document = parseXml(c.xml);
        EXPECT_EQ(columnOf(TransformarMaterias({ document, "prueba.xml" }), "COD"), c.codes) << c.name;
    }
}

} // namespace
} // namespace tqz::convert
