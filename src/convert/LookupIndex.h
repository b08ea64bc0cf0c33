#pragma once

#include "platform/DbfTable.h"

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tqz::convert {

// A look-up in a working table: the first row, in stored order, whose key fields equal the key
// exactly (same characters, same letter case, as the engine gives the text). The table is walked
// once, at the first look-up, and every later look-up is a hash probe, so a run costs its lessons
// plus the tables' rows rather than their product.
class LookupIndex {
public:
    using TableSource = std::function<dbf::Table&()>;
    using Row = std::vector<std::string>; // the taken fields, in the order asked for

    // `table` gives the open table when the index is first needed.
    LookupIndex(TableSource table, std::vector<std::string_view> keyFields,
        std::vector<std::string_view> takenFields);

    // The taken fields of the first matching row; nothing when no row matches. `key` holds one
    // value per key field.
    const Row* find(std::initializer_list<std::string_view> key);

private:
    void build();

    TableSource m_table;
    std::vector<std::string_view> m_keyFields;
    std::vector<std::string_view> m_takenFields;
    std::optional<std::unordered_map<std::string, Row>> m_rows;
};

} // namespace tqz::convert
