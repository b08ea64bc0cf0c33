#include "convert/ExportSupport.h"

#include "platform/DbfTable.h"
#include "platform/Text.h"
#include "support/Files.h"

#include <cstdint>
#include <stdexcept>

namespace tqz::test {

namespace {

std::string escaped(std::string_view value)
{
    std::string out;
    for (char c : value) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::size_t littleEndian(std::string_view bytes, std::size_t offset, std::size_t size)
{
    std::size_t value = 0;
    for (std::size_t i = size; i-- > 0;) {
        value = value * 256 + static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

struct Descriptor {
    std::string name;
    char type;
    std::size_t width;
    std::size_t decimals;
};

std::string fieldText(std::string_view raw, char type)
{
    std::string value(raw);
    value.erase(value.find_last_not_of(' ') + 1);
    if (type == 'N') {
        value.erase(0, value.find_first_not_of(' '));
    }
    if (value.find('|') != std::string::npos) {
        throw std::runtime_error("a value holds '|', which the dump uses between fields");
    }
    return text::fromAnsi(value);
}

} // namespace

std::string positional(std::initializer_list<std::string_view> values)
{
    std::string record = "<listasal>";
    for (auto value : values) {
        record += "<salida>" + escaped(value) + "</salida>";
    }
    return record + "</listasal>";
}

std::string serviceXml(std::string_view listName, std::string_view records)
{
    return serviceXml({ { listName, std::string(records) } });
}

std::string serviceXml(std::initializer_list<std::pair<std::string_view, std::string>> lists)
{
    std::string xml = "<SERVICIO><SALIDAS>";
    for (const auto& [name, records] : lists) {
        xml += "<listasal seq=\"" + std::string(name) + "\">" + records + "</listasal>";
    }
    return xml + "</SALIDAS></SERVICIO>";
}

xml::Document parseXml(const std::string& xml)
{
    return xml::Document::parse(xml, "prueba.xml");
}

std::vector<Row> rowsOf(const dbf::TableWriter& table)
{
    auto read = dbf::Table::fromBytes(table.tableName(), table.bytes());
    read.open();
    std::vector<Row> rows;
    for (read.first(); !read.eof(); read.next()) {
        Row row;
        for (const auto& field : read.fields()) {
            row[field.name] = text::fromAnsi(read.text(field.name));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> columnOf(const dbf::TableWriter& table, std::string_view field)
{
    std::vector<std::string> values;
    for (const auto& row : rowsOf(table)) {
        values.push_back(row.at(std::string(field)));
    }
    return values;
}

std::string dumpTable(const std::filesystem::path& file)
{
    const std::string bytes = readBytes(file);
    const std::size_t rows = littleEndian(bytes, 4, 4);
    const std::size_t headerLength = littleEndian(bytes, 8, 2);
    const std::size_t recordLength = littleEndian(bytes, 10, 2);
    std::string dump = "versión " + std::to_string(static_cast<unsigned char>(bytes[0])) + ", idioma "
        + std::to_string(static_cast<unsigned char>(bytes[29])) + ", " + std::to_string(rows)
        + " filas, cabecera " + std::to_string(headerLength) + ", registro " + std::to_string(recordLength)
        + ", fin " + std::to_string(static_cast<unsigned char>(bytes.back())) + "\n";
    std::vector<Descriptor> fields;
    for (std::size_t at = 32; at + 32 <= headerLength && bytes[at] != '\x0D'; at += 32) {
        const std::string name = bytes.substr(at, 11);
        fields.push_back({ name.substr(0, name.find('\0')), bytes[at + 11],
            static_cast<unsigned char>(bytes[at + 16]), static_cast<unsigned char>(bytes[at + 17]) });
        dump += (fields.size() == 1 ? "" : "|") + fields.back().name + " " + fields.back().type
            + std::to_string(fields.back().width) + "." + std::to_string(fields.back().decimals);
    }
    dump += "\n";
    for (std::size_t r = 0; r < rows; ++r) {
        std::size_t at = headerLength + r * recordLength;
        dump += bytes[at++]; // the deletion flag: blank for a live row
        for (const auto& field : fields) {
            dump += "|" + fieldText(std::string_view(bytes).substr(at, field.width), field.type);
            at += field.width;
        }
        dump += "|\n";
    }
    return dump;
}

} // namespace tqz::test
