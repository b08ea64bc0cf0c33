#include "tables/Schemas.h"

#include "platform/Error.h"

#include <string>

namespace tqz::tables {

namespace {

dbf::FieldDef text(std::string_view name, int width)
{
    return {std::string(name), dbf::FieldKind::Text, width};
}

dbf::FieldDef integer(std::string_view name)
{
    return {std::string(name), dbf::FieldKind::Integer, 0};
}

dbf::FieldDef boolean(std::string_view name)
{
    return {std::string(name), dbf::FieldKind::Boolean, 0};
}

dbf::FieldDef floating(std::string_view name)
{
    return {std::string(name), dbf::FieldKind::Float, 0};
}

std::array<TableSchema, 6> makeWorkingTables()
{
    return {{
        {asignomt::kTable,
         {text(asignomt::kCod, 4), text(asignomt::kCodLargo, 8), text(asignomt::kNombre, 40),
          text(asignomt::kMateria, 8), boolean(asignomt::kEsTarea)}},
        {proft::kTable,
         {text(proft::kAbrev, 4), text(proft::kNombre, 40), text(proft::kDepart, 40), integer(proft::kDni),
          text(proft::kXEmpleado, 10), text(proft::kFTomapos, 10)}},
        {aulat::kTable,
         {text(aulat::kAbrev, 4), text(aulat::kNombre, 40), text(aulat::kEdificio, 1), integer(aulat::kMaxAlum),
          text(aulat::kDepCentro, 10)}},
        {grupost::kTable,
         {text(grupost::kAbrev, 4), text(grupost::kTurno, 1), text(grupost::kNivel, 5), text(grupost::kCurso, 3),
          text(grupost::kGrupo, 2), text(grupost::kUnidad, 10)}},
        {asigt::kTable,
         {text(asigt::kCasig, 4), text(asigt::kCprof, 4), text(asigt::kCgrup, 4), text(asigt::kCaula, 4),
          text(asigt::kTurno, 1), text(asigt::kNivel, 5), text(asigt::kCurso, 3), text(asigt::kGrupo, 2),
          floating(asigt::kHoras), text(asigt::kSesiones, 20), text(asigt::kMateria, 10),
          text(asigt::kCtarea, 4)}},
        {diashorast::kTable,
         {text(diashorast::kDiho, 10), text(diashorast::kCodDiho, 10), text(diashorast::kDia, 20),
          text(diashorast::kTextoDia, 20), text(diashorast::kHora, 8), text(diashorast::kHoraDesde, 8),
          text(diashorast::kHoraHasta, 8), text(diashorast::kMinutos, 8)}},
    }};
}

} // namespace

const std::array<TableSchema, 6>& workingTables()
{
    static const std::array<TableSchema, 6> tables = makeWorkingTables();
    return tables;
}

const TableSchema& schemaOf(std::string_view table)
{
    for (const auto& schema : workingTables()) {
        if (schema.name == table) {
            return schema;
        }
    }
    fail("La tabla '" + std::string(table) + "' no es una tabla de trabajo");
}

} // namespace tqz::tables
