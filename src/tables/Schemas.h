#pragma once

// The working tables shared with the timetabling program: names, fields and field order. Every
// table and field name of the tool is written here once; the conversions refer to these constants.

#include "platform/DbfSchema.h"

#include <array>
#include <string_view>

namespace tqz::tables {

struct TableSchema {
    std::string_view name;
    dbf::Schema fields;
};

namespace asignomt {
inline constexpr std::string_view kTable = "ASIGNOMT";
inline constexpr std::string_view kCod = "COD";
inline constexpr std::string_view kCodLargo = "CODLARGO";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kMateria = "MATERIA";
inline constexpr std::string_view kEsTarea = "ESTAREA";
} // namespace asignomt

namespace proft {
inline constexpr std::string_view kTable = "PROFT";
inline constexpr std::string_view kAbrev = "ABREV";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kDepart = "DEPART";
inline constexpr std::string_view kDni = "DNI";
inline constexpr std::string_view kXEmpleado = "X_EMPLEADO";
inline constexpr std::string_view kFTomapos = "F_TOMAPOS";
} // namespace proft

namespace aulat {
inline constexpr std::string_view kTable = "AULAT";
inline constexpr std::string_view kAbrev = "ABREV";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kEdificio = "EDIFICIO";
inline constexpr std::string_view kMaxAlum = "MAXALUM";
inline constexpr std::string_view kDepCentro = "DEPCENTRO";
} // namespace aulat

namespace grupost {
inline constexpr std::string_view kTable = "GRUPOST";
inline constexpr std::string_view kAbrev = "ABREV";
inline constexpr std::string_view kTurno = "TURNO";
inline constexpr std::string_view kNivel = "NIVEL";
inline constexpr std::string_view kCurso = "CURSO";
inline constexpr std::string_view kGrupo = "GRUPO";
inline constexpr std::string_view kUnidad = "UNIDAD";
} // namespace grupost

namespace asigt {
inline constexpr std::string_view kTable = "ASIGT";
inline constexpr std::string_view kCasig = "CASIG";
inline constexpr std::string_view kCprof = "CPROF";
inline constexpr std::string_view kCgrup = "CGRUP";
inline constexpr std::string_view kCaula = "CAULA";
inline constexpr std::string_view kTurno = "TURNO";
inline constexpr std::string_view kNivel = "NIVEL";
inline constexpr std::string_view kCurso = "CURSO";
inline constexpr std::string_view kGrupo = "GRUPO";
inline constexpr std::string_view kHoras = "HORAS";
inline constexpr std::string_view kSesiones = "SESIONES";
inline constexpr std::string_view kMateria = "MATERIA";
inline constexpr std::string_view kCtarea = "CTAREA";
} // namespace asigt

namespace diashorast {
inline constexpr std::string_view kTable = "DIASHORAST";
inline constexpr std::string_view kDiho = "DIHO";
inline constexpr std::string_view kCodDiho = "CODDIHO";
inline constexpr std::string_view kDia = "DIA";
inline constexpr std::string_view kTextoDia = "TEXTODIA";
inline constexpr std::string_view kHora = "HORA";
inline constexpr std::string_view kHoraDesde = "HORADESDE";
inline constexpr std::string_view kHoraHasta = "HORAHASTA";
inline constexpr std::string_view kMinutos = "MINUTOS";
} // namespace diashorast

// Written by the timetabling program; the tool reads only these fields.
namespace soluc {
inline constexpr std::string_view kTable = "SOLUC";
inline constexpr std::string_view kProf = "PROF";
inline constexpr std::string_view kDia = "DIA";
inline constexpr std::string_view kHora = "HORA";
inline constexpr std::string_view kTarea = "TAREA";
inline constexpr std::string_view kAula = "AULA";
inline constexpr std::string_view kCodGrupo = "CODGRUPO";
inline constexpr std::string_view kAsig = "ASIG";
} // namespace soluc

// The six tables the Zentris-to-Quorvane conversion writes, in the order it builds them.
const std::array<TableSchema, 6>& workingTables();
// The schema of one of the six; fails for any other name.
const TableSchema& schemaOf(std::string_view table);

} // namespace tqz::tables
