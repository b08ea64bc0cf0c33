#include "platform/DbfWriter.h"

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace tqz::test {
namespace {

using dbf::FieldKind;
using dbf::Schema;
using dbf::TableWriter;

const dbf::Date kFixedDate{2026, 12, 11};

const Schema kProft = {{"ABREV", FieldKind::Text, 4},       {"NOMBRE", FieldKind::Text, 40},
                       {"DEPART", FieldKind::Text, 40},     {"DNI", FieldKind::Integer, 0},
                       {"X_EMPLEADO", FieldKind::Text, 10}, {"F_TOMAPOS", FieldKind::Text, 10}};
const Schema kAsignomt = {{"COD", FieldKind::Text, 4},
                          {"CODLARGO", FieldKind::Text, 8},
                          {"NOMBRE", FieldKind::Text, 40},
                          {"MATERIA", FieldKind::Text, 8},
                          {"ESTAREA", FieldKind::Boolean, 0}};
const Schema kAulat = {{"ABREV", FieldKind::Text, 4},
                       {"NOMBRE", FieldKind::Text, 40},
                       {"EDIFICIO", FieldKind::Text, 1},
                       {"MAXALUM", FieldKind::Integer, 0},
                       {"DEPCENTRO", FieldKind::Text, 10}};
const Schema kAsigtSubset = {
    {"CASIG", FieldKind::Text, 4}, {"HORAS", FieldKind::Float, 0}, {"SESIONES", FieldKind::Text, 20}};
const Schema kOneOfEach = {{"T", FieldKind::Text, 4},
                           {"I", FieldKind::Integer, 0},
                           {"B", FieldKind::Boolean, 0},
                           {"F", FieldKind::Float, 0}};

// The bytes of the only record of a table with one row, flag byte included.
std::string onlyRecord(const TableWriter& table, std::size_t recordLength)
{
    const std::string bytes = table.bytes();
    return bytes.substr(bytes.size() - 1 - recordLength, recordLength);
}

struct ExactCase {
    const char* sample;
    const char* table;
    const Schema* schema;
    std::function<void(TableWriter&)> fill;
};

class WriterMatchesSample : public testing::TestWithParam<ExactCase> {};

TEST_P(WriterMatchesSample, ByteForByte)
{
    const ExactCase& c = GetParam();
    TableWriter table(c.table, *c.schema, kFixedDate);
    c.fill(table);
    EXPECT_EQ(table.bytes(), dbfSample(c.sample));
}

INSTANTIATE_TEST_SUITE_P(
    Samples, WriterMatchesSample,
    testing::Values(
        ExactCase{"recommended-empty-aulat.dbf", "AULAT", &kAulat, [](TableWriter&) {}},
        ExactCase{"recommended-proft.dbf", "PROFT", &kProft,
                  [](TableWriter& table) {
                      table.append();
                      table.setText("ABREV", "O'N");
                      table.setText("NOMBRE", "Jos\xE9 Pe\xF1" "a");
                      table.setText("X_EMPLEADO", "E123");
                      table.setText("F_TOMAPOS", "01/09/2025");
                      table.post();
                  }},
        ExactCase{"recommended-asignomt.dbf", "ASIGNOMT", &kAsignomt,
                  [](TableWriter& table) {
                      table.append();
                      table.setText("COD", "MAT1");
                      table.setText("CODLARGO", "12345678");
                      table.setText("NOMBRE", "Matem\xE1ticas \xD1");
                      table.setText("MATERIA", "M001");
                      table.setBoolean("ESTAREA", false);
                      table.post();
                      table.append();
                      table.setText("COD", "GUAR");
                      table.setText("NOMBRE", "Guardia \xABpasillo\xBB \x96 1\xBA");
                      table.setText("MATERIA", "G01");
                      table.setBoolean("ESTAREA", true);
                      table.post();
                  }},
        ExactCase{"recommended-asigt-subset.dbf", "ASIGT", &kAsigtSubset,
                  [](TableWriter& table) {
                      table.append();
                      table.setText("CASIG", "MAT1");
                      table.setFloat("HORAS", 3.5);
                      table.setText("SESIONES", "2,1,1");
                      table.post();
                      table.append();
                      table.setText("CASIG", "LEN");
                      table.setFloat("HORAS", 4.0);
                      table.post();
                  }}),
    [](const testing::TestParamInfo<ExactCase>& param) { return std::string(param.param.table); });

TEST(DbfWriter, EmptyTableIsHeaderTerminatorAndEndOfFile)
{
    const TableWriter table("T", kOneOfEach, kFixedDate);
    const std::string bytes = table.bytes();
    std::string expected("\x03\x7E\x0C\x0B", 4);
    expected += std::string(4, '\0');                            // no records
    expected += std::string("\xA1\x00\x25\x00", 4);              // 32 + 4 * 32 + 1, 1 + 4 + 11 + 1 + 20
    expected += std::string(17, '\0');
    expected += '\x58';                                          // Windows ANSI
    expected += std::string(2, '\0');
    const auto descriptor = [](const char* name, char type, char width, char decimals) {
        std::string d(32, '\0');
        d.replace(0, std::char_traits<char>::length(name), name);
        d[11] = type;
        d[16] = width;
        d[17] = decimals;
        return d;
    };
    expected += descriptor("T", 'C', 4, 0) + descriptor("I", 'N', 11, 0) + descriptor("B", 'L', 1, 0) +
                descriptor("F", 'N', 20, 4);
    expected += "\x0D\x1A";
    EXPECT_EQ(bytes, expected);
}

TEST(DbfWriter, UnsetFieldsStayBlankAndTextIsCutToTheWidth)
{
    TableWriter table("T", kOneOfEach, kFixedDate);
    table.append();
    table.post();
    EXPECT_EQ(onlyRecord(table, 37), std::string(37, ' '));

    TableWriter cut("T", kOneOfEach, kFixedDate);
    cut.append();
    cut.setText("T", "ABCDEFG");
    cut.post();
    EXPECT_EQ(onlyRecord(cut, 37).substr(0, 5), " ABCD");
    cut.append();
    cut.setText("T", "ab");
    EXPECT_EQ(cut.readText("T"), "ab");
    cut.setText("T", "  x ");
    EXPECT_EQ(cut.readText("T"), "  x");  // leading blanks stay, trailing ones go
}

struct NumberCase {
    FieldKind kind;
    double value;
    const char* stored;
};

class WriterStoresNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(WriterStoresNumbers, RightAlignedWithTheFieldsDecimals)
{
    const NumberCase& c = GetParam();
    TableWriter table("T", kOneOfEach, kFixedDate);
    table.append();
    const char* field = c.kind == FieldKind::Float ? "F" : "I";
    table.setFloat(field, c.value);
    table.post();
    const std::string record = onlyRecord(table, 37);
    EXPECT_EQ(c.kind == FieldKind::Float ? record.substr(17, 20) : record.substr(5, 11), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WriterStoresNumbers,
    testing::Values(NumberCase{FieldKind::Float, 2.5, "              2.5000"},
                    NumberCase{FieldKind::Float, 0.0, "              0.0000"},
                    NumberCase{FieldKind::Float, -0.25, "             -0.2500"},
                    NumberCase{FieldKind::Float, 1.0 / 3.0, "              0.3333"},
                    NumberCase{FieldKind::Float, -0.00001, "              0.0000"},
                    NumberCase{FieldKind::Float, 123456789012345.0, "123456789012345.0000"},
                    NumberCase{FieldKind::Integer, 42.0, "         42"},
                    NumberCase{FieldKind::Integer, -0.4, "          0"},
                    NumberCase{FieldKind::Integer, 2147483647.0, " 2147483647"},
                    NumberCase{FieldKind::Integer, -2147483648.0, "-2147483648"}));

TEST(DbfWriter, IntegersFillIntegerAndFloatFields)
{
    TableWriter table("T", kOneOfEach, kFixedDate);
    table.append();
    table.setInteger("I", std::numeric_limits<std::int32_t>::min());
    table.setInteger("F", -7);
    table.post();
    EXPECT_EQ(onlyRecord(table, 37).substr(5, 11), "-2147483648");
    EXPECT_EQ(onlyRecord(table, 37).substr(17, 20), "             -7.0000");
}

TEST(DbfWriter, RefusesNumbersThatDoNotFitInsteadOfFillingWithStars)
{
    TableWriter table("ASIGT", kOneOfEach, kFixedDate);
    table.append();
    EXPECT_EQ(errorOf([&] { table.setFloat("F", 1e16); }),
              "El campo 'F' de la tabla 'ASIGT' no admite el valor 10000000000000000");
    EXPECT_EQ(errorOf([&] { table.setFloat("I", 1e11); }),
              "El campo 'I' de la tabla 'ASIGT' no admite el valor 100000000000");
    EXPECT_EQ(errorOf([&] { table.setFloat("F", std::nan("")); }),
              "El campo 'F' de la tabla 'ASIGT' no admite un valor que no es un número");
    EXPECT_EQ(errorOf([&] { table.setFloat("F", HUGE_VAL); }),
              "El campo 'F' de la tabla 'ASIGT' no admite un valor que no es un número");
    table.post();
    EXPECT_EQ(onlyRecord(table, 37), std::string(37, ' '));
}

TEST(DbfWriter, FailsNamingTableAndField)
{
    TableWriter table("PROFT", kOneOfEach, kFixedDate);
    EXPECT_EQ(errorOf([&] { table.setText("T", "x"); }), "La tabla 'PROFT' no tiene ninguna fila en edición");
    EXPECT_EQ(errorOf([&] { table.post(); }), "La tabla 'PROFT' no tiene ninguna fila en edición");
    table.append();
    EXPECT_EQ(errorOf([&] { table.setText("NOPE", "x"); }), "La tabla 'PROFT' no tiene el campo 'NOPE'");
    EXPECT_EQ(errorOf([&] { (void)table.readText("NOPE"); }), "La tabla 'PROFT' no tiene el campo 'NOPE'");
    EXPECT_EQ(errorOf([&] { table.setText("I", "1"); }), "El campo 'I' de la tabla 'PROFT' no es de texto");
    EXPECT_EQ(errorOf([&] { table.setBoolean("T", true); }), "El campo 'T' de la tabla 'PROFT' no es lógico");
    EXPECT_EQ(errorOf([&] { table.setFloat("B", 1); }), "El campo 'B' de la tabla 'PROFT' no es numérico");
    EXPECT_EQ(errorOf([&] { (void)table.readFloat("B"); }), "El campo 'B' de la tabla 'PROFT' no es numérico");
}

TEST(DbfWriter, FieldNamesIgnoreLetterCaseLikeTheEngine)
{
    TableWriter table("T", kOneOfEach, kFixedDate);
    table.append();
    table.setText("t", "x");
    EXPECT_EQ(table.readText("T"), "x");
}

TEST(DbfWriter, ReadsBackTheRowBeingBuilt)
{
    TableWriter table("T", kOneOfEach, kFixedDate);
    table.append();
    EXPECT_EQ(table.readFloat("F"), 0.0);
    EXPECT_EQ(table.readText("F"), "");
    EXPECT_EQ(table.readText("B"), "");
    table.setFloat("F", 0.75);
    table.setInteger("I", 3);
    table.setBoolean("B", true);
    EXPECT_EQ(table.readFloat("F"), 0.75);
    EXPECT_EQ(table.readText("F"), "0.75");
    EXPECT_EQ(table.readText("I"), "3");
    EXPECT_EQ(table.readText("B"), "T");
    table.setFloat("F", 2.0 / 3.0);  // the stored four decimals are what reads back
    EXPECT_EQ(table.readFloat("F"), 0.6667);
    table.setText("T", "1,5");
    EXPECT_EQ(table.readFloat("T"), 1.5);
    table.setText("T", "x");
    EXPECT_EQ(errorOf([&] { (void)table.readFloat("T"); }),
              "El campo 'T' de la tabla 'T' no contiene un número válido: 'x'");
}

TEST(DbfWriter, AppendPostsAModifiedRowAndDropsAnUntouchedOne)
{
    TableWriter table("T", kOneOfEach, kFixedDate);
    table.append();
    table.setText("T", "a");
    table.append();  // posts "a"
    table.append();  // drops the untouched row
    table.setText("T", "b");
    table.post();
    EXPECT_EQ(table.rowCount(), 2U);
    const std::string bytes = table.bytes();
    EXPECT_EQ(bytes[4], 2);
    dbf::Table reread = openBytes("T", bytes);
    EXPECT_EQ(visibleRows(reread), (std::vector<std::vector<std::string>>{{"a", "", "", ""}, {"b", "", "", ""}}));
}

TEST(DbfWriter, WrittenTableReadsBackThroughTheReader)
{
    TableWriter table("T", kOneOfEach, dbf::Date{2155, 1, 31});
    table.append();
    table.setText("T", "\xF1\xD1\x80 extra");
    table.setInteger("I", -5);
    table.setBoolean("B", false);
    table.setFloat("F", 1234.5678);
    table.post();
    const std::string bytes = table.bytes();
    EXPECT_EQ(bytes.substr(1, 3), std::string("\xFF\x01\x1F", 3));
    dbf::Table reread = openBytes("T", bytes);
    EXPECT_EQ(fieldDescriptions(reread), (std::vector<std::string>{"T C 4 0", "I N 11 0", "B L 1 0", "F N 20 4"}));
    EXPECT_EQ(visibleRows(reread), (std::vector<std::vector<std::string>>{{"\xF1\xD1\x80", "-5", "F", "1234.5678"}}));
}

TEST(DbfWriter, RefusesSchemasThatCannotBeWritten)
{
    const auto schemaError = [](Schema schema, dbf::Date date = kFixedDate) {
        return errorOf([&] { TableWriter("T", std::move(schema), date); });
    };
    EXPECT_EQ(schemaError({}), "La tabla 'T' no tiene campos");
    EXPECT_EQ(schemaError({{"ABCDEFGHIJK", FieldKind::Boolean, 0}}),
              "El nombre de campo 'ABCDEFGHIJK' de la tabla 'T' no es válido");
    EXPECT_EQ(schemaError({{"", FieldKind::Boolean, 0}}), "El nombre de campo '' de la tabla 'T' no es válido");
    EXPECT_EQ(schemaError({{"A B", FieldKind::Boolean, 0}}), "El nombre de campo 'A B' de la tabla 'T' no es válido");
    EXPECT_EQ(schemaError({{"A", FieldKind::Boolean, 0}, {"a", FieldKind::Integer, 0}}),
              "La tabla 'T' tiene dos campos 'a'");
    EXPECT_EQ(schemaError({{"A", FieldKind::Text, 0}}), "El campo 'A' de la tabla 'T' tiene un ancho no válido (0)");
    EXPECT_EQ(schemaError({{"A", FieldKind::Text, 255}}),
              "El campo 'A' de la tabla 'T' tiene un ancho no válido (255)");
    EXPECT_EQ(schemaError({{"A", FieldKind::Text, 254}}), "(sin error)");
    EXPECT_EQ(schemaError({{"A", FieldKind::Boolean, 0}}, dbf::Date{1899, 12, 31}),
              "La fecha de la tabla 'T' no es válida");
    EXPECT_EQ(schemaError({{"A", FieldKind::Boolean, 0}}, dbf::Date{2156, 1, 1}),
              "La fecha de la tabla 'T' no es válida");
    Schema wide;
    for (int i = 0; i < 300; ++i) {
        wide.push_back({"F" + std::to_string(i), FieldKind::Text, 254});
    }
    EXPECT_EQ(schemaError(wide), "La tabla 'T' tiene demasiados campos");
}

} // namespace
} // namespace tqz::test
