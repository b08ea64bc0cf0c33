// The catalogue tables: subjects, teachers, rooms and groups, each copied field by field from its
// positional list. Records of fewer than two fields give no row.

#include "convert/Builders.h"

#include "convert/CodesSeen.h"
#include "exchange/Envelope.h"
#include "exchange/InputRecords.h"
#include "tables/Schemas.h"
#include "tables/WorkingTable.h"

#include <string>

namespace tqz::convert {

dbf::TableWriter TransformarMaterias(const LoadedDocument& source)
{
    namespace field = tables::asignomt;
    enum Position : std::size_t { kMateria = 0, kCod = 1, kCodLargo = 2, kNombre = 3 };

    auto table = tables::newWorkingTable(field::kTable);
    CodesSeen codesSeen;
    for (const auto& record : exchange::selectRecords(source.document, exchange::list::kMaterias)) {
        if (record.isTooShort()) {
            continue;
        }
        const std::string cod = record.value(kCod);
        const std::string materia = record.value(kMateria);
        // The whole code decides, not the four characters COD keeps: codes that differ only
        // after their fourth character both give rows.
        if (!codesSeen.add(cod)) {
            continue;
        }
        table.append();
        table.setText(field::kCod, cod);
        table.setText(field::kCodLargo, record.value(kCodLargo));
        table.setText(field::kNombre, record.value(kNombre));
        table.setText(field::kMateria, materia);
        table.setBoolean(field::kEsTarea, isTaskKey(materia));
        table.post();
    }
    return table;
}

dbf::TableWriter TransformarProfesores(const LoadedDocument& source)
{
    namespace field = tables::proft;
    enum Position : std::size_t { kXEmpleado = 0, kFTomapos = 1, kNombre = 2, kAbrev = 3 };

    auto table = tables::newWorkingTable(field::kTable);
    for (const auto& record : exchange::selectRecords(source.document, exchange::list::kProfesores)) {
        if (record.isTooShort()) {
            continue;
        }
        table.append();
        table.setText(field::kAbrev, record.value(kAbrev));
        table.setText(field::kNombre, record.value(kNombre));
        table.setText(field::kXEmpleado, record.value(kXEmpleado));
        table.setText(field::kFTomapos, record.value(kFTomapos));
        table.post();
    }
    return table;
}

dbf::TableWriter TransformarAulas(const LoadedDocument& source)
{
    namespace field = tables::aulat;
    enum Position : std::size_t { kDepCentro = 0, kAbrev = 1, kNombre = 2, kEdificio = 3 };

    auto table = tables::newWorkingTable(field::kTable);
    for (const auto& record : exchange::selectRecords(source.document, exchange::list::kAulas)) {
        if (record.isTooShort()) {
            continue;
        }
        const std::string depCentro = record.value(kDepCentro);
        std::string abrev = record.value(kAbrev);
        // A room without an abbreviation goes by its centre code, as far as ABREV holds it.
        if (abrev.empty()) {
            abrev = depCentro;
        }
        table.append();
        table.setText(field::kAbrev, abrev);
        table.setText(field::kNombre, record.value(kNombre));
        table.setText(field::kEdificio, record.value(kEdificio));
        table.setText(field::kDepCentro, depCentro);
        table.post();
    }
    return table;
}

dbf::TableWriter TransformarGrupos(const LoadedDocument& source)
{
    namespace field = tables::grupost;
    enum Position : std::size_t { kUnidad = 0, kAbrev = 1, kTurno = 2, kNivel = 3, kCurso = 4, kGrupo = 5 };

    auto table = tables::newWorkingTable(field::kTable);
    for (const auto& record : exchange::selectRecords(source.document, exchange::list::kGrupos)) {
        if (record.isTooShort()) {
            continue;
        }
        std::string nivel = record.value(kNivel);
        if (nivel.empty()) {
            nivel = kDefaultLevel;
        }
        table.append();
        table.setText(field::kAbrev, record.value(kAbrev));
        table.setText(field::kTurno, record.value(kTurno));
        table.setText(field::kNivel, nivel);
        table.setText(field::kCurso, record.value(kCurso));
        table.setText(field::kGrupo, record.value(kGrupo));
        table.setText(field::kUnidad, record.value(kUnidad));
        table.post();
    }
    return table;
}

} // namespace tqz::convert
