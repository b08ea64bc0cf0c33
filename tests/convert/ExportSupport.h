#pragma once

// Helpers for the Zentris-to-Quorvane tests: small exchange documents written inline, the rows of
// a built table as UTF-8 text, and a dump of a table file that golden files hold.

#include "platform/DbfWriter.h"
#include "platform/XmlDocument.h"

#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::test {

// <listasal><salida>a</salida><salida>b</salida>...</listasal>; values are UTF-8 and escaped.
std::string positional(std::initializer_list<std::string_view> values);

// A service document holding one list: <SERVICIO><SALIDAS><listasal seq="NAME">records</...>.
std::string serviceXml(std::string_view listName, std::string_view records);

// A service document with several lists, in the order given.
std::string serviceXml(std::initializer_list<std::pair<std::string_view, std::string>> lists);

xml::Document parseXml(const std::string& xml);

// A table's rows, field name → value as UTF-8 text as our reader reads it back.
using Row = std::map<std::string, std::string>;
std::vector<Row> rowsOf(const dbf::TableWriter& table);

// One field of every row.
std::vector<std::string> columnOf(const dbf::TableWriter& table, std::string_view field);

// The dump of a .DBF file for golden files: a line with the header facts (row count, header and
// record length), a line with the field descriptors, then one line per record with its fields
// between "|", character fields without trailing blanks, numbers without leading ones, text
// decoded from Windows-1252 to UTF-8. The last-update date is left out.
std::string dumpTable(const std::filesystem::path& file);

} // namespace tqz::test
