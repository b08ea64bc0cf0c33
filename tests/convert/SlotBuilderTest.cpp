#include "convert/Builders.h"

#include "convert/ExportSupport.h"
#include "exchange/Envelope.h"

#include <gtest/gtest.h>

#include <utility>

namespace tqz::convert {
namespace {

using test::parseXml;
using test::Row;
using test::rowsOf;
using test::serviceXml;

using Salidas = std::vector<std::pair<std::string, std::string>>;

// A keyed record; a key "-" writes the salida without dato.
std::string keyed(const Salidas& salidas)
{
    std::string record = "<listasal>";
    for (const auto& [key, value] : salidas) {
        record += key == "-" ? "<salida>" : "<salida dato=\"" + key + "\">";
        record += value + "</salida>";
    }
    return record + "</listasal>";
}

std::vector<Row> build(const std::string& records)
{
    const auto document = parseXml(serviceXml(exchange::list::kTramos, records));
    return rowsOf(TransformarTramos({ document, "prueba.xml" }));
}

Row slotRow(std::string diho, std::string dia, std::string hora, std::string codDiho = "",
    std::string desde = "", std::string hasta = "", std::string minutos = "")
{
    return { { "DIHO", std::move(diho) }, { "CODDIHO", std::move(codDiho) }, { "DIA", std::move(dia) },
        { "TEXTODIA", "" }, { "HORA", std::move(hora) }, { "HORADESDE", std::move(desde) },
        { "HORAHASTA", std::move(hasta) }, { "MINUTOS", std::move(minutos) } };
}

TEST(TransformarTramosTest, FillsTheFieldsByKey)
{
    const auto rows = build(keyed({ { "NINUTOS", "55" }, { "FIN", "09:10" }, { "INICIO", "08:15" },
        { "NOMBRE", "L1" }, { "CODIGO_ZENTRIS", "TR101" } }));
    EXPECT_EQ(rows, (std::vector<Row> { slotRow("L1", "1", "1", "TR101", "08:15", "09:10", "55") }));
}

TEST(TransformarTramosTest, TheDayAndPeriodComeFromTheSlotName)
{
    struct Case {
        std::string name;
        std::string dia;
        std::string hora;
    };
    const std::vector<Case> cases {
        { "L1", "1", "1" },
        { "M4", "2", "4" },
        { "X12", "3", "12" },
        { "J6", "4", "6" },
        { "V2", "5", "2" },
        { "S2", "6", "2" },
        { "D3", "7", "3" },
        { "L123", "1", "12" },
        { "L", "1", "" },
        { "l1", "l", "1" },
        { "Z5", "Z", "5" },
        { "Ñ1", "Ñ", "1" },
        { "", "", "" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            build(keyed({ { "NOMBRE", c.name } })), (std::vector<Row> { slotRow(c.name, c.dia, c.hora) }))
            << c.name;
    }
}

TEST(TransformarTramosTest, ALaterSalidaWinsOverAnEarlierOneForTheSameField)
{
    EXPECT_EQ(build(keyed({ { "NOMBRE", "L1" }, { "DIA", "M2" } })),
        (std::vector<Row> { slotRow("M2", "2", "2") }));
    EXPECT_EQ(build(keyed({ { "DIA", "M2" }, { "NOMBRE", "L1" } })),
        (std::vector<Row> { slotRow("L1", "1", "1") }));
    EXPECT_EQ(build(keyed({ { "NOMBRE", "L1" }, { "INICIO", "08:00" }, { "INICIO", "08:15" } })),
        (std::vector<Row> { slotRow("L1", "1", "1", "", "08:15") }));
}

TEST(TransformarTramosTest, KeysMatchExactlyAndOthersAreIgnored)
{
    for (const std::string key : { "MINUTOS", "nombre", " NOMBRE", "NOMBRE ", "Nombre", "-", "" }) {
        EXPECT_EQ(build(keyed({ { key, "L1" } })), (std::vector<Row> { slotRow("", "", "") }))
            << "[" << key << "]";
    }
}

TEST(TransformarTramosTest, EveryRecordGivesARowWhateverItsFields)
{
    EXPECT_EQ(build("<listasal/>" + keyed({ { "NOMBRE", "  V6 \n" } })
                  + keyed({ { "-", "L1" }, { "NOMBRE", "X1" } })),
        (std::vector<Row> { slotRow("", "", ""), slotRow("V6", "5", "6"), slotRow("X1", "3", "1") }));
}

TEST(TransformarTramosTest, ValuesStayTextAndAreCutToTheirWidths)
{
    const auto rows = build(keyed({ { "NOMBRE", "Lunes 1ª hora" }, { "INICIO", "8.15 h." },
        { "FIN", "nueve y diez" }, { "NINUTOS", "cincuenta" }, { "CODIGO_ZENTRIS", "TRAMO-LUNES-1" } }));
    EXPECT_EQ(rows,
        (std::vector<Row> {
            slotRow("Lunes 1ª h", "1", "un", "TRAMO-LUNE", "8.15 h.", "nueve y", "cincuent") }));
}

} // namespace
} // namespace tqz::convert
