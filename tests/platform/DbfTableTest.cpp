// The table cursor: visible rows, the equality filter, and reading fields as text and numbers.

#include "platform/DbfWriter.h"

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tqz::test {
namespace {

using dbf::FieldKind;

struct LessonRow {
    const char* prof;
    double dia;
    const char* text;
};

// A small SOLUC-like table. Rows are numbered from 1 as in the file; row 2 is marked deleted.
std::string lessonTable()
{
    dbf::TableWriter writer("SOLUC",
                            {{"PROF", FieldKind::Text, 4},
                             {"DIA", FieldKind::Integer, 0},
                             {"HORAS", FieldKind::Float, 0},
                             {"TXT", FieldKind::Text, 6}},
                            dbf::Date{2026, 12, 11});
    const LessonRow rows[] = {{"O'N", 3, "12"}, {"AB", 1, "x"},    {"AB", 2, " 7"},      {"O'N", 0, ""},
                              {"AB*", 5, "$1F"}, {"ab", 6, "1,5"}, {"  AB", 2.5, "3.0"}, {"", 99999999999.0, "x"}};
    for (const LessonRow& row : rows) {
        writer.append();
        writer.setText("PROF", row.prof);
        writer.setFloat("DIA", row.dia);
        writer.setFloat("HORAS", row.dia);
        writer.setText("TXT", row.text);
        writer.post();
    }
    std::string bytes = writer.bytes();
    const std::size_t headerLength = 32 + 4 * 32 + 1;
    const std::size_t recordLength = 1 + 4 + 11 + 20 + 6;
    bytes[headerLength + recordLength] = '*';
    return bytes;
}

class LessonTable : public testing::Test {
protected:
    dbf::Table table = openBytes("SOLUC", lessonTable());

    std::vector<std::size_t> visibleRecordNumbers()
    {
        std::vector<std::size_t> numbers;
        for (; !table.eof(); table.next()) {
            numbers.push_back(table.recordNumber());
        }
        return numbers;
    }
};

TEST_F(LessonTable, DeletedRowsAreInvisible)
{
    EXPECT_EQ(visibleRecordNumbers(), (std::vector<std::size_t>{1, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(table.recordNumber(), 0U);
    table.next();
    EXPECT_TRUE(table.eof());
    table.first();
    EXPECT_EQ(table.recordNumber(), 1U);
}

struct FilterCase {
    const char* expression;
    std::vector<std::size_t> records;
};

class LessonFilter : public LessonTable, public testing::WithParamInterface<FilterCase> {};

TEST_P(LessonFilter, ShowsOnlyRowsWhoseTextEqualsTheValue)
{
    table.next();
    table.next();
    table.setFilter(GetParam().expression);
    EXPECT_EQ(visibleRecordNumbers(), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Expressions, LessonFilter,
    testing::Values(FilterCase{"PROF= 'O''N'", {1, 4}},
                    FilterCase{"PROF= 'AB'", {3}},        // not "ab", "AB*", "  AB" or the deleted row
                    FilterCase{"PROF= 'AB*'", {5}},       // '*' is a character like any other
                    FilterCase{"PROF= '  AB'", {7}},
                    FilterCase{"PROF= ''", {8}},
                    FilterCase{"PROF= 'ZZ'", {}},
                    FilterCase{"PROF='AB'", {3}},
                    FilterCase{"  PROF  =  'AB'  ", {3}},
                    FilterCase{"prof= 'AB'", {3}},
                    FilterCase{"DIA= '2'", {3, 7}},       // a number compares by its plain text
                    FilterCase{"TXT= 'x'", {8}}));

TEST_F(LessonTable, FilterIsSetAnewAndCleared)
{
    table.setFilter("PROF= 'O''N'");
    EXPECT_EQ(table.recordNumber(), 1U);
    table.setFilter("PROF= 'ab'");
    EXPECT_EQ(table.recordNumber(), 6U);
    table.clearFilter();
    EXPECT_EQ(table.recordNumber(), 1U);
    EXPECT_EQ(visibleRecordNumbers().size(), 7U);
    table.setFilter("PROF= 'AB'");
    table.close();
    table.open();
    EXPECT_EQ(visibleRecordNumbers().size(), 7U);  // closing drops the filter
}

TEST_F(LessonTable, RefusesOtherFilterForms)
{
    for (const char* expression : {"PROF = AB", "PROF= 'O'N'", "PROF= 'x", "= 'x'", "PROF<> 'x'", "PROF",
                                   "PROF= 'x' AND DIA= '1'", "PROF= \"x\"", ""}) {
        EXPECT_EQ(errorOf([&] { table.setFilter(expression); }),
                  "El filtro \"" + std::string(expression) + "\" de la tabla 'SOLUC' no es válido");
    }
    EXPECT_EQ(errorOf([&] { table.setFilter("NOPE= 'x'"); }), "La tabla 'SOLUC' no tiene el campo 'NOPE'");
}

struct ReadCase {
    std::size_t record;
    const char* field;
    std::string text;
    std::string integer;  // the value, or the error's message
    std::string number;
};

class LessonRead : public LessonTable, public testing::WithParamInterface<ReadCase> {};

TEST_P(LessonRead, FollowsTheEnginesRules)
{
    const ReadCase& c = GetParam();
    while (!table.eof() && table.recordNumber() != c.record) {
        table.next();
    }
    ASSERT_FALSE(table.eof());
    const auto integer = [&] { return std::to_string(table.integer(c.field)); };
    const auto number = [&] {
        std::ostringstream out;
        out << table.number(c.field);
        return out.str();
    };
    EXPECT_EQ(table.text(c.field), c.text);
    const std::string integerError = errorOf(integer);
    EXPECT_EQ(integerError == "(sin error)" ? integer() : integerError, c.integer);
    const std::string numberError = errorOf(number);
    EXPECT_EQ(numberError == "(sin error)" ? number() : numberError, c.number);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LessonRead,
    testing::Values(
        ReadCase{1, "PROF", "O'N", "'O'N' no es un valor entero válido",
                 "El campo 'PROF' del registro 1 de la tabla 'SOLUC' no contiene un número válido: 'O'N'"},
        ReadCase{1, "DIA", "3", "3", "3"},
        ReadCase{1, "HORAS", "3", "3", "3"},
        ReadCase{1, "TXT", "12", "12", "12"},
        ReadCase{3, "TXT", " 7", "7", "7"},  // leading blanks stay in the text
        ReadCase{4, "DIA", "0", "0", "0"},
        ReadCase{4, "TXT", "", "0", "0"},
        ReadCase{5, "TXT", "$1F", "31",
                 "El campo 'TXT' del registro 5 de la tabla 'SOLUC' no contiene un número válido: '$1F'"},
        ReadCase{6, "TXT", "1,5", "'1,5' no es un valor entero válido", "1.5"},
        ReadCase{7, "PROF", "  AB", "'  AB' no es un valor entero válido",
                 "El campo 'PROF' del registro 7 de la tabla 'SOLUC' no contiene un número válido: '  AB'"},
        ReadCase{7, "DIA", "2", "2", "2"},  // 2.5 rounded to even in a field without decimals
        ReadCase{7, "HORAS", "2.5",
                 "El campo 'HORAS' del registro 7 de la tabla 'SOLUC' no contiene un número entero: '2.5'", "2.5"},
        ReadCase{7, "TXT", "3.0", "'3.0' no es un valor entero válido", "3"},
        ReadCase{8, "PROF", "", "0", "0"},
        ReadCase{8, "DIA", "99999999999",
                 "El campo 'DIA' del registro 8 de la tabla 'SOLUC' contiene un número entero demasiado grande: "
                 "'99999999999'",
                 "1e+11"}));

TEST_F(LessonTable, FailsNamingTheTable)
{
    EXPECT_EQ(errorOf([&] { (void)table.text("NOPE"); }), "La tabla 'SOLUC' no tiene el campo 'NOPE'");
    EXPECT_EQ(errorOf([&] { (void)table.hasField("NOPE"); }), "(sin error)");
    table.setFilter("PROF= 'ZZ'");
    EXPECT_EQ(errorOf([&] { (void)table.text("PROF"); }), "La tabla 'SOLUC' no tiene una fila actual");
    table.close();
    EXPECT_EQ(errorOf([&] { table.first(); }), "La tabla 'SOLUC' no está abierta");
    EXPECT_EQ(errorOf([&] { (void)table.text("PROF"); }), "La tabla 'SOLUC' no está abierta");
    EXPECT_EQ(errorOf([&] { (void)table.fields(); }), "La tabla 'SOLUC' no está abierta");
    EXPECT_EQ(errorOf([&] { table.setFilter("PROF= 'x'"); }), "La tabla 'SOLUC' no está abierta");
}

TEST_F(LessonTable, OpeningAnOpenTableAndClosingAClosedOneDoNothing)
{
    table.next();
    table.open();
    EXPECT_EQ(table.recordNumber(), 3U);
    table.close();
    table.close();
    EXPECT_FALSE(table.isOpen());
    table.open();
    EXPECT_EQ(table.recordNumber(), 1U);
}

TEST_F(LessonTable, MovedTableKeepsItsCursor)
{
    table.next();
    dbf::Table moved = std::move(table);
    EXPECT_EQ(moved.recordNumber(), 3U);
    EXPECT_EQ(moved.text("PROF"), "AB");
}

} // namespace
} // namespace tqz::test
