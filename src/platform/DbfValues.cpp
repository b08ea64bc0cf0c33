// Decoding of stored field values into the text and numbers the conversions read. Values are
// ANSI text; messages are UTF-8, so values quoted in them are converted.

#include "platform/DbfFormat.h"

#include "platform/DbfDecimal.h"
#include "platform/DbfTimestamp.h"
#include "platform/Error.h"
#include "platform/Text.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace tqz::dbf {

namespace {

using namespace layout;

enum class Kind { Empty, Text, Number, Logical, Date };

struct Value {
    Kind kind = Kind::Empty;
    std::string text;  // Number: the plain decimal form; Logical: "T" or "F"
};

struct Cell {
    const TableData& table;
    std::size_t index = 0;
    const FieldLayout& field;
    std::string_view record;
    std::size_t row = 0;

    std::string_view stored() const { return record.substr(field.offset, field.info.width); }
    std::string describe() const;
};

// "El campo 'DIA' del registro 3 de la tabla 'SOLUC'", the start of a message about one value.
std::string describeValue(const TableData& table, std::size_t row, std::size_t field)
{
    return "El campo '" + text::fromAnsi(table.layouts.at(field).info.name) + "' del registro " +
           std::to_string(row + 1) + " de la tabla '" + table.name + "'";
}

std::string Cell::describe() const
{
    return describeValue(table, row, index);
}

[[noreturn]] void failWidth(const Cell& cell)
{
    fail("El campo '" + text::fromAnsi(cell.field.info.name) + "' de la tabla '" + cell.table.name +
         "' tiene un ancho que no corresponde a su tipo");
}

std::uint64_t littleEndian(std::string_view bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size(); i > 0; --i) {
        value = (value << 8U) | static_cast<std::uint8_t>(bytes[i - 1]);
    }
    return value;
}

std::uint64_t bigEndian(std::string_view bytes)
{
    std::uint64_t value = 0;
    for (const char c : bytes) {
        value = (value << 8U) | static_cast<std::uint8_t>(c);
    }
    return value;
}

bool allZero(std::string_view bytes)
{
    return bytes.find_first_not_of('\0') == std::string_view::npos;
}

bool flagBit(const Cell& cell, std::optional<std::size_t> bit)
{
    const std::size_t byteIndex = bit ? *bit / 8 : 0;
    if (!bit || byteIndex >= cell.table.nullFlagsWidth) {
        return false;
    }
    const auto flags = static_cast<std::uint8_t>(cell.record[cell.table.nullFlagsOffset + byteIndex]);
    return ((flags >> (*bit % 8)) & 1U) != 0;
}

Value textValue(const Cell& cell, std::string_view bytes)
{
    if (bytes.empty()) {
        return {};
    }
    if (cell.field.binary) {
        return {Kind::Text, std::string(bytes)};
    }
    return {Kind::Text, codepage::toAnsi(bytes, cell.table.codePage)};
}

// Visual FoxPro varchar: with its length bit set, the last byte holds the length used.
Value varcharValue(const Cell& cell)
{
    const std::string_view stored = cell.stored();
    if (!stored.empty() && flagBit(cell, cell.field.lengthBit)) {
        const auto used = static_cast<std::uint8_t>(stored.back());
        return textValue(cell, stored.substr(0, std::min<std::size_t>(used, stored.size() - 1)));
    }
    return textValue(cell, storedText(stored));
}

Value decimalValue(const Cell& cell)
{
    decimal::Parsed parsed = decimal::parse(cell.stored());
    if (parsed.status == decimal::Status::Invalid) {
        fail(cell.describe() + " no contiene un número válido: '" +
             codepage::toUtf8(storedText(cell.stored()), cell.table.codePage) + "'");
    }
    if (parsed.status == decimal::Status::Empty) {
        return {};
    }
    return {Kind::Number, std::move(parsed.plain)};
}

Value logicalValue(const Cell& cell)
{
    const std::string_view stored = cell.stored();
    const char c = stored.empty() ? ' ' : stored.front();
    if (std::string_view("TtYy").find(c) != std::string_view::npos) {
        return {Kind::Logical, "T"};
    }
    if (std::string_view("FfNn").find(c) != std::string_view::npos) {
        return {Kind::Logical, "F"};
    }
    // An unset logical is a blank, '?' (python-dbf) or a NUL.
    if (c == ' ' || c == '?' || c == '\0') {
        return {};
    }
    fail(cell.describe() + " no contiene un valor lógico válido");
}

Value dateValue(const Cell& cell)
{
    const std::string_view text = storedText(cell.stored());
    if (text.find_first_not_of(" 0") == std::string_view::npos) {
        return {};
    }
    return {Kind::Date, std::string(text)};
}

Value doubleValue(const Cell& cell, double value)
{
    if (!std::isfinite(value)) {
        fail(cell.describe() + " no contiene un número válido");
    }
    return {Kind::Number, decimal::fromDouble(value)};
}

// Level 7 keeps integers big-endian with the sign bit inverted, so that bytes sort like values.
Value integerValue(const Cell& cell)
{
    const std::string_view stored = cell.stored();
    if (stored.size() != 4) {
        failWidth(cell);
    }
    if (cell.table.dialect == Dialect::Level7) {
        if (allZero(stored)) {
            return {};
        }
        const auto bits = static_cast<std::uint32_t>(bigEndian(stored)) ^ 0x80000000U;
        return {Kind::Number, std::to_string(static_cast<std::int32_t>(bits))};
    }
    const auto bits = static_cast<std::uint32_t>(littleEndian(stored));
    return {Kind::Number, std::to_string(static_cast<std::int32_t>(bits))};
}

