#include "cli/TableListing.h"

#include "platform/Text.h"

#include <algorithm>
#include <string_view>

namespace tqz::cli {

namespace {

constexpr std::string_view kNumericTypes = "NFI+OY";
constexpr std::string_view kColumnGap = "  ";

// Control characters and the bytes Windows-1252 leaves undefined would garble a terminal.
std::string displayable(std::string_view ansi)
{
    std::string shown(ansi);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        } else if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) {
            c = '?';
        }
    }
    return shown;
}

// One ANSI byte is one character on the terminal, so widths are counted on the ANSI text.
void printCell(std::string& line, std::string_view ansi, std::size_t width, bool rightAligned)
{
    const std::string padding(width - std::min(width, ansi.size()), ' ');
    const std::string shown = text::fromAnsi(displayable(ansi));
    line += rightAligned ? padding + shown : shown + padding;
}

void printLine(std::ostream& out, std::string line)
{
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
}

std::string csvCell(std::string_view ansi)
{
    const std::string cell = text::fromAnsi(ansi);
    if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        return cell;
    }
    std::string quoted = "\"";
    for (char c : cell) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

void printCsvRow(std::ostream& out, const std::vector<std::string>& cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        out << (i == 0 ? "" : ",") << csvCell(cells[i]);
    }
    out << '\n';
}

} // namespace

TableListing listTable(dbf::Table& table)
{
    TableListing listing;
    for (const auto& field : table.fields()) {
        listing.fieldNames.push_back(field.name);
        listing.numeric.push_back(kNumericTypes.find(field.type) != std::string_view::npos);
    }
    for (table.first(); !table.eof(); table.next()) {
        std::vector<std::string> row;
        row.reserve(listing.fieldNames.size());
        for (const auto& name : listing.fieldNames) {
            row.push_back(table.text(name));
        }
        listing.rows.push_back(std::move(row));
    }
    return listing;
}

void printColumns(std::ostream& out, const TableListing& listing)
{
    std::vector<std::size_t> widths;
    for (const auto& name : listing.fieldNames) {
        widths.push_back(name.size());
    }
    for (const auto& row : listing.rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    std::string header;
    std::string rule;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const std::string_view gap = i == 0 ? "" : kColumnGap;
        header += gap;
        rule += gap;
        printCell(header, listing.fieldNames[i], widths[i], listing.numeric[i]);
        rule += std::string(widths[i], '-');
    }
    printLine(out, header);
    printLine(out, rule);
    for (const auto& row : listing.rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += i == 0 ? "" : kColumnGap;
            printCell(line, row[i], widths[i], listing.numeric[i]);
        }
        printLine(out, line);
    }
    out << '(' << listing.rows.size() << (listing.rows.size() == 1 ? " fila)\n" : " filas)\n");
}

void printCsv(std::ostream& out, const TableListing& listing)
{
    printCsvRow(out, listing.fieldNames);
    for (const auto& row : listing.rows) {
        printCsvRow(out, row);
    }
}

} // namespace tqz::cli
