// Reading the sample tables: every variant a timetabling program may write, other programs'
// output, code pages and damaged files, with the values other readers agree on.

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

namespace tqz::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Fields = std::vector<std::string>;

// The common sample schema and its visible rows (the second record is deleted).
const Fields kSampleFields = {"ABREV C 4 0", "NOMBRE C 20 0", "DNI N 11 0", "ESTAREA L 1 0", "HORAS N 20 4"};
const std::vector<std::string> kFirstRow = {"O'N", "Pe\xF1" "a \xD1" "and\xFA \x80", "42", "T", "2.5"};
const std::vector<std::string> kBlankRow = {"", "", "", "", ""};
const std::vector<std::string> kLastRow = {"ab", "minusculas", "0", "F", "0"};
const Rows kSampleRows = {kFirstRow, kBlankRow, kLastRow};

const Fields kVersionFields = {"A C 4 0", "N N 5 0"};
const Rows kVersionRows = {{"x", "7"}};

struct ReadCase {
    const char* file;
    Fields fields;
    Rows rows;
};

std::string caseName(const testing::TestParamInfo<ReadCase>& param)
{
    std::string name = param.param.file;
    name = name.substr(0, name.find('.'));
    for (char& c : name) {
        if (c == '-') {
            c = '_';
        }
    }
    return name;
}

class SampleTable : public testing::TestWithParam<ReadCase> {};

