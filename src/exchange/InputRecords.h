#pragma once

// Reading the input lists of an exchange document: a list's records in document order, and the
// values of a record's `salida` fields, by position or by their `dato` key. Values are the tool's
// 8-bit ANSI text, trimmed of blanks and control characters at both ends.

#include "platform/XmlDocument.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::exchange {

// One `salida` of a keyed record: its `dato` exactly as written (untrimmed) and its value.
struct KeyedValue {
    std::string key;
    std::string value;
};

inline constexpr std::size_t kMinimumPositionalFields = 2;

class InputRecord {
public:
    InputRecord(const xml::Element& element, std::size_t position);

    // 1-based position of the record in its list, counting every record, skipped ones too.
    std::size_t position() const { return m_position; }
    std::size_t fieldCount() const { return m_fields.size(); }
    // The positional lists give no row for a record of fewer than two fields.
    bool isTooShort() const { return m_fields.size() < kMinimumPositionalFields; }

    // The value of the field at `index` (0 is the first `salida`). A record that lacks that
    // position reads it as empty, as if the field were there without text.
    std::string value(std::size_t index) const;

    // Every `salida` that carries a `dato` attribute, in document order. A `salida` without `dato`
    // names no field and is left out, like one whose key is no field key.
    std::vector<KeyedValue> keyedValues() const;

private:
    std::vector<xml::Element> m_fields;
    std::size_t m_position;
};

// The path expression that selects the records of list `listName`:
// /SERVICIO/SALIDAS/listasal[@seq="<listName>"]/listasal
std::string listPath(std::string_view listName);

// The records of list `listName`, in document order. Several lists of that name, or several
// output sections, give one run of records; a document without the list gives none.
std::vector<InputRecord> selectRecords(const xml::Document& document, std::string_view listName);

} // namespace tqz::exchange
