#include "convert/ActivityResolution.h"

#include "exchange/DayLetters.h"
#include "exchange/Envelope.h"
#include "platform/Text.h"
#include "tables/Schemas.h"

#include <string>

namespace tqz::convert {

namespace {

namespace field = exchange::result;
namespace asignomt = tables::asignomt;
namespace diashorast = tables::diashorast;
namespace aulat = tables::aulat;
namespace grupost = tables::grupost;
namespace asigt = tables::asigt;

// The activity code Zentris takes for a lesson whose activity has no code of its own.
constexpr std::string_view kDefaultActivity = "G439";

// 1 when the lesson named a code and no row was found for it.
std::size_t missing(const LookupIndex::Row* found, std::string_view code)
{
    return found == nullptr && !text::isBlank(code) ? 1 : 0;
}

// The DIHO of a lesson's slot: the day letter, none for a day other than 1 to 7, followed by the
// period in decimal ("M4", "L10"), as the slot names of the time-slot list read.
std::string slotKey(std::string_view dia, std::int32_t hora)
{
    return std::string(exchange::dayLetterOf(dia).value_or(std::string_view())) + std::to_string(hora);
}

} // namespace

ActivityResolver::ActivityResolver(ImportTables& opened)
    : m_nomAsg(
        [&opened]() -> dbf::Table& { return opened.nomAsg(); }, { asignomt::kCod }, { asignomt::kMateria })
    , m_tramos([&opened]() -> dbf::Table& { return opened.tramos(); }, { diashorast::kDiho },
          { diashorast::kDia, diashorast::kCodDiho })
    , m_aulas([&opened]() -> dbf::Table& { return opened.aulas(); }, { aulat::kAbrev }, { aulat::kDepCentro })
    , m_grupos(
          [&opened]() -> dbf::Table& { return opened.grupos(); }, { grupost::kAbrev }, { grupost::kUnidad })
    , m_asig([&opened]() -> dbf::Table& { return opened.asig(); }, { asigt::kCasig, asigt::kCgrup },
          { asigt::kMateria })
{
}

std::size_t ActivityResolver::resolve(
    const Lesson& lesson, exchange::ResultDocument& result, xml::Element record)
{
    std::size_t unresolved = writeActivity(lesson, result, record);
    unresolved += writeSlot(lesson, result, record);
    unresolved += writeTaken(m_aulas, lesson.aula, field::kXDepCentro, result, record);
    unresolved += writeTaken(m_grupos, lesson.codGrupo, field::kXUnidad, result, record);
    unresolved += writeSubject(lesson, result, record);
    return unresolved;
}

std::size_t ActivityResolver::writeActivity(
    const Lesson& lesson, exchange::ResultDocument& result, xml::Element record)
{
    const auto* row = m_nomAsg.find({ lesson.tarea });
    std::string value = row ? row->front() : lesson.tarea;
    if (text::isBlank(value)) {
        value = kDefaultActivity;
    }
    result.appendSalida(record, field::kXActividad, value);
    return missing(row, lesson.tarea);
}

std::size_t ActivityResolver::writeSlot(
    const Lesson& lesson, exchange::ResultDocument& result, xml::Element record)
{
    const auto* row = m_tramos.find({ slotKey(lesson.dia, lesson.hora) });
    result.appendSalida(record, field::kNDiaSemana, row ? (*row)[0] : std::string());
    result.appendSalida(record, field::kXTramo, row ? (*row)[1] : std::string());
    return row ? 0 : 2;
}

std::size_t ActivityResolver::writeTaken(LookupIndex& index, std::string_view code, std::string_view name,
    exchange::ResultDocument& result, xml::Element record)
{
    const auto* row = index.find({ code });
    result.appendSalida(record, name, row ? row->front() : std::string());
    return missing(row, code);
}

// The subject as taught to the lesson's group comes first; a subject the group has no assignment
// for falls back to the subject catalogue. There is no default code.
std::size_t ActivityResolver::writeSubject(
    const Lesson& lesson, exchange::ResultDocument& result, xml::Element record)
{
    const auto* assignment = m_asig.find({ lesson.asig, lesson.codGrupo });
    std::string value = assignment ? assignment->front() : std::string();
    const LookupIndex::Row* subject = nullptr;
    if (text::isBlank(value)) {
        subject = m_nomAsg.find({ lesson.asig });
        if (subject) {
            value = subject->front();
        }
    }
    result.appendSalida(record, field::kXMateriaOmc, value);
    return missing(assignment ? assignment : subject, lesson.asig);
}

} // namespace tqz::convert
