// The teaching assignments: codes copied from the positional list ASIGNATURAS, weekly hours from
// minutes, the session string the timetabling program plans with, and the task code of a task
// taken from the subjects table built from the same document.

#include "convert/Builders.h"

#include "exchange/Envelope.h"
#include "exchange/InputRecords.h"
#include "platform/DbfTable.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "tables/Schemas.h"
#include "tables/WorkingTable.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace tqz::convert {

namespace {

namespace field = tables::asigt;

enum Position : std::size_t {
    kCasig = 0,
    kCgrup = 1,
    kCaula = 2,
    kTurno = 3,
    kNivel = 4,
    kCurso = 5,
    kGrupo = 6,
    kMinutos = 7,
    kMateria = 8
};

// The task code of every assignment that is not a task.
constexpr std::string_view kTeachingTask = "LE";
constexpr double kMinutesPerHour = 60.0;
// Up to this many weekly hours the session string is one "1" per hour; beyond it the hours over
// it are written as a number in front of this many "1".
constexpr std::int64_t kSpelledOutSessions = 13;

// MATERIA → COD of the subjects table, as its rows are stored: values cut to their widths and read
// back without trailing blanks, the first row of a key winning over later ones.
class TaskCodes {
public:
    explicit TaskCodes(const dbf::TableWriter& asignomt)
    {
        namespace subject = tables::asignomt;
        auto table = dbf::Table::fromBytes(asignomt.tableName(), asignomt.bytes());
        table.open();
        for (table.first(); !table.eof(); table.next()) {
            m_codes.emplace(table.text(subject::kMateria), table.text(subject::kCod));
        }
    }

    // The code of task `subjectKey`; a key the subjects lack stands for itself.
    std::string codeOf(const std::string& subjectKey) const
    {
        const auto found = m_codes.find(subjectKey);
        return found == m_codes.end() ? subjectKey : found->second;
    }

private:
    std::unordered_map<std::string, std::string> m_codes;
};

[[noreturn]] void failInvalidMinutes(
    const LoadedDocument& source, const exchange::InputRecord& record, const std::string& minutes)
{
    fail("Documento '" + source.file.string() + "', lista " + std::string(exchange::list::kAsignaturas)
        + ", registro " + std::to_string(record.position()) + ": " + text::invalidIntegerMessage(minutes));
}

// Sets HORAS from the minutes and returns the whole weekly hours, at least 1. The value is read
// back from the row, so the hours are those the table holds (four decimals).
std::int64_t setWeeklyHours(
    dbf::TableWriter& table, const LoadedDocument& source, const exchange::InputRecord& record)
{
    const std::string minutes = record.value(kMinutos);
    if (!minutes.empty()) {
        const auto value = text::tryStrToInt(minutes);
        if (!value) {
            failInvalidMinutes(source, record, minutes);
        }
        table.setFloat(field::kHoras, static_cast<double>(*value) / kMinutesPerHour);
    }
    if (!(table.readFloat(field::kHoras) >= 1.0)) {
        table.setFloat(field::kHoras, 1.0);
    }
    return static_cast<std::int64_t>(std::ceil(table.readFloat(field::kHoras)));
}

std::string sessionsText(std::int64_t hours)
{
    if (hours <= kSpelledOutSessions) {
        return std::string(static_cast<std::size_t>(hours), '1');
    }
    return std::to_string(hours - kSpelledOutSessions)
        + std::string(static_cast<std::size_t>(kSpelledOutSessions), '1');
}

} // namespace

dbf::TableWriter TransformarAsignaturas(const LoadedDocument& source, const dbf::TableWriter& asignomt)
{
    const TaskCodes taskCodes(asignomt);
    auto table = tables::newWorkingTable(field::kTable);
    for (const auto& record : exchange::selectRecords(source.document, exchange::list::kAsignaturas)) {
        if (record.isTooShort()) {
            continue;
        }
        std::string nivel = record.value(kNivel);
        if (nivel.empty()) {
            nivel = kDefaultLevel;
        }
        const std::string subjectKey = record.value(kMateria);
        table.append();
        table.setText(field::kCasig, record.value(kCasig));
        table.setText(field::kCgrup, record.value(kCgrup));
        table.setText(field::kCaula, record.value(kCaula));
        table.setText(field::kTurno, record.value(kTurno));
        table.setText(field::kNivel, nivel);
        table.setText(field::kCurso, record.value(kCurso));
        table.setText(field::kGrupo, record.value(kGrupo));
        const std::int64_t hours = setWeeklyHours(table, source, record);
        table.setText(field::kSesiones, sessionsText(hours));
        table.setText(field::kMateria, subjectKey);
        table.setText(field::kCtarea,
            isTaskKey(subjectKey) ? taskCodes.codeOf(subjectKey) : std::string(kTeachingTask));
        table.post();
    }
    return table;
}

} // namespace tqz::convert