TEST_P(SampleTable, ReadsFieldsAndVisibleRows)
{
    const ReadCase& c = GetParam();
    dbf::Table table = openBytes("T", dbfSample(c.file));
    EXPECT_EQ(fieldDescriptions(table), c.fields);
    EXPECT_EQ(visibleRows(table), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    CommonSchema, SampleTable,
    testing::Values(ReadCase{"hand-db3-ld03.dbf", kSampleFields, kSampleRows},
                    ReadCase{"hand-db3-ld57.dbf", kSampleFields, kSampleRows},
                    ReadCase{"hand-db3-ld00.dbf", kSampleFields, kSampleRows},
                    ReadCase{"hand-db3-ldAB-unknown.dbf", kSampleFields, kSampleRows},
                    ReadCase{"hand-db3-ld01-cp437.dbf", kSampleFields,
                             {{"O'N", "Pe\xF1" "a \xD1" "and\xFA", "42", "T", "2.5"}, kBlankRow, kLastRow}},
                    ReadCase{"hand-db3-ld02-cp850.dbf", kSampleFields,
                             {{"O'N", "Pe\xF1" "a \xD1" "and\xFA", "42", "T", "2.5"}, kBlankRow, kLastRow}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Damaged, SampleTable,
    testing::Values(ReadCase{"hand-bad-no-eof.dbf", kSampleFields, kSampleRows},
                    ReadCase{"hand-bad-count-high.dbf", kSampleFields, kSampleRows},
                    // The header's count wins when it is the smaller: records beyond it are not the table's.
                    ReadCase{"hand-bad-count-low.dbf", kSampleFields, {kFirstRow}},
                    ReadCase{"hand-bad-trailing-garbage.dbf", kSampleFields, kSampleRows},
                    ReadCase{"hand-bad-garbage-no-eof.dbf", kSampleFields, kSampleRows},
                    ReadCase{"hand-bad-hdr-padded.dbf", kSampleFields, kSampleRows},
                    // The cut-short last record is not a record.
                    ReadCase{"hand-bad-truncated.dbf", kSampleFields, {kFirstRow, kBlankRow}},
                    ReadCase{"hand-bad-year-2digit.dbf", kSampleFields, kSampleRows}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Versions, SampleTable,
    testing::Values(ReadCase{"hand-ver-04.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-05.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-30.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-31.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-32.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-43.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-83.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-8B.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-F5.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-ver-FB.dbf", kVersionFields, kVersionRows},
                    ReadCase{"hand-db7-0x04.dbf",
                             {"ABREV C 4 0", "DNI I 4 0", "HORAS O 8 0", "ESTAREA L 1 0"},
                             {{"O'N", "42", "2.5", "T"}, {"NEG", "-7", "-1.25", "F"}}},
                    ReadCase{"hand-vfp-0x30-nulls.dbf",
                             {"ABREV C 4 0", "DNI I 4 0", "HORAS B 8 0", "ESTAREA L 1 0"},
                             {{"O'N", "42", "2.5", "T"}, {"", "-7", "0", "F"}}},
                    ReadCase{"hand-type-F-in-v03.dbf", {"A C 4 0", "H F 20 4", "I N 11 0"}, {{"x", "2.5", "3"}}},
                    ReadCase{"hand-type-I-in-v03.dbf", {"A C 4 0", "I I 4 0"}, {{"x", "42"}}},
                    ReadCase{"hand-type-N20-in-v03.dbf", {"H N 20 4"}, {{"2.5"}}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    OtherWriters, SampleTable,
    testing::Values(
        ReadCase{"pydbf-db3.dbf",
                 {"ABREV C 4 0", "NOMBRE C 40 0", "DNI N 11 0", "ESTAREA L 1 0", "HORAS N 19 4"},
                 {{"O'N", "Pe\xF1" "a \xD1" "and\xFA", "42", "T", "2.5"}, kBlankRow}},
        ReadCase{"pydbf-clp.dbf",
                 {"ABREV C 4 0", "NOMBRE C 40 0", "DNI N 11 0", "ESTAREA L 1 0", "HORAS N 19 4"},
                 {{"O'N", "Pe\xF1" "a \xD1" "and\xFA", "42", "T", "2.5"}, kBlankRow}},
        ReadCase{"pydbf-fp-version00-bug.dbf",
                 {"ABREV C 4 0", "NOMBRE C 40 0", "DNI N 11 0", "ESTAREA L 1 0", "HORAS F 20 4"},
                 {}},
        ReadCase{"pydbf-vfp.dbf",
                 {"ABREV C 4 0", "NOMBRE C 40 0", "DNI I 4 0", "ESTAREA L 1 0", "HORAS B 8 0", "CAR Y 8 0",
                  "TS T 8 0", "D1 D 8 0"},
                 {{"O'N", "Pe\xF1" "a \xD1" "and\xFA", "42", "T", "2.5", "1.25", "20240301 12:30:00", "20240301"},
                  {"", "", "0", "", "0", "0", "", ""}}},
        ReadCase{"pydbf-vfp-null.dbf", {"ABREV C 4 0", "DNI I 4 0", "NOTA C 3 0"},
                 {{"abc", "5", "x"}, {"", "6", ""}}},
        // GDAL stores logicals as one character and drops deleted rows; 0x57 makes it write
        // ISO-8859-1, where the euro sign became '?'.
        ReadCase{"gdal-default.dbf",
                 {"ABREV C 4 0", "NOMBRE C 20 0", "DNI N 11 0", "ESTAREA C 1 0", "HORAS N 20 4"},
                 {{"O'N", "Pe\xF1" "a \xD1" "and\xFA ?", "42", "T", "2.5"}, kBlankRow, kLastRow}},
        ReadCase{"gdal-cp1252.dbf",
                 {"ABREV C 4 0", "NOMBRE C 20 0", "DNI N 11 0", "ESTAREA C 1 0", "HORAS N 20 4"},
                 {kFirstRow, kBlankRow, kLastRow}},
        // Language driver 0 means Windows ANSI to the engine; the .cpg file beside it is not read.
        ReadCase{"gdal-utf8.dbf",
                 {"ABREV C 4 0", "NOMBRE C 20 0", "DNI N 11 0", "ESTAREA C 1 0", "HORAS N 20 4"},
                 {{"O'N", "Pe\xC3\xB1" "a \xC3\x91" "and\xC3\xBA \xE2\x82\xAC", "42", "T", "2.5"}, kBlankRow,
                  kLastRow}},
        // shapelib fills empty numbers with '*'.
        ReadCase{"shapelib-dbfcreate.dbf", {"ABREV C 4 0", "NOMBRE C 20 0", "DNI N 11 0", "HORAS N 20 4"},
                 {{"O'N", "Pe\xF1" "a", "42", "2.5"}, {"", "", "", ""}}},
        ReadCase{"libreoffice-calc-export.dbf",
                 {"ABREV C 3 0", "NOMBRE C 12 0", "DNI N 2 0", "ESTAREA L 1 0", "HORAS N 4 2"},
                 {kFirstRow, {"ab", "minusculas", "0", "F", "0.25"}}},
        // A NUL logical reads as unset, and a record whose flag byte is neither blank nor '*' is live.
        ReadCase{"hand-odd-logical-nul.dbf", {"NAME C 6 0", "NUM N 8 2", "FLAG L 1 0"},
                 {{"A", "42", "T"}, {"B", "", "F"}, {"C", "1.5", ""}, {"E", "1", "T"}, {"F", "1", ""}}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    OwnLayout, SampleTable,
    testing::Values(
        ReadCase{"recommended-proft.dbf",
                 {"ABREV C 4 0", "NOMBRE C 40 0", "DEPART C 40 0", "DNI N 11 0", "X_EMPLEADO C 10 0",
                  "F_TOMAPOS C 10 0"},
                 {{"O'N", "Jos\xE9 Pe\xF1" "a", "", "", "E123", "01/09/2025"}}},
        ReadCase{"recommended-asignomt.dbf",
                 {"COD C 4 0", "CODLARGO C 8 0", "NOMBRE C 40 0", "MATERIA C 8 0", "ESTAREA L 1 0"},
                 {{"MAT1", "12345678", "Matem\xE1ticas \xD1", "M001", "F"},
                  {"GUAR", "", "Guardia \xABpasillo\xBB \x96 1\xBA", "G01", "T"}}},
        ReadCase{"recommended-asigt-subset.dbf", {"CASIG C 4 0", "HORAS N 20 4", "SESIONES C 20 0"},
                 {{"MAT1", "3.5", "2,1,1"}, {"LEN", "4", ""}}},
        ReadCase{"recommended-empty-aulat.dbf",
                 {"ABREV C 4 0", "NOMBRE C 40 0", "EDIFICIO C 1 0", "MAXALUM N 11 0", "DEPCENTRO C 10 0"},
                 {}}),
    caseName);

// One field holding the bytes 80 A4 F1 under each language driver, read as ANSI text.
struct CodePageCase {
    const char* file;
    const char* text;
};

class LanguageDriver : public testing::TestWithParam<CodePageCase> {};

TEST_P(LanguageDriver, DecodesTextIntoAnsi)
{
    dbf::Table table = openBytes("T", dbfSample(GetParam().file));
    EXPECT_EQ(table.text("T"), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Samples, LanguageDriver,
                         testing::Values(CodePageCase{"hand-ld-00.dbf", "\x80\xA4\xF1"},
                                         CodePageCase{"hand-ld-03.dbf", "\x80\xA4\xF1"},
                                         CodePageCase{"hand-ld-57.dbf", "\x80\xA4\xF1"},
                                         CodePageCase{"hand-ld-58.dbf", "\x80\xA4\xF1"},
                                         CodePageCase{"hand-ld-59.dbf", "\x80\xA4\xF1"},
                                         CodePageCase{"hand-ld-AB.dbf", "\x80\xA4\xF1"},
                                         CodePageCase{"hand-ld-01.dbf", "\xC7\xF1\xB1"},   // Ç ñ ±
                                         CodePageCase{"hand-ld-02.dbf", "\xC7\xF1\xB1"},
                                         CodePageCase{"hand-ld-12.dbf", "\xC7\xF1\xB1"},
                                         CodePageCase{"hand-ld-64.dbf", "\xC7" "A?"},      // Ç Ą ˝
                                         CodePageCase{"hand-ld-26.dbf", "???"},            // А д ё
                                         CodePageCase{"hand-ld-65.dbf", "???"},
                                         CodePageCase{"hand-ld-C8.dbf", "\x80\xA4n"}),     // € ¤ ń
                         [](const testing::TestParamInfo<CodePageCase>& param) {
                             std::string name = param.param.file;
                             return name.substr(8, 2);
                         });

TEST(DbfReader, ReadsNumbersLeniently)
{
    // NUL padding, leading zeros, '*' fill, a comma for the point, NULs for a whole number, a
    // trailing blank; a number with a blank inside is not a number.
    dbf::Table table = openBytes("ODD", dbfSample("hand-odd-values.dbf"));
    EXPECT_EQ(fieldDescriptions(table), (Fields{"NAME C 6 0", "NUM N 8 2", "FLAG L 1 0", "cnt N 5 0"}));
    const std::vector<std::vector<std::string>> expected = {
        {"A", "42", "T", "7"}, {"B", "", "F", ""}, {"C", "1.5", "", ""}, {"D", "-0.5", "", "?"}, {"E", "1", "T", "1"}};
    std::size_t row = 0;
    for (table.first(); !table.eof(); table.next(), ++row) {
        ASSERT_LT(row, expected.size());
        EXPECT_EQ(table.text("NAME"), expected[row][0]);
        EXPECT_EQ(table.text("NUM"), expected[row][1]);
        EXPECT_EQ(table.text("FLAG"), expected[row][2]);
        if (expected[row][3] != "?") {
            EXPECT_EQ(table.text("CNT"), expected[row][3]);
        }
    }
    EXPECT_EQ(row, expected.size());
    table.first();
    EXPECT_EQ(table.integer("NUM"), 42);
    EXPECT_EQ(table.integer("cnt"), 7);
    table.next();
    EXPECT_EQ(table.integer("NUM"), 0);
    EXPECT_EQ(table.number("cnt"), 0.0);
    table.next();
    EXPECT_EQ(table.number("NUM"), 1.5);
    table.next();
    EXPECT_EQ(table.number("NUM"), -0.5);
    EXPECT_EQ(errorOf([&] { (void)table.text("cnt"); }),
              "El campo 'cnt' del registro 4 de la tabla 'ODD' no contiene un número válido: ' 1 2'");
    EXPECT_EQ(errorOf([&] { (void)table.integer("cnt"); }),
              "El campo 'cnt' del registro 4 de la tabla 'ODD' no contiene un número válido: ' 1 2'");
}

TEST(DbfReader, ReadsBinaryNumbersAsNumbers)
{
    dbf::Table level7 = openBytes("T", dbfSample("hand-db7-0x04.dbf"));
    level7.next();
    EXPECT_EQ(level7.integer("DNI"), -7);
    EXPECT_EQ(level7.number("HORAS"), -1.25);
    EXPECT_EQ(errorOf([&] { (void)level7.integer("HORAS"); }),
              "El campo 'HORAS' del registro 2 de la tabla 'T' no contiene un número entero: '-1.25'");

    dbf::Table foxPro = openBytes("T", dbfSample("pydbf-vfp.dbf"));
    EXPECT_EQ(foxPro.integer("DNI"), 42);
    EXPECT_EQ(foxPro.number("HORAS"), 2.5);
    EXPECT_EQ(foxPro.number("CAR"), 1.25);
    EXPECT_EQ(errorOf([&] { (void)foxPro.integer("TS"); }), "El campo 'TS' de la tabla 'T' no es numérico");
    EXPECT_EQ(errorOf([&] { (void)foxPro.number("ESTAREA"); }), "El campo 'ESTAREA' de la tabla 'T' no es numérico");
}

TEST(DbfReader, NullFieldsReadAsEmpty)
{
    dbf::Table table = openBytes("T", dbfSample("hand-vfp-0x30-nulls.dbf"));
    table.next();
    EXPECT_EQ(table.text("ABREV"), "");
    EXPECT_EQ(table.integer("ABREV"), 0);
    EXPECT_FALSE(table.hasField("_NullFlags"));
}

TEST(DbfReader, RefusesTheDbase2Layout)
{
    EXPECT_EQ(errorOf([] { (void)openBytes("SOLUC", dbfSample("hand-ver-02.dbf")); }),
              "La tabla 'SOLUC' tiene el formato de dBase II, que no se puede leer");
}

} // namespace
} // namespace tqz::test
