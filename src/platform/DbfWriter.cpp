#include "platform/DbfWriter.h"

#include "platform/DbfDecimal.h"
#include "platform/DbfFormat.h"
#include "platform/Error.h"
#include "platform/Text.h"

#include <cmath>
#include <ctime>
#include <limits>

namespace tqz::dbf {

namespace {

using namespace layout;

// dBase III+/IV without memo, and Windows ANSI (1252): the one layout that every reader we know of
// opens and decodes correctly.
constexpr char kVersionWithoutMemo = 0x03;
constexpr char kWindowsAnsiDriver = 0x58;
constexpr std::size_t kMaxNameLength = 10;
constexpr int kMaxTextWidth = 254;
constexpr std::size_t kIntegerWidth = 11;
constexpr std::size_t kFloatWidth = 20;
constexpr std::uint8_t kFloatDecimals = 4;
constexpr std::size_t kMaxLength = std::numeric_limits<std::uint16_t>::max();
constexpr std::size_t kMaxRows = std::numeric_limits<std::uint32_t>::max();

char typeLetter(FieldKind kind)
{
    switch (kind) {
    case FieldKind::Text:
        return 'C';
    case FieldKind::Boolean:
        return 'L';
    default:
        return 'N';
    }
}

bool isNumeric(FieldKind kind)
{
    return kind == FieldKind::Integer || kind == FieldKind::Float;
}

bool isValidName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameLength) {
        return false;
    }
    for (const char c : name) {
        if (c <= ' ' || c >= 0x7F) {
            return false;
        }
    }
    return true;
}

void putLittleEndian(std::string& bytes, std::size_t offset, std::size_t value, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFFU);
    }
}

} // namespace

Date Date::today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

TableWriter::TableWriter(std::string tableName, Schema schema, Date lastUpdate)
    : m_tableName(std::move(tableName)), m_lastUpdate(lastUpdate)
{
    // The header keeps the year as an offset from 1900 in one byte.
    const bool validDate = lastUpdate.year >= 1900 && lastUpdate.year <= 1900 + 255 &&
                           lastUpdate.month >= 1 && lastUpdate.month <= 12 && lastUpdate.day >= 1 &&
                           lastUpdate.day <= 31;
    if (!validDate) {
        fail("La fecha de la tabla '" + m_tableName + "' no es válida");
    }
    if (schema.empty()) {
        fail("La tabla '" + m_tableName + "' no tiene campos");
    }
    for (const FieldDef& def : schema) {
        addField(def);
    }
    if (kHeaderSize + kDescriptorSize * m_fields.size() + 1 > kMaxLength || m_recordLength > kMaxLength) {
        fail("La tabla '" + m_tableName + "' tiene demasiados campos");
    }
    m_row.assign(m_recordLength, ' ');
}

void TableWriter::addField(const FieldDef& def)
{
    if (!isValidName(def.name)) {
        fail("El nombre de campo '" + text::fromAnsi(def.name) + "' de la tabla '" + m_tableName +
             "' no es válido");
    }
    for (const Field& existing : m_fields) {
        if (text::asciiLower(existing.def.name) == text::asciiLower(def.name)) {
            fail("La tabla '" + m_tableName + "' tiene dos campos '" + def.name + "'");
        }
    }
    Field added{def, m_recordLength, 0, 0};
    switch (def.kind) {
    case FieldKind::Text:
        if (def.width < 1 || def.width > kMaxTextWidth) {
            fail("El campo '" + def.name + "' de la tabla '" + m_tableName + "' tiene un ancho no válido (" +
                 std::to_string(def.width) + ")");
        }
        added.width = static_cast<std::size_t>(def.width);
        break;
    case FieldKind::Integer:
        added.width = kIntegerWidth;
        break;
    case FieldKind::Boolean:
        added.width = 1;
        break;
    case FieldKind::Float:
        added.width = kFloatWidth;
        added.decimals = kFloatDecimals;
        break;
    }
    m_recordLength += added.width;
    m_fields.push_back(std::move(added));
}

void TableWriter::append()
{
    if (m_rowStarted && m_rowModified) {
        post();
    }
    m_row.assign(m_recordLength, ' ');
    m_rowStarted = true;
    m_rowModified = false;
}

void TableWriter::setText(std::string_view field, std::string_view value)
{
    const Field& target = fieldOfKind(field, FieldKind::Text, false);
    std::string stored(value.substr(0, target.width));
    stored.resize(target.width, ' ');
    store(target, stored);
}

void TableWriter::setBoolean(std::string_view field, bool value)
{
    store(fieldOfKind(field, FieldKind::Boolean, false), value ? "T" : "F");
}

void TableWriter::setFloat(std::string_view field, double value)
{
    storeNumber(fieldOfKind(field, FieldKind::Float, true), value);
}

