#pragma once

// The six fields of a lesson record: the Zentris codes that the working tables hold for the
// timetabling program's abbreviations of the lesson's activity, slot, room, group and subject.

#include "convert/ImportTables.h"
#include "convert/LessonReading.h"
#include "convert/LookupIndex.h"
#include "exchange/ResultDocument.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tqz::convert {

class ActivityResolver {
public:
    // The look-up tables are indexed at the first lesson; ASIGT is opened then.
    explicit ActivityResolver(ImportTables& tables);

    // Appends X_ACTIVIDAD, N_DIASEMANA, X_TRAMO, X_DEPCENTRO, X_UNIDAD and X_MATERIAOMC to
    // `record`, always all six and in this order, and returns how many of them are unresolved.
    //
    // A field is unresolved when the lesson names a code for it that no working-table row holds,
    // so that the field carries the lesson's own code or nothing instead of a Zentris code:
    // - X_ACTIVIDAD: TAREA is not blank and no ASIGNOMT row has it as COD;
    // - N_DIASEMANA and X_TRAMO (two fields): no DIASHORAST row has the slot key as DIHO;
    // - X_DEPCENTRO: AULA is not blank and no AULAT row has it;
    // - X_UNIDAD: CODGRUPO is not blank and no GRUPOST row has it;
    // - X_MATERIAOMC: ASIG is not blank and neither ASIGT (with CODGRUPO) nor ASIGNOMT has it.
    // A blank code names nothing to find (a duty without a room or group, an ordinary lesson
    // taking the default activity "G439"), and a row that was found but holds a blank value is
    // what the tables say; neither counts.
    std::size_t resolve(const Lesson& lesson, exchange::ResultDocument& result, xml::Element record);

private:
    std::size_t writeActivity(const Lesson& lesson, exchange::ResultDocument& result, xml::Element record);
    std::size_t writeSlot(const Lesson& lesson, exchange::ResultDocument& result, xml::Element record);
    std::size_t writeTaken(LookupIndex& index, std::string_view code, std::string_view name,
        exchange::ResultDocument& result, xml::Element record);
    std::size_t writeSubject(const Lesson& lesson, exchange::ResultDocument& result, xml::Element record);

    LookupIndex m_nomAsg; // ASIGNOMT: COD → MATERIA
    LookupIndex m_tramos; // DIASHORAST: DIHO → DIA, CODDIHO
    LookupIndex m_aulas; // AULAT: ABREV → DEPCENTRO
    LookupIndex m_grupos; // GRUPOST: ABREV → UNIDAD
    LookupIndex m_asig; // ASIGT: CASIG, CGRUP → MATERIA
};

} // namespace tqz::convert
