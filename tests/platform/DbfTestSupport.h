#pragma once

// Helpers of the dBase engine's tests: sample files, and a table's contents as text.

#include "platform/DbfTable.h"
#include "platform/Error.h"
#include "support/Files.h"

#include <string>
#include <vector>

namespace tqz::test {

inline std::string dbfSample(const std::string& name)
{
    return readBytes(testData("dbf/" + name));
}

// "NAME C 4 0" for every field, in table order.
inline std::vector<std::string> fieldDescriptions(const dbf::Table& table)
{
    std::vector<std::string> descriptions;
    for (const dbf::FieldInfo& field : table.fields()) {
        descriptions.push_back(field.name + " " + field.type + " " + std::to_string(field.width) + " " +
                               std::to_string(field.decimals));
    }
    return descriptions;
}

// Every visible row from the first, each field read as text.
inline std::vector<std::vector<std::string>> visibleRows(dbf::Table& table)
{
    std::vector<std::vector<std::string>> rows;
    for (table.first(); !table.eof(); table.next()) {
        std::vector<std::string> row;
        for (const dbf::FieldInfo& field : table.fields()) {
            row.push_back(table.text(field.name));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// A table held in memory, opened.
inline dbf::Table openBytes(const std::string& name, std::string bytes)
{
    dbf::Table table = dbf::Table::fromBytes(name, std::move(bytes));
    table.open();
    return table;
}

// The message of the tqz::Error that `action` raises; "(sin error)" when it raises none.
template <typename Action>
std::string errorOf(Action&& action)
{
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(sin error)";
}

} // namespace tqz::test
