#pragma once

// A table shown to a person: every visible row's fields as text, printed as aligned columns or as
// CSV. Cells are the tool's ANSI text; printing turns them into UTF-8 for the terminal.

#include "platform/DbfTable.h"

#include <ostream>
#include <string>
#include <vector>

namespace tqz::cli {

struct TableListing {
    std::vector<std::string> fieldNames;
    std::vector<bool> numeric; // per field: numbers are aligned to the right
    std::vector<std::vector<std::string>> rows;
};

// Reads every visible row of an open table.
TableListing listTable(dbf::Table& table);

// Header, a rule, the rows, and the row count. Control characters show as blanks, so a value
// never breaks its row.
void printColumns(std::ostream& out, const TableListing& listing);

// RFC 4180: a header row, then one row per record; a cell holding a comma, a double quote or a
// line break is quoted, its quotes doubled.
void printCsv(std::ostream& out, const TableListing& listing);

} // namespace tqz::cli