// Level 7 doubles are big-endian and order-preserving: positive values carry the sign bit,
// negative ones are stored with every bit inverted.
Value sortableDoubleValue(const Cell& cell)
{
    const std::string_view stored = cell.stored();
    if (stored.size() != 8) {
        failWidth(cell);
    }
    if (allZero(stored)) {
        return {};
    }
    std::uint64_t bits = bigEndian(stored);
    bits = (bits & 0x8000000000000000U) != 0 ? bits & 0x7FFFFFFFFFFFFFFFU : ~bits;
    return doubleValue(cell, std::bit_cast<double>(bits));
}

Value foxDoubleValue(const Cell& cell)
{
    const std::string_view stored = cell.stored();
    if (stored.size() != 8) {
        failWidth(cell);
    }
    return doubleValue(cell, std::bit_cast<double>(littleEndian(stored)));
}

// Currency: a 64-bit integer of ten-thousandths, turned into its plain decimal form exactly.
Value currencyValue(const Cell& cell)
{
    const std::string_view stored = cell.stored();
    if (stored.size() != 8) {
        failWidth(cell);
    }
    const std::uint64_t bits = littleEndian(stored);
    const bool negative = (bits & 0x8000000000000000U) != 0;
    const std::uint64_t magnitude = negative ? ~bits + 1 : bits;
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    const std::string stored4 = (negative ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
    return {Kind::Number, decimal::parse(stored4).plain};
}

Value timestampValue(const Cell& cell)
{
    const std::string_view stored = cell.stored();
    if (stored.size() != 8) {
        failWidth(cell);
    }
    if (allZero(stored)) {
        return {};
    }
    const std::optional<std::string> text =
        cell.field.info.type == 'T'
            ? timestamp::fromJulianDay(static_cast<std::uint32_t>(littleEndian(stored.substr(0, 4))),
                                       static_cast<std::uint32_t>(littleEndian(stored.substr(4, 4))))
            : timestamp::fromMilliseconds(std::bit_cast<double>(bigEndian(stored) & 0x7FFFFFFFFFFFFFFFU));
    if (!text) {
        fail(cell.describe() + " no contiene una fecha válida");
    }
    return {Kind::Date, *text};
}

Value decode(const Cell& cell)
{
    if (flagBit(cell, cell.field.nullBit)) {
        return {};
    }
    switch (cell.field.info.type) {
    case 'N':
    case 'F':
        return decimalValue(cell);
    case 'L':
        return logicalValue(cell);
    case 'D':
        return dateValue(cell);
    case 'I':
    case '+':
        return integerValue(cell);
    case 'O':
        return sortableDoubleValue(cell);
    case 'Y':
        return currencyValue(cell);
    case 'T':
    case '@':
        return timestampValue(cell);
    case 'B':
        // dBase's B is a binary memo; Visual FoxPro's is a double.
        return cell.table.dialect == Dialect::FoxPro ? foxDoubleValue(cell) : Value{};
    case 'M':
    case 'G':
    case 'P':
    case 'W':
        return {};  // memo contents live in another file, which the tool never needs
    case 'V':
    case 'Q':
        return varcharValue(cell);
    default:
        // Character fields, and unknown types kept as their raw text.
        return textValue(cell, storedText(cell.stored()));
    }
}

Value valueAt(const TableData& table, std::size_t row, std::size_t field)
{
    return decode(Cell{table, field, table.layouts.at(field), table.record(row), row});
}

[[noreturn]] void failNotNumeric(const TableData& table, std::size_t field)
{
    fail("El campo '" + text::fromAnsi(table.layouts.at(field).info.name) + "' de la tabla '" + table.name +
         "' no es numérico");
}

} // namespace

std::string_view TableData::record(std::size_t row) const
{
    return std::string_view(bytes).substr(headerLength + row * recordLength, recordLength);
}

bool TableData::isDeleted(std::size_t row) const
{
    return bytes[headerLength + row * recordLength] == kDeleted;
}

std::optional<std::size_t> TableData::findField(std::string_view fieldName) const
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == fieldName) {
            return i;
        }
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (text::asciiLower(fields[i].name) == text::asciiLower(fieldName)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string_view storedText(std::string_view stored)
{
    std::string_view text = stored.substr(0, stored.find('\0'));
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::string readText(const TableData& table, std::size_t row, std::size_t field)
{
    return valueAt(table, row, field).text;
}

std::int32_t readInteger(const TableData& table, std::size_t row, std::size_t field)
{
    const Value value = valueAt(table, row, field);
    switch (value.kind) {
    case Kind::Empty:
        return 0;
    case Kind::Text:
        return text::strToInt(value.text);
    case Kind::Number:
        break;
    default:
        failNotNumeric(table, field);
    }
    const std::string where = describeValue(table, row, field);
    if (!decimal::isWhole(value.text)) {
        fail(where + " no contiene un número entero: '" + value.text + "'");
    }
    const std::optional<std::int32_t> whole = decimal::toInt32(value.text);
    if (!whole) {
        fail(where + " contiene un número entero demasiado grande: '" + value.text + "'");
    }
    return *whole;
}

double readNumber(const TableData& table, std::size_t row, std::size_t field)
{
    const Value value = valueAt(table, row, field);
    switch (value.kind) {
    case Kind::Empty:
        return 0.0;
    case Kind::Number:
        return decimal::toDouble(value.text);
    case Kind::Text: {
        const decimal::Parsed parsed = decimal::parse(value.text);
        if (parsed.status == decimal::Status::Invalid) {
            fail(describeValue(table, row, field) + " no contiene un número válido: '" +
                 text::fromAnsi(value.text) + "'");
        }
        return parsed.status == decimal::Status::Number ? decimal::toDouble(parsed.plain) : 0.0;
    }
    default:
        failNotNumeric(table, field);
    }
}

} // namespace tqz::dbf
