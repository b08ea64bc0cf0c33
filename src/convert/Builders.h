#pragma once

// The six builders of the Zentris-to-Quorvane conversion. Each reads its list from the loaded
// document and builds its working table in memory; nothing touches the disk until all six are
// finished (see tables::replaceTables).

#include "platform/DbfWriter.h"
#include "platform/XmlDocument.h"

#include <filesystem>
#include <string_view>

namespace tqz::convert {

// The loaded exchange document and the file it came from, which messages name.
struct LoadedDocument {
    const xml::Document& document;
    std::filesystem::path file;
};

dbf::TableWriter TransformarMaterias(const LoadedDocument& source);
dbf::TableWriter TransformarProfesores(const LoadedDocument& source);
dbf::TableWriter TransformarAulas(const LoadedDocument& source);
dbf::TableWriter TransformarGrupos(const LoadedDocument& source);
// `asignomt` is the subjects table built from the same document; task codes are looked up in it.
dbf::TableWriter TransformarAsignaturas(const LoadedDocument& source, const dbf::TableWriter& asignomt);
dbf::TableWriter TransformarTramos(const LoadedDocument& source);

// Subject keys that begin with an upper-case G name tasks (duties, meetings) rather than subjects
// taught; a plain character test, as the school systems make it.
inline bool isTaskKey(std::string_view subjectKey)
{
    return !subjectKey.empty() && subjectKey.front() == 'G';
}

// The level of a group or assignment that the document leaves empty.
inline constexpr std::string_view kDefaultLevel = "NIV";

} // namespace tqz::convert
