// Parsing of a table's header and field descriptors. Real files are often slightly damaged (a
// stale record count, no terminator, padding, garbage in reserved bytes); whatever still tells
// where the records and fields are is accepted, and anything that does not is refused.

#include "platform/DbfFormat.h"

#include "platform/Error.h"

#include <algorithm>
#include <array>

namespace tqz::dbf {

namespace {

using namespace layout;

constexpr std::uint8_t kDbase2 = 0x02;

struct RawField {
    std::string name;
    char type = 'C';
    std::size_t width = 0;
    std::uint8_t decimals = 0;
    std::uint8_t flags = 0;
};

std::uint8_t byteAt(std::string_view bytes, std::size_t offset)
{
    return static_cast<std::uint8_t>(bytes[offset]);
}

std::size_t u16At(std::string_view bytes, std::size_t offset)
{
    return std::size_t{byteAt(bytes, offset)} | (std::size_t{byteAt(bytes, offset + 1)} << 8U);
}

std::size_t u32At(std::string_view bytes, std::size_t offset)
{
    return u16At(bytes, offset) | (u16At(bytes, offset + 2) << 16U);
}

[[noreturn]] void failDamaged(const std::string& table, const std::string& reason)
{
    fail("La tabla '" + table + "' está dañada: " + reason);
}

Dialect dialectOf(std::uint8_t version)
{
    if (version == 0x30 || version == 0x31 || version == 0x32) {
        return Dialect::FoxPro;
    }
    return (version & 0x07U) == 4 ? Dialect::Level7 : Dialect::Dbase;
}

// The version bytes dBase, FoxPro, Clipper and their successors write, and 0x00, which one
// FoxPro writer leaves by mistake in tables that are otherwise sound. Any other first byte means
// the file is something else, or the layout of its header is anybody's guess.
bool isKnownVersion(std::uint8_t version)
{
    static constexpr std::array<std::uint8_t, 17> kKnown{0x00, 0x03, 0x04, 0x05, 0x30, 0x31, 0x32, 0x43, 0x63,
                                                         0x83, 0x8B, 0x8C, 0x8E, 0xCB, 0xE5, 0xF5, 0xFB};
    return std::find(kKnown.begin(), kKnown.end(), version) != kKnown.end();
}

std::string hexByte(std::uint8_t value)
{
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    return std::string("0x") + kDigits[value >> 4U] + kDigits[value & 0x0FU];
}

// Byte 15 flags an encrypted table from dBase IV on; FoxPro keeps it reserved.
bool isDbaseIvOrLater(std::uint8_t version)
{
    const bool foxPro = version == 0xF5 || version == 0xFB || dialectOf(version) == Dialect::FoxPro;
    return !foxPro && (version & 0x07U) >= 3;
}

// Field names are ASCII, NUL-padded; a descriptor whose name does not look like one is not a
// descriptor.
bool looksLikeName(std::string_view nameBytes)
{
    if (nameBytes.empty() || byteAt(nameBytes, 0) <= 0x20 || byteAt(nameBytes, 0) >= 0x7F) {
        return false;
    }
    const std::string_view name = nameBytes.substr(0, nameBytes.find('\0'));
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::string nameOf(std::string_view nameBytes)
{
    std::string_view name = nameBytes.substr(0, nameBytes.find('\0'));
    while (!name.empty() && name.back() == ' ') {
        name.remove_suffix(1);
    }
    return std::string(name);
}

// Level-7 tables keep a 68-byte header and 48-byte descriptors; a version byte of level 7 alone
// does not prove it (some writers use it with the common layout), the terminator must be where
// that layout puts it.
bool hasLevel7Layout(std::string_view bytes, std::size_t headerLength)
{
    for (std::size_t at = kLevel7HeaderSize; at < headerLength && at < bytes.size();
         at += kLevel7DescriptorSize) {
        if (bytes[at] == kTerminator) {
            return at > kLevel7HeaderSize;
        }
        if (at + kLevel7DescriptorSize > headerLength ||
            !looksLikeName(bytes.substr(at, kLevel7NameSize))) {
            return false;
        }
    }
    return false;
}

std::vector<RawField> readLevel7Descriptors(std::string_view bytes, std::size_t headerLength)
{
    std::vector<RawField> fields;
    for (std::size_t at = kLevel7HeaderSize; at < headerLength && bytes[at] != kTerminator;
         at += kLevel7DescriptorSize) {
        fields.push_back({nameOf(bytes.substr(at, kLevel7NameSize)), bytes[at + kLevel7Type],
                          byteAt(bytes, at + kLevel7Width), byteAt(bytes, at + kLevel7Decimals), 0});
    }
    return fields;
}

// Descriptors run to the terminator; a file without one ends them at the header length. A
// descriptor with an empty name marks the end too (padding where the terminator was lost).
std::vector<RawField> readDescriptors(std::string_view bytes, std::size_t headerLength)
{
    std::vector<RawField> fields;
    for (std::size_t at = kHeaderSize; at + kDescriptorSize <= headerLength; at += kDescriptorSize) {
        if (bytes[at] == kTerminator || bytes[at] == '\0') {
            break;
        }
        fields.push_back({nameOf(bytes.substr(at, kNameSize)), bytes[at + kType],
                          byteAt(bytes, at + kWidth), byteAt(bytes, at + kDecimals),
                          byteAt(bytes, at + kFieldFlags)});
    }
    return fields;
}

std::size_t sumOfWidths(const std::vector<RawField>& fields)
{
    std::size_t sum = 0;
    for (const RawField& field : fields) {
        sum += field.width;
    }
    return sum;
}

// Clipper and FoxPro keep the high byte of a long character field's width in the decimals byte.
// Other writers leave garbage there, so the rule applies only when it makes the record add up.
void applyLongCharacterWidths(std::vector<RawField>& fields, std::size_t recordLength)
{
    std::vector<RawField> widened = fields;
    for (RawField& field : widened) {
        if (field.type == 'C' && field.decimals != 0) {
            field.width += std::size_t{field.decimals} << 8U;
            field.decimals = 0;
        }
    }
    if (sumOfWidths(fields) + 1 != recordLength && sumOfWidths(widened) + 1 == recordLength) {
        fields = std::move(widened);
    }
}

codepage::CodePage codePageOf(std::string_view bytes, bool level7Layout)
{
    const std::uint8_t driver = byteAt(bytes, kLanguageDriver);
    if (level7Layout && driver == 0) {
        // Level-7 tables may name their driver instead of numbering it.
        const std::string_view name = bytes.substr(kDriverName, kDriverNameSize);
        if (name.starts_with("DB437")) {
            return codepage::CodePage::Dos437;
        }
        if (name.starts_with("DB850")) {
            return codepage::CodePage::Dos850;
        }
        if (name.starts_with("DB852")) {
            return codepage::CodePage::Dos852;
        }
        if (name.starts_with("DB866")) {
            return codepage::CodePage::Dos866;
        }
    }
    return codepage::fromLanguageDriver(driver);
}

void checkHeader(const TableData& table)
{
    const std::string_view bytes = table.bytes;
    if (bytes.size() < kHeaderSize) {
        failDamaged(table.name, "el archivo solo tiene " + std::to_string(bytes.size()) + " bytes");
    }
    if (byteAt(bytes, kVersion) == kDbase2) {
        fail("La tabla '" + table.name + "' tiene el formato de dBase II, que no se puede leer");
    }
    if (!isKnownVersion(byteAt(bytes, kVersion))) {
        fail("La tabla '" + table.name + "' tiene una versión de dBase desconocida (" +
             hexByte(byteAt(bytes, kVersion)) + ") y no se puede leer");
    }
    if (isDbaseIvOrLater(byteAt(bytes, kVersion)) && byteAt(bytes, kEncrypted) != 0) {
        fail("La tabla '" + table.name + "' está cifrada y no se puede leer");
    }
    if (table.headerLength < kHeaderSize + kDescriptorSize) {
        failDamaged(table.name, "la longitud de la cabecera (" + std::to_string(table.headerLength) +
                                    ") no es válida");
    }
    if (table.headerLength > bytes.size()) {
        failDamaged(table.name, "el archivo termina dentro de la cabecera");
    }
    if (table.recordLength == 0) {
        failDamaged(table.name, "la longitud de los registros es 0");
    }
}

// Visible fields get their offsets, binary flags and null-flag bits; the Visual FoxPro system
// field _NullFlags is located but not shown. Descriptor offsets are garbage in many files and are
// never used.
void layOutFields(TableData& table, const std::vector<RawField>& rawFields)
{
    const bool foxPro = table.dialect == Dialect::FoxPro;
    std::size_t offset = 1;
    std::size_t nextBit = 0;
    for (const RawField& raw : rawFields) {
        const bool system = raw.type == '0' || (foxPro && (raw.flags & kSystemField) != 0);
        if (raw.type == '0' && table.nullFlagsWidth == 0) {
            table.nullFlagsOffset = offset;
            table.nullFlagsWidth = raw.width;
        }
        if (!system) {
            FieldLayout field{{raw.name, raw.type, raw.width, raw.decimals}, offset, raw.type == 'Q', {}, {}};
            if (foxPro) {
                field.binary = field.binary || (raw.flags & kBinaryField) != 0;
                // The varchar length bit comes before the field's null bit.
                if (raw.type == 'V' || raw.type == 'Q') {
                    field.lengthBit = nextBit++;
                }
                if ((raw.flags & kNullableField) != 0) {
                    field.nullBit = nextBit++;
                }
            }
            table.fields.push_back(field.info);
            table.layouts.push_back(std::move(field));
        }
        offset += raw.width;
    }
}

// Whole records present: never more than the file holds, whatever the header claims, and none
// after an end-of-file mark.
std::size_t countRows(const TableData& table)
{
    const std::size_t claimed = table.declaredRows;
    const std::size_t present = (table.bytes.size() - table.headerLength) / table.recordLength;
    const std::size_t count = std::min(claimed, present);
    for (std::size_t row = 0; row < count; ++row) {
        if (table.bytes[table.headerLength + row * table.recordLength] == kEndOfFile) {
            return row;
        }
    }
    return count;
}

} // namespace

TableData parseTable(std::string name, std::string bytes)
{
    TableData table;
    table.name = std::move(name);
    table.bytes = std::move(bytes);
    if (table.bytes.size() >= kHeaderSize) {
        table.dialect = dialectOf(byteAt(table.bytes, kVersion));
        table.headerLength = u16At(table.bytes, kHeaderLength);
        table.recordLength = u16At(table.bytes, kRecordLength);
        table.declaredRows = u32At(table.bytes, kRecordCount);
    }
    checkHeader(table);
    const bool level7Layout = table.dialect == Dialect::Level7 && hasLevel7Layout(table.bytes, table.headerLength);
    std::vector<RawField> rawFields = level7Layout ? readLevel7Descriptors(table.bytes, table.headerLength)
                                                   : readDescriptors(table.bytes, table.headerLength);
    if (rawFields.empty()) {
        failDamaged(table.name, "no tiene campos");
    }
    if (!level7Layout) {
        applyLongCharacterWidths(rawFields, table.recordLength);
    }
    if (sumOfWidths(rawFields) + 1 > table.recordLength) {
        failDamaged(table.name, "los campos ocupan " + std::to_string(sumOfWidths(rawFields) + 1) +
                                    " bytes y los registros solo " + std::to_string(table.recordLength));
    }
    table.codePage = codePageOf(table.bytes, level7Layout);
    layOutFields(table, rawFields);
    table.rowCount = countRows(table);
    return table;
}

} // namespace tqz::dbf
