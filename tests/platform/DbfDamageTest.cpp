// Damaged and unusual tables: what can still be read is read, what cannot is refused with a
// message naming the table, and no input crashes the reader or makes up a row.

#include "DbfTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>

namespace tqz::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

void putU16(std::string& bytes, std::size_t offset, std::size_t value)
{
    bytes[offset] = static_cast<char>(value & 0xFFU);
    bytes[offset + 1] = static_cast<char>((value >> 8U) & 0xFFU);
}

void putU32(std::string& bytes, std::size_t offset, std::uint32_t value)
{
    putU16(bytes, offset, value & 0xFFFFU);
    putU16(bytes, offset + 2, value >> 16U);
}

struct RawField {
    std::string name;
    char type;
    unsigned width;
    unsigned decimals = 0;
    unsigned flags = 0;
};

// A table laid out by hand: header, 32-byte descriptors (48-byte ones for level 7), terminator,
// records as given, end-of-file mark.
std::string rawTable(std::uint8_t version, const std::vector<RawField>& fields, std::size_t recordLength,
                     const std::vector<std::string>& records, std::uint8_t languageDriver = 0x58)
{
    const bool level7 = (version & 7U) == 4;
    const std::size_t descriptorSize = level7 ? 48 : 32;
    std::string bytes(level7 ? 68 : 32, '\0');
    bytes[0] = static_cast<char>(version);
    putU32(bytes, 4, static_cast<std::uint32_t>(records.size()));
    bytes[29] = static_cast<char>(languageDriver);
    for (const RawField& field : fields) {
        std::string descriptor(descriptorSize, '\0');
        descriptor.replace(0, field.name.size(), field.name);
        const std::size_t type = level7 ? 32 : 11;
        descriptor[type] = field.type;
        descriptor[type + (level7 ? 1 : 5)] = static_cast<char>(field.width);
        descriptor[type + (level7 ? 2 : 6)] = static_cast<char>(field.decimals);
        if (!level7) {
            descriptor[18] = static_cast<char>(field.flags);
        }
        bytes += descriptor;
    }
    bytes += '\x0D';
    putU16(bytes, 8, bytes.size());
    putU16(bytes, 10, recordLength);
    for (const std::string& record : records) {
        bytes += record;
    }
    return bytes + '\x1A';
}

struct RefusalCase {
    const char* name;
    std::string bytes;
    std::string message;
};

