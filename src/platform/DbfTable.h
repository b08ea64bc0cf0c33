#pragma once

// Reads dBase tables as the timetabling program may write them: versions 0x03, 0x83, 0x8B, 0xF5,
// 0x30-0x32, 0x43, 0x63, 0xCB, 0x04 and 0x8C, 32- and 48-byte field descriptors, every field type
// (memo and system fields read as empty), VFP null flags, text decoded by the language driver
// into ANSI text. Rows marked deleted are not visible. A damaged file is read as far as it makes
// sense; a truncated or nonsensical one is refused with a message naming the table.

#include "platform/FileLock.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tqz::dbf {

struct FieldInfo {
    std::string name;        // as stored, upper case in every table the tool writes
    char type = 'C';         // the dBase type letter
    std::size_t width = 0;
    std::uint8_t decimals = 0;
};

class TableData;  // the parsed file, shared by the cursor

enum class OpenMode { Exclusive, Shared };

class Table {
public:
    // Table `name` (without extension) in `folder`; its file is found without regard to letter
    // case (see files::tablePath). Nothing is read until open().
    Table(std::filesystem::path folder, std::string name);
    // A table held in memory (a table just built, or bytes under test); open() reads nothing.
    static Table fromBytes(std::string name, std::string bytes);
    ~Table();
    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;

    // Opening an open table, or closing a closed one, does nothing. An exclusive open keeps every
    // other opener out until close(); a shared open keeps out only exclusive openers. Opening a
    // table that does not exist, or one held by another program, fails naming the table.
    void open(OpenMode mode = OpenMode::Exclusive);
    void close();
    bool isOpen() const;

    const std::string& name() const { return m_name; }
    // Fails when the header counts more rows than the file holds: the file was cut short, or its
    // count is garbage. The rows that are there stay readable, but a conversion that must not
    // lose any asks for this.
    void requireAllRows() const;
    // The fields in table order, without hidden system fields (_NullFlags). Field names are
    // matched exactly, or without regard to ASCII letter case when no name matches exactly.
    const std::vector<FieldInfo>& fields() const;
    bool hasField(std::string_view field) const;

    // Cursor over the visible rows (not deleted, passing the filter).
    void first();
    void next();
    bool eof() const;
    // 1-based physical position of the current row in the file, for messages; 0 at the end.
    std::size_t recordNumber() const;

    // An equality filter of the form  FIELD= 'value'  (a single quote inside the value doubled).
    // The comparison is exact and case-sensitive on the field's text; a value ending in "*" matches
    // only itself. Setting or clearing a filter leaves the cursor on the first visible row;
    // closing the table clears it.
    void setFilter(std::string_view expression);
    void clearFilter();

    // The current row's field. Text: character fields without trailing blanks (leading blanks
    // kept); a whole number gives its plain decimal form ("3" for "  3" or "3.0000"); an empty
    // field reads as "", a logical as "T" or "F", a date as "YYYYMMDD" (a date-time adds
    // " HH:MM:SS"). Integer: numbers must be whole; text follows the text-to-integer rules;
    // empty reads as 0. Float: text is read as a number ("1,5" too); empty reads as 0. NULL,
    // memo and unset fields are empty. An unknown field, a value that is not what its type
    // stores, and reading past the last row fail naming table (and field and record).
    std::string text(std::string_view field) const;
    std::int32_t integer(std::string_view field) const;
    double number(std::string_view field) const;

private:
    std::size_t fieldIndex(std::string_view field) const;
    void requireOpen() const;
    void requireRow() const;
    void seekVisible(std::size_t from);
    std::optional<std::vector<std::size_t>> indexedRows(std::size_t field, const std::string& value);

    std::filesystem::path m_folder;
    std::string m_name;
    std::shared_ptr<const TableData> m_data;
    std::optional<std::string> m_memoryBytes;
    std::optional<FileLock> m_lock;
    std::size_t m_row = 0;             // physical index of the current row; == count at the end
    std::optional<std::size_t> m_filterField;
    std::string m_filterValue;
    // The rows passing the filter, when its field is indexed.
    std::optional<std::vector<std::size_t>> m_filterRows;
    // The visible rows of each value of one character field, built at the first filter on it and
    // kept until the table closes.
    std::optional<std::size_t> m_indexedField;
    std::unordered_map<std::string, std::vector<std::size_t>> m_rowsByValue;
};

} // namespace tqz::dbf
