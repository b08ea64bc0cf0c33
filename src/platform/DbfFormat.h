#pragma once

// The on-disk layout of dBase tables, shared by the reader and the writer, and the parsed form of
// a table that the reader's cursor walks. Multi-byte header integers are little-endian.

#include "platform/CodePage.h"
#include "platform/DbfTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::dbf {

namespace layout {
// Main header.
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kVersion = 0;
inline constexpr std::size_t kDate = 1;               // YY (year - 1900), MM, DD
inline constexpr std::size_t kRecordCount = 4;        // u32
inline constexpr std::size_t kHeaderLength = 8;       // u16, up to the first record
inline constexpr std::size_t kRecordLength = 10;      // u16, flag byte included
inline constexpr std::size_t kEncrypted = 15;         // dBase IV and later
inline constexpr std::size_t kLanguageDriver = 29;
// Level 7 (dBase 7): a longer header carrying the language driver's name.
inline constexpr std::size_t kLevel7HeaderSize = 68;
inline constexpr std::size_t kDriverName = 32;
inline constexpr std::size_t kDriverNameSize = 32;
// Field descriptors.
inline constexpr std::size_t kDescriptorSize = 32;
inline constexpr std::size_t kNameSize = 11;          // 10 characters and a NUL
inline constexpr std::size_t kType = 11;
inline constexpr std::size_t kWidth = 16;
inline constexpr std::size_t kDecimals = 17;
inline constexpr std::size_t kFieldFlags = 18;        // Visual FoxPro only
inline constexpr std::size_t kLevel7DescriptorSize = 48;
inline constexpr std::size_t kLevel7NameSize = 32;
inline constexpr std::size_t kLevel7Type = 32;
inline constexpr std::size_t kLevel7Width = 33;
inline constexpr std::size_t kLevel7Decimals = 34;
// Markers.
inline constexpr char kTerminator = 0x0D;
inline constexpr char kEndOfFile = 0x1A;
inline constexpr char kActive = ' ';
inline constexpr char kDeleted = '*';
// Visual FoxPro field flags.
inline constexpr std::uint8_t kSystemField = 0x01;
inline constexpr std::uint8_t kNullableField = 0x02;
inline constexpr std::uint8_t kBinaryField = 0x04;
} // namespace layout

// The family of a table, which decides how binary fields are encoded.
enum class Dialect {
    Dbase,      // dBase III to 5, FoxPro 2, Clipper
    Level7,     // dBase 7: big-endian, order-preserving binary numbers
    FoxPro,     // Visual FoxPro: little-endian binary numbers, null flags
};

struct FieldLayout {
    FieldInfo info;
    std::size_t offset = 0;                   // within the record, after the flag byte
    bool binary = false;                      // stored bytes are not text of the code page
    std::optional<std::size_t> lengthBit;     // varchar: the last byte holds the used length
    std::optional<std::size_t> nullBit;       // nullable: the bit set means NULL
};

class TableData {
public:
    std::string name;
    std::string bytes;
    Dialect dialect = Dialect::Dbase;
    codepage::CodePage codePage = codepage::CodePage::Windows1252;
    std::size_t headerLength = 0;
    std::size_t recordLength = 0;
    std::size_t rowCount = 0;               // whole records present, up to the end-of-file mark
    std::size_t declaredRows = 0;           // the record count of the header
    std::vector<FieldLayout> layouts;       // visible fields, in table order
    std::vector<FieldInfo> fields;          // the same, as callers see them
    std::size_t nullFlagsOffset = 0;        // Visual FoxPro _NullFlags within the record
    std::size_t nullFlagsWidth = 0;

    // The bytes of record `row` (0-based), flag byte first.
    std::string_view record(std::size_t row) const;
    bool isDeleted(std::size_t row) const;
    // The visible field of that name; letter case is ignored when no name matches exactly.
    std::optional<std::size_t> findField(std::string_view fieldName) const;
};

// Parses a whole file. A file that cannot be a dBase table is refused with a message naming the
// table; damage that leaves the data readable is passed over.
TableData parseTable(std::string name, std::string bytes);

// The value of field `field` (index into layouts) in row `row`, by the rules of Table.
std::string readText(const TableData& table, std::size_t row, std::size_t field);
std::int32_t readInteger(const TableData& table, std::size_t row, std::size_t field);
double readNumber(const TableData& table, std::size_t row, std::size_t field);

// A character field's stored bytes as the engine returns them: up to the first NUL (fields are
// NUL-terminated strings to the engine), without trailing blanks, leading blanks kept.
std::string_view storedText(std::string_view stored);

} // namespace tqz::dbf
