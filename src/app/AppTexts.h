#pragma once

// The window's own texts, exactly as the user and the timetabling program see them.

namespace tqz::app::texts {

// The application's title: the caption of every message box and error report.
inline constexpr const char* kTitle = "TransQuorvaZentris";
// The main window's caption; the trailing blank is part of it.
inline constexpr const char* kCaption = "Exportar e importar datos entre Quorvane y Zentris ";

inline constexpr const char* kNoFile = "No existe archivo";
inline constexpr const char* kDone = "Proceso finalizado";
inline constexpr const char* kOk = "Aceptar";

inline constexpr const char* kFileDialogTitle = "Archivo XML";
inline constexpr const char* kFileDialogFilter = "*.xml";
inline constexpr const char* kFileDialogSuffix = "xml";

// The verbs the timetabling program passes first.
inline constexpr const char* kVerbExportar = "exportar";
inline constexpr const char* kVerbImportar = "importar";

// The status file beside the executable.
inline constexpr const char* kStatusFileName = "Quorvane.ini";
inline constexpr const char* kStatusSection = "Transformadores";
inline constexpr const char* kStatusKey = "Transformado";

} // namespace tqz::app::texts
