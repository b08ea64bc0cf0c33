#include "exchange/InputRecords.h"

#include "exchange/DayLetters.h"
#include "platform/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

namespace tqz::exchange {
namespace {

xml::Document parse(const std::string& xml)
{
    return xml::Document::parse(xml, "prueba.xml");
}

std::string oneList(const std::string& records)
{
    return "<SERVICIO><SALIDAS><listasal seq=\"AULAS\">" + records + "</listasal></SALIDAS></SERVICIO>";
}

TEST(InputRecordsTest, ThePathExpressionIsBuiltFromTheListName)
{
    EXPECT_EQ(listPath("MATERIAS"), "/SERVICIO/SALIDAS/listasal[@seq=\"MATERIAS\"]/listasal");
    EXPECT_EQ(listPath("TRAMOS"), "/SERVICIO/SALIDAS/listasal[@seq=\"TRAMOS\"]/listasal");
}

TEST(InputRecordsTest, RecordsKnowTheirPositionInTheirList)
{
    const auto document = parse(
        "<SERVICIO><SALIDAS><listasal "
        "seq=\"AULAS\"><listasal><salida>a</salida></listasal><listasal/></listasal>"
        "<listasal seq=\"GRUPOS\"><listasal/></listasal><listasal seq=\"AULAS\"><listasal><salida>c</salida>"
        "<salida>d</salida></listasal></listasal></SALIDAS></SERVICIO>");
    const auto records = selectRecords(document, "AULAS");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].position(), 1u);
    EXPECT_EQ(records[2].position(), 3u);
    EXPECT_EQ(records[2].value(0), "c");
    EXPECT_TRUE(records[0].isTooShort());
    EXPECT_TRUE(records[1].isTooShort());
    EXPECT_FALSE(records[2].isTooShort());
}

// Values are trimmed of characters of code 32 and below at both ends and turned into the tool's
// 8-bit text; a position the record lacks reads as empty.
TEST(InputRecordsTest, ValuesAreTrimmedAnsiText)
{
    struct Case {
        std::string xml; // the salida's content
        std::string value; // Windows-1252
    };
    const std::vector<Case> cases {
        { "  Aula\t 1 \r\n", "Aula\t 1" },
        { "&#9;&#13;x&#127;&#13;", "x\x7F" },
        { "Peña €",
            "Pe\xF1"
            "a \x80" },
        { "Łódź",
            "L\xF3"
            "dz" }, // ł and ź lose their marks, ó is in the code page
        { "中", "?" },
        { "<b>Aula</b> <i>Magna</i>", "Aula Magna" },
        { "<![CDATA[ <1> ]]>", "<1>" },
        { "a&amp;b", "a&b" },
        { "", "" },
    };
    for (const auto& c : cases) {
        const auto document = parse(oneList("<listasal><salida>" + c.xml + "</salida></listasal>"));
        const auto records = selectRecords(document, "AULAS");
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].value(0), c.value) << c.xml;
        EXPECT_EQ(records[0].value(1), "") << c.xml;
        EXPECT_EQ(records[0].value(1000), "") << c.xml;
    }
}

TEST(InputRecordsTest, OnlyDirectSalidaChildrenAreFields)
{
    const auto document
        = parse(oneList("<listasal><salida>a</salida><otro>x</otro><grupo><salida>y</salida></grupo>"
                        "<salida>b</salida></listasal>"));
    const auto records = selectRecords(document, "AULAS");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fieldCount(), 2u);
    EXPECT_EQ(records[0].value(1), "b");
}

TEST(InputRecordsTest, KeyedValuesKeepTheirKeysUntrimmedAndSkipSalidasWithoutDato)
{
    const auto document
        = parse(oneList("<listasal><salida dato=\" NOMBRE \"> L1 </salida><salida>sin clave</salida>"
                        "<salida dato=\"\">vacía</salida><salida dato=\"DÍA\">L2</salida></listasal>"));
    const auto records = selectRecords(document, "AULAS");
    ASSERT_EQ(records.size(), 1u);
    const auto values = records[0].keyedValues();
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].key, " NOMBRE ");
    EXPECT_EQ(values[0].value, "L1");
    EXPECT_EQ(values[1].key, "");
    EXPECT_EQ(values[1].value,
        "vac\xED"
        "a");
    EXPECT_EQ(values[2].key,
        "D\xCD"
        "A");
}

TEST(DayLettersTest, LettersAndNumbersGoBothWays)
{
    const std::string letters = "LMXJVSD";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        EXPECT_EQ(dayNumberOf(letters[i]), number);
        EXPECT_EQ(dayLetterOf(number), std::string(1, letters[i]));
    }
    EXPECT_EQ(dayNumberOf('l'), std::nullopt);
    EXPECT_EQ(dayNumberOf('Z'), std::nullopt);
    EXPECT_EQ(dayLetterOf("0"), std::nullopt);
    EXPECT_EQ(dayLetterOf("01"), std::nullopt);
    EXPECT_EQ(dayLetterOf(""), std::nullopt);
}

} // namespace
} // namespace tqz::exchange
