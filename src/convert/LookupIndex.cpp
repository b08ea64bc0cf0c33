#include "convert/LookupIndex.h"

#include <utility>

namespace tqz::convert {

namespace {

// Each part is prefixed with its length, so that two-field keys such as ("AB", "C") and
// ("A", "BC") stay apart whatever bytes the codes hold.
void appendKeyPart(std::string& key, std::string_view part)
{
    key += std::to_string(part.size());
    key += ':';
    key += part;
}

} // namespace

LookupIndex::LookupIndex(
    TableSource table, std::vector<std::string_view> keyFields, std::vector<std::string_view> takenFields)
    : m_table(std::move(table))
    , m_keyFields(std::move(keyFields))
    , m_takenFields(std::move(takenFields))
{
}

const LookupIndex::Row* LookupIndex::find(std::initializer_list<std::string_view> key)
{
    if (!m_rows) {
        build();
    }
    std::string joined;
    for (const auto part : key) {
        appendKeyPart(joined, part);
    }
    const auto found = m_rows->find(joined);
    return found == m_rows->end() ? nullptr : &found->second;
}

void LookupIndex::build()
{
    dbf::Table& table = m_table();
    std::unordered_map<std::string, Row> rows;
    for (table.first(); !table.eof(); table.next()) {
        std::string key;
        for (const auto field : m_keyFields) {
            appendKeyPart(key, table.text(field));
        }
        if (rows.contains(key)) {
            continue; // an earlier row already holds this key and wins
        }
        Row taken;
        taken.reserve(m_takenFields.size());
        for (const auto field : m_takenFields) {
            taken.push_back(table.text(field));
        }
        rows.emplace(std::move(key), std::move(taken));
    }
    m_rows = std::move(rows);
}

} // namespace tqz::convert
