#include "platform/DbfTable.h"

#include "platform/DbfFormat.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/FileNames.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>

namespace tqz::dbf {

namespace {

struct Filter {
    std::string field;
    std::string value;
};

void skipBlanks(std::string_view& text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
}

// FIELD= 'value', a single quote inside the value doubled. Nothing for any other form.
std::optional<Filter> parseFilter(std::string_view expression)
{
    std::string_view rest = expression;
    skipBlanks(rest);
    Filter filter;
    while (!rest.empty() && (std::isalnum(static_cast<unsigned char>(rest.front())) != 0 || rest.front() == '_')) {
        filter.field += rest.front();
        rest.remove_prefix(1);
    }
    skipBlanks(rest);
    if (filter.field.empty() || rest.empty() || rest.front() != '=') {
        return std::nullopt;
    }
    rest.remove_prefix(1);
    skipBlanks(rest);
    if (rest.empty() || rest.front() != '\'') {
        return std::nullopt;
    }
    rest.remove_prefix(1);
    for (;;) {
        const std::size_t quote = rest.find('\'');
        if (quote == std::string_view::npos) {
            return std::nullopt;
        }
        filter.value += rest.substr(0, quote);
        rest.remove_prefix(quote + 1);
        if (rest.empty() || rest.front() != '\'') {
            break;
        }
        filter.value += '\'';
        rest.remove_prefix(1);
    }
    skipBlanks(rest);
    if (!rest.empty()) {
        return std::nullopt;
    }
    return filter;
}

} // namespace

Table::Table(std::filesystem::path folder, std::string name)
    : m_folder(std::move(folder)), m_name(std::move(name))
{
}

Table Table::fromBytes(std::string name, std::string bytes)
{
    Table table({}, std::move(name));
    table.m_memoryBytes = std::move(bytes);
    return table;
}

Table::~Table() = default;
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;

void Table::open(OpenMode mode)
{
    if (isOpen()) {
        return;
    }
    if (m_memoryBytes) {
        m_data = std::make_shared<const TableData>(parseTable(m_name, *m_memoryBytes));
    } else {
        const auto file = files::findIgnoringCase(m_folder, files::tableFileName(m_name));
        if (!file) {
            fail("No existe la tabla '" + m_name + "' en '" + m_folder.string() + "'");
        }
        FileLock lock(*file, mode == OpenMode::Exclusive ? LockMode::Exclusive : LockMode::Shared, m_name);
        m_data = std::make_shared<const TableData>(parseTable(m_name, io::readFile(*file)));
        m_lock = std::move(lock);
    }
    first();
}

void Table::close()
{
    m_data.reset();
    m_lock.reset();
    m_row = 0;
    m_filterField.reset();
    m_filterValue.clear();
    m_filterRows.reset();
    m_indexedField.reset();
    m_rowsByValue.clear();
}

bool Table::isOpen() const
{
    return m_data != nullptr;
}

void Table::requireAllRows() const
{
    requireOpen();
    if (m_data->declaredRows > m_data->rowCount) {
        fail("La tabla '" + m_name + "' está incompleta: su cabecera anuncia " + std::to_string(m_data->declaredRows)
             + " registros y el archivo solo tiene " + std::to_string(m_data->rowCount));
    }
}

const std::vector<FieldInfo>& Table::fields() const
{
    requireOpen();
    return m_data->fields;
}

bool Table::hasField(std::string_view field) const
{
    requireOpen();
    return m_data->findField(field).has_value();
}

void Table::first()
{
    requireOpen();
    seekVisible(0);
}

void Table::next()
{
    requireOpen();
    if (!eof()) {
        seekVisible(m_row + 1);
    }
}

bool Table::eof() const
{
    requireOpen();
    return m_row >= m_data->rowCount;
}

std::size_t Table::recordNumber() const
{
    return eof() ? 0 : m_row + 1;
}

void Table::setFilter(std::string_view expression)
{
    requireOpen();
    const std::optional<Filter> filter = parseFilter(expression);
    if (!filter) {
        fail("El filtro \"" + text::fromAnsi(expression) + "\" de la tabla '" + m_name + "' no es válido");
    }
    // The engine would take a value ending in '*' as a prefix; the look-ups want equality, so the
    // value is compared as it is, '*' included.
    m_filterField = fieldIndex(filter->field);
    m_filterValue = filter->value;
    m_filterRows = indexedRows(*m_filterField, m_filterValue);
    first();
}

// The visible rows whose character field `field` holds `value`, in physical order. The field is
// read once, at its first filter: the result document filters SOLUC once per teacher, and walking
// the whole table each time made that run grow with teachers times lessons. Other kinds of field
// are compared row by row as the cursor reaches them, so a damaged number is reported where the
// walk finds it.
std::optional<std::vector<std::size_t>> Table::indexedRows(std::size_t field, const std::string& value)
{
    if (m_data->fields.at(field).type != 'C') {
        return std::nullopt;
    }
    if (m_indexedField != field) {
        m_rowsByValue.clear();
        for (std::size_t row = 0; row < m_data->rowCount; ++row) {
            if (!m_data->isDeleted(row)) {
                m_rowsByValue[readText(*m_data, row, field)].push_back(row);
            }
        }
        m_indexedField = field;
    }
    const auto found = m_rowsByValue.find(value);
    return found != m_rowsByValue.end() ? found->second : std::vector<std::size_t>();
}

void Table::clearFilter()
{
    m_filterField.reset();
    m_filterValue.clear();
    m_filterRows.reset();
    if (isOpen()) {
        first();
    }
}

std::string Table::text(std::string_view field) const
{
    const std::size_t index = fieldIndex(field);
    requireRow();
    return readText(*m_data, m_row, index);
}

std::int32_t Table::integer(std::string_view field) const
{
    const std::size_t index = fieldIndex(field);
    requireRow();
    return readInteger(*m_data, m_row, index);
}

double Table::number(std::string_view field) const
{
    const std::size_t index = fieldIndex(field);
    requireRow();
    return readNumber(*m_data, m_row, index);
}

std::size_t Table::fieldIndex(std::string_view field) const
{
    requireOpen();
    const std::optional<std::size_t> index = m_data->findField(field);
    if (!index) {
        fail("La tabla '" + m_name + "' no tiene el campo '" + std::string(field) + "'");
    }
    return *index;
}

void Table::requireOpen() const
{
    if (!isOpen()) {
        fail("La tabla '" + m_name + "' no está abierta");
    }
}

void Table::requireRow() const
{
    if (eof()) {
        fail("La tabla '" + m_name + "' no tiene una fila actual");
    }
}

// Moves to the first visible row at or after physical row `from`: not deleted, and passing the
// filter when one is set.
void Table::seekVisible(std::size_t from)
{
    const TableData& data = *m_data;
    if (m_filterRows) {
        const auto next = std::lower_bound(m_filterRows->begin(), m_filterRows->end(), from);
        m_row = next != m_filterRows->end() ? *next : data.rowCount;
        return;
    }
    for (m_row = from; m_row < data.rowCount; ++m_row) {
        if (data.isDeleted(m_row)) {
            continue;
        }
        if (!m_filterField || readText(data, m_row, *m_filterField) == m_filterValue) {
            return;
        }
    }
}

} // namespace tqz::dbf
