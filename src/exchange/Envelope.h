#pragma once

// The envelope of the exchange ("service") document: element, attribute, list and key names.
// Every one of them is case-sensitive and written here once.

#include <string_view>

namespace tqz::exchange {

inline constexpr std::string_view kRoot = "SERVICIO";
inline constexpr std::string_view kSalidas = "SALIDAS";
inline constexpr std::string_view kListasal = "listasal";
inline constexpr std::string_view kSalida = "salida";
inline constexpr std::string_view kSeq = "seq";
inline constexpr std::string_view kDato = "dato";

// The six input lists, by their seq value.
namespace list {
inline constexpr std::string_view kMaterias = "MATERIAS";
inline constexpr std::string_view kProfesores = "PROFESORES";
inline constexpr std::string_view kAulas = "AULAS";
inline constexpr std::string_view kGrupos = "GRUPOS";
inline constexpr std::string_view kAsignaturas = "ASIGNATURAS";
inline constexpr std::string_view kTramos = "TRAMOS";
} // namespace list

// Field keys of the list TRAMOS. The minutes key is spelt with an N.
namespace tramo {
inline constexpr std::string_view kCodigoZentris = "CODIGO_ZENTRIS";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kDia = "DIA";
inline constexpr std::string_view kInicio = "INICIO";
inline constexpr std::string_view kFin = "FIN";
inline constexpr std::string_view kMinutos = "NINUTOS";
} // namespace tramo

// The result document.
namespace result {
inline constexpr std::string_view kError = "ERROR";
inline constexpr std::string_view kCnError = "CN_ERROR";
inline constexpr std::string_view kCnErrorValue = "0";
inline constexpr std::string_view kTeError = "TE_ERROR";
inline constexpr std::string_view kTeErrorValue = "Servicio finalizado Correctamente";
inline constexpr std::string_view kTeacherSeqPrefix = "EMPLEADO_";
inline constexpr std::string_view kLessonSeqPrefix = "ACTIVIDAD_";
inline constexpr std::string_view kXEmpleado = "X_EMPLEADO";
inline constexpr std::string_view kFTomapos = "F_TOMAPOS";
inline constexpr std::string_view kXActividad = "X_ACTIVIDAD";
inline constexpr std::string_view kNDiaSemana = "N_DIASEMANA";
inline constexpr std::string_view kXTramo = "X_TRAMO";
inline constexpr std::string_view kXDepCentro = "X_DEPCENTRO";
inline constexpr std::string_view kXUnidad = "X_UNIDAD";
inline constexpr std::string_view kXMateriaOmc = "X_MATERIAOMC";
inline constexpr std::string_view kFileNamePrefix = "ResultadoQuorva";
} // namespace result

} // namespace tqz::exchange