std::string sampleWith(std::size_t offset, std::string patch, const char* sample = "hand-db3-ld57.dbf")
{
    std::string bytes = dbfSample(sample);
    bytes.replace(offset, patch.size(), patch);
    return bytes;
}

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, NamesTheTable)
{
    EXPECT_EQ(errorOf([] { (void)openBytes("SOLUC", GetParam().bytes); }), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Refusal,
    testing::Values(
        RefusalCase{"Empty", "", "La tabla 'SOLUC' está dañada: el archivo solo tiene 0 bytes"},
        RefusalCase{"ShorterThanAHeader", dbfSample("hand-db3-ld57.dbf").substr(0, 31),
                    "La tabla 'SOLUC' está dañada: el archivo solo tiene 31 bytes"},
        RefusalCase{"HeaderLengthZero", sampleWith(8, std::string(2, '\0')),
                    "La tabla 'SOLUC' está dañada: la longitud de la cabecera (0) no es válida"},
        RefusalCase{"HeaderLengthBeyondTheFile", sampleWith(8, "\xFF\xFF"),
                    "La tabla 'SOLUC' está dañada: el archivo termina dentro de la cabecera"},
        RefusalCase{"CutInsideTheDescriptors", dbfSample("hand-db3-ld57.dbf").substr(0, 100),
                    "La tabla 'SOLUC' está dañada: el archivo termina dentro de la cabecera"},
        RefusalCase{"RecordLengthZero", sampleWith(10, std::string(2, '\0')),
                    "La tabla 'SOLUC' está dañada: la longitud de los registros es 0"},
        RefusalCase{"FieldsWiderThanTheRecord", sampleWith(10, std::string("\x14\x00", 2)),
                    "La tabla 'SOLUC' está dañada: los campos ocupan 57 bytes y los registros solo 20"},
        RefusalCase{"NoFields", sampleWith(32, "\x0D"), "La tabla 'SOLUC' está dañada: no tiene campos"},
        RefusalCase{"Encrypted", sampleWith(15, "\x01"), "La tabla 'SOLUC' está cifrada y no se puede leer"},
        RefusalCase{"Dbase2", sampleWith(0, "\x02"),
                    "La tabla 'SOLUC' tiene el formato de dBase II, que no se puede leer"}),
    [](const testing::TestParamInfo<RefusalCase>& param) { return std::string(param.param.name); });

const Rows kSampleRows = {{"O'N", "Pe\xF1" "a \xD1" "and\xFA \x80", "42", "T", "2.5"},
                          {"", "", "", "", ""},
                          {"ab", "minusculas", "0", "F", "0"}};

Rows rowsOf(std::string bytes)
{
    dbf::Table table = openBytes("T", std::move(bytes));
    return visibleRows(table);
}

TEST(DbfDamage, AHugeRecordCountReadsOnlyTheRecordsPresent)
{
    EXPECT_EQ(rowsOf(sampleWith(4, "\xFF\xFF\xFF\xFF")), kSampleRows);
}

TEST(DbfDamage, GarbageInDescriptorOffsetsIsIgnored)
{
    std::string bytes = dbfSample("hand-db3-ld57.dbf");
    for (std::size_t descriptor = 32; descriptor < 192; descriptor += 32) {
        bytes.replace(descriptor + 12, 4, "\xFF\x13\x37\xFF");
    }
    EXPECT_EQ(rowsOf(bytes), kSampleRows);
}

TEST(DbfDamage, AMissingTerminatorEndsTheDescriptorsAtTheHeaderLength)
{
    std::string bytes = dbfSample("hand-db3-ld57.dbf");
    bytes.erase(192, 1);
    putU16(bytes, 8, 192);
    EXPECT_EQ(rowsOf(bytes), kSampleRows);
}

TEST(DbfDamage, VisualFoxProTablesMayUseTheEncryptionByte)
{
    std::string bytes = dbfSample("hand-ver-30.dbf");
    bytes[15] = 1;
    EXPECT_EQ(rowsOf(bytes), (Rows{{"x", "7"}}));
}

TEST(DbfDamage, AnEndOfFileMarkWhereARecordShouldStartEndsTheTable)
{
    std::string bytes = dbfSample("hand-db3-ld57.dbf");
    bytes[193 + 2 * 57] = '\x1A';
    EXPECT_EQ(rowsOf(bytes), Rows{kSampleRows[0]});
}

TEST(DbfDamage, RecordsLongerThanTheirFieldsAreSteppedByTheHeader)
{
    const std::string bytes = rawTable(0x03, {{"A", 'C', 2}}, 6, {" ab???", " cd!!!"});
    EXPECT_EQ(rowsOf(bytes), (Rows{{"ab"}, {"cd"}}));
}

TEST(DbfDamage, LongCharacterFieldsUseTheDecimalsByteOnlyWhenTheRecordAddsUp)
{
    const std::string text(300, 'x');
    EXPECT_EQ(rowsOf(rawTable(0x03, {{"LONG", 'C', 300 & 0xFF, 300 >> 8}}, 301, {" " + text})), (Rows{{text}}));
    // Here the decimals byte is garbage: the record is as long as the low byte says.
    EXPECT_EQ(rowsOf(rawTable(0x03, {{"A", 'C', 3, 7}, {"B", 'N', 2}}, 6, {" abc 5"})), (Rows{{"abc", "5"}}));
}

TEST(DbfDamage, OnlyTheFieldsReadMatter)
{
    // An unknown type is read as text; a binary integer of width 0 fails only when read.
    dbf::Table table = openBytes(
        "T", rawTable(0x03, {{"RAW", '7', 3}, {"BAD", 'I', 0}, {"MEMO", 'M', 10}, {"OK", 'N', 3}}, 17,
                      {" ab         12  5"}));
    EXPECT_EQ(table.text("RAW"), "ab");
    EXPECT_EQ(table.text("MEMO"), "");
    EXPECT_EQ(table.integer("OK"), 5);
    EXPECT_EQ(errorOf([&] { (void)table.text("BAD"); }),
              "El campo 'BAD' de la tabla 'T' tiene un ancho que no corresponde a su tipo");
}

TEST(DbfDamage, AnUnknownLogicalFailsWhenRead)
{
    dbf::Table table = openBytes("T", rawTable(0x03, {{"A", 'C', 1}, {"L", 'L', 1}}, 3, {" aX"}));
    EXPECT_EQ(table.text("A"), "a");
    EXPECT_EQ(errorOf([&] { (void)table.text("L"); }),
              "El campo 'L' del registro 1 de la tabla 'T' no contiene un valor lógico válido");
}

TEST(DbfDamage, ValuesQuotedInMessagesAreUtf8)
{
    // The table is in code page 437, where A4 is "ñ".
    dbf::Table table = openBytes("T", rawTable(0x03, {{"N", 'N', 3}}, 4, {" 1\xA4" "2"}, 0x01));
    EXPECT_EQ(errorOf([&] { (void)table.number("N"); }),
              "El campo 'N' del registro 1 de la tabla 'T' no contiene un número válido: '1\xC3\xB1" "2'");
}

TEST(DbfDamage, VisualFoxProVarcharsAndNullBits)
{
    // V nullable takes bits 0 (length) and 1 (null); the C nullable after it takes bit 2.
    const std::vector<RawField> fields = {
        {"V", 'V', 6, 0, 0x02}, {"C", 'C', 2, 0, 0x02}, {"_NullFlags", '0', 1, 0, 0x05}};
    const Rows rows = rowsOf(rawTable(0x32, fields, 10,
                                      {std::string(" abc\0\0\x03zz\x01", 10), std::string(" abcdefzz\x00", 10),
                                       std::string(" abcdefzz\x02", 10), std::string(" abcdefzz\x04", 10)}));
    EXPECT_EQ(rows, (Rows{{"abc", "zz"}, {"abcdef", "zz"}, {"", "zz"}, {"abcdef", ""}}));
}

std::string bigEndian64(std::uint64_t value)
{
    std::string bytes(8, '\0');
    for (std::size_t i = 0; i < 8; ++i) {
        bytes[7 - i] = static_cast<char>((value >> (8 * i)) & 0xFFU);
    }
    return bytes;
}

TEST(DbfDamage, Level7TimestampsAndAutoincrements)
{
    // 2024-03-01 12:30:00: day 738946 counted from 1 January of year 1 as day 1.
    const double milliseconds = 738946.0 * 86400000.0 + 45000000.0;
    const std::uint64_t plain = std::bit_cast<std::uint64_t>(milliseconds);
    const std::vector<RawField> fields = {{"TS", '@', 8}, {"ID", '+', 4}};
    dbf::Table table = openBytes(
        "T", rawTable(0x04, fields, 13,
                      {" " + bigEndian64(plain | 0x8000000000000000U) + std::string("\x80\x00\x00\x07", 4),
                       " " + bigEndian64(plain) + std::string(4, '\0'), " " + std::string(12, '\0')}));
    EXPECT_EQ(visibleRows(table),
              (Rows{{"20240301 12:30:00", "7"}, {"20240301 12:30:00", ""}, {"", ""}}));
}

TEST(DbfDamage, Level7DriverNameGivesTheCodePage)
{
    std::string bytes = rawTable(0x04, {{"T", 'C', 3}}, 4, {std::string(" \xA4\xA5\x81", 4)}, 0x00);
    bytes.replace(32, 8, "DB437ES1");
    EXPECT_EQ(rowsOf(bytes), (Rows{{"\xF1\xD1\xFC"}}));
}

TEST(DbfDamage, ImpossibleDatesFailWhenRead)
{
    dbf::Table table = openBytes(
        "T", rawTable(0x30, {{"TS", 'T', 8}}, 9, {std::string(" \xD3\x8A\x25\x00\xFF\xFF\xFF\xFF", 9)}, 0x03));
    EXPECT_EQ(errorOf([&] { (void)table.text("TS"); }),
              "El campo 'TS' del registro 1 de la tabla 'T' no contiene una fecha válida");
}

// Every field of every visible row, read as text and, unless it is text, as numbers (reading text
// as a number is the text rules' business); errors are expected, anything else is not.
void readEverything(const std::string& bytes)
{
    dbf::Table table = dbf::Table::fromBytes("T", bytes);
    try {
        table.open();
    } catch (const Error&) {
        return;
    }
    for (table.first(); !table.eof(); table.next()) {
        for (const dbf::FieldInfo& field : table.fields()) {
            (void)errorOf([&] { (void)table.text(field.name); });
            if (field.type != 'C') {
                (void)errorOf([&] { (void)table.integer(field.name); });
                (void)errorOf([&] { (void)table.number(field.name); });
            }
        }
    }
}

std::vector<std::filesystem::path> allSamples()
{
    std::vector<std::filesystem::path> samples;
    for (const auto& entry : std::filesystem::directory_iterator(testData("dbf"))) {
        if (entry.path().extension() == ".dbf") {
            samples.push_back(entry.path());
        }
    }
    return samples;
}

TEST(DbfDamage, NoPrefixOfASampleBreaksTheReader)
{
    const std::vector<std::filesystem::path> samples = allSamples();
    EXPECT_GT(samples.size(), 50U);
    for (const auto& sample : samples) {
        SCOPED_TRACE(sample.filename().string());
        const std::string bytes = readBytes(sample);
        for (std::size_t length = 0; length <= bytes.size(); ++length) {
            readEverything(bytes.substr(0, length));
        }
    }
}

// Changes in the header, the descriptors and the first records: later records are decoded the
// same way, field by field.
TEST(DbfDamage, NoSingleByteChangeOfASampleBreaksTheReader)
{
    for (const auto& sample : allSamples()) {
        SCOPED_TRACE(sample.filename().string());
        const std::string bytes = readBytes(sample);
        const auto u16 = [&](std::size_t at) {
            return std::size_t{static_cast<std::uint8_t>(bytes[at])} |
                   std::size_t{static_cast<std::uint8_t>(bytes[at + 1])} << 8U;
        };
        const std::size_t end = std::min(bytes.size(), u16(8) + 2 * u16(10) + 1);
        for (std::size_t at = 0; at < end; ++at) {
            for (const char value : {'\0', '\xFF', '\x0D'}) {
                std::string changed = bytes;
                changed[at] = value;
                readEverything(changed);
            }
        }
    }
}

} // namespace
} // namespace tqz::test