void TableWriter::setInteger(std::string_view field, std::int32_t value)
{
    storeNumber(fieldOfKind(field, FieldKind::Integer, true), static_cast<double>(value));
}

std::string TableWriter::readText(std::string_view field) const
{
    const Field& source = this->field(field);
    const std::string_view stored = std::string_view(row()).substr(source.offset, source.width);
    switch (source.def.kind) {
    case FieldKind::Text:
        return std::string(storedText(stored));
    case FieldKind::Boolean:
        return stored == " " ? "" : std::string(stored);
    default:
        return decimal::parse(stored).plain;
    }
}

double TableWriter::readFloat(std::string_view field) const
{
    const Field& source = this->field(field);
    if (source.def.kind == FieldKind::Boolean) {
        failField(source, "no es numérico");
    }
    const std::string value = readText(field);
    const decimal::Parsed parsed = decimal::parse(value);
    if (parsed.status == decimal::Status::Invalid) {
        failField(source, "no contiene un número válido: '" + text::fromAnsi(value) + "'");
    }
    return parsed.status == decimal::Status::Number ? decimal::toDouble(parsed.plain) : 0.0;
}

void TableWriter::post()
{
    if (!m_rowStarted) {
        fail("La tabla '" + m_tableName + "' no tiene ninguna fila en edición");
    }
    if (m_rowCount == kMaxRows) {
        fail("La tabla '" + m_tableName + "' no admite más filas");
    }
    m_records += m_row;
    ++m_rowCount;
    m_rowStarted = false;
    m_rowModified = false;
}

std::string TableWriter::bytes() const
{
    return header() + m_records + kEndOfFile;
}

std::string TableWriter::header() const
{
    const std::size_t headerLength = kHeaderSize + kDescriptorSize * m_fields.size() + 1;
    std::string bytes(headerLength, '\0');
    bytes[kVersion] = kVersionWithoutMemo;
    bytes[kDate] = static_cast<char>(m_lastUpdate.year - 1900);
    bytes[kDate + 1] = static_cast<char>(m_lastUpdate.month);
    bytes[kDate + 2] = static_cast<char>(m_lastUpdate.day);
    putLittleEndian(bytes, kRecordCount, m_rowCount, 4);
    putLittleEndian(bytes, kHeaderLength, headerLength, 2);
    putLittleEndian(bytes, kRecordLength, m_recordLength, 2);
    bytes[kLanguageDriver] = kWindowsAnsiDriver;
    std::size_t at = kHeaderSize;
    for (const Field& field : m_fields) {
        bytes.replace(at, field.def.name.size(), field.def.name);
        bytes[at + kType] = typeLetter(field.def.kind);
        bytes[at + kWidth] = static_cast<char>(field.width);
        bytes[at + kDecimals] = static_cast<char>(field.decimals);
        at += kDescriptorSize;
    }
    bytes[at] = kTerminator;
    return bytes;
}

const TableWriter::Field& TableWriter::field(std::string_view name) const
{
    for (const Field& candidate : m_fields) {
        if (candidate.def.name == name) {
            return candidate;
        }
    }
    for (const Field& candidate : m_fields) {
        if (text::asciiLower(candidate.def.name) == text::asciiLower(name)) {
            return candidate;
        }
    }
    fail("La tabla '" + m_tableName + "' no tiene el campo '" + std::string(name) + "'");
}

const TableWriter::Field& TableWriter::fieldOfKind(std::string_view name, FieldKind kind, bool numeric) const
{
    const Field& found = field(name);
    if (numeric ? !isNumeric(found.def.kind) : found.def.kind != kind) {
        failField(found, kind == FieldKind::Text ? "no es de texto"
                         : numeric             ? "no es numérico"
                                               : "no es lógico");
    }
    return found;
}

std::string& TableWriter::row()
{
    if (!m_rowStarted) {
        fail("La tabla '" + m_tableName + "' no tiene ninguna fila en edición");
    }
    return m_row;
}

const std::string& TableWriter::row() const
{
    if (!m_rowStarted) {
        fail("La tabla '" + m_tableName + "' no tiene ninguna fila en edición");
    }
    return m_row;
}

void TableWriter::store(const Field& field, std::string_view bytes)
{
    row().replace(field.offset, field.width, bytes);
    m_rowModified = true;
}

void TableWriter::storeNumber(const Field& field, double value)
{
    const std::optional<std::string> stored = decimal::format(value, field.decimals, field.width);
    if (!stored) {
        failField(field, std::isfinite(value) ? "no admite el valor " + decimal::fromDouble(value)
                                              : std::string("no admite un valor que no es un número"));
    }
    store(field, *stored);
}

void TableWriter::failField(const Field& field, const std::string& what) const
{
    fail("El campo '" + field.def.name + "' de la tabla '" + m_tableName + "' " + what);
}

} // namespace tqz::dbf
