#pragma once

// Builds a dBase III+/IV table without memo in memory, row by row, and writes it whole: version
// 0x03, language driver 0x58 (Windows ANSI), no production index, exact record count, header
// terminator 0x0D and end-of-file 0x1A. Building in memory lets a conversion finish every table
// before any file on disk is touched.

#include "platform/DbfSchema.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::dbf {

struct Date {
    int year = 1900;
    int month = 1;
    int day = 1;
    static Date today();
};

class TableWriter {
public:
    // `tableName` names the table in error messages.
    TableWriter(std::string tableName, Schema schema, Date lastUpdate = Date::today());

    // Starts a new row with every field blank. As in the engine, a row still being built is
    // posted first when a field of it was set, and dropped when none was. Setting a field without
    // a started row fails.
    void append();
    // Text is 8-bit ANSI; longer than the field's width, it is cut to the width. Text goes into
    // text fields, booleans into boolean fields, numbers into integer and float fields (rounded to
    // the field's decimals); a value of the wrong kind, or a number too wide for its field, fails
    // naming table and field.
    void setText(std::string_view field, std::string_view value);
    void setBoolean(std::string_view field, bool value);
    void setFloat(std::string_view field, double value);
    void setInteger(std::string_view field, std::int32_t value);
    // Reads back the row being built, as a stored value reads: text without trailing blanks, an
    // unset number as 0.
    std::string readText(std::string_view field) const;
    double readFloat(std::string_view field) const;
    // Adds the row being built to the table. Fails when no row was started.
    void post();

    std::size_t rowCount() const { return m_rowCount; }
    const std::string& tableName() const { return m_tableName; }
    // The complete file: header, descriptors, 0x0D, records, 0x1A.
    std::string bytes() const;

private:
    struct Field {
        FieldDef def;
        std::size_t offset = 0;   // within the record, counting the flag byte
        std::size_t width = 0;
        std::uint8_t decimals = 0;
    };
    void addField(const FieldDef& def);
    std::string header() const;
    const Field& field(std::string_view name) const;
    const Field& fieldOfKind(std::string_view name, FieldKind kind, bool numeric) const;
    std::string& row();
    const std::string& row() const;
    void store(const Field& field, std::string_view bytes);
    void storeNumber(const Field& field, double value);
    [[noreturn]] void failField(const Field& field, const std::string& what) const;

    std::string m_tableName;
    std::vector<Field> m_fields;
    std::size_t m_recordLength = 1;
    Date m_lastUpdate;
    std::string m_records;
    std::string m_row;
    bool m_rowStarted = false;
    bool m_rowModified = false;
    std::size_t m_rowCount = 0;
};

} // namespace tqz::dbf
