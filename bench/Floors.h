#pragma once

// The bare costs each conversion is measured against: what no implementation can avoid, done as
// directly as libxml2 and the table writer allow, with no look-up, check or safety step.
//   floor of exportar = parseDocument + writeTables (the rows exportar wrote)
//   floor of importar = parseDocument + writeResult (the records importar wrote)

#include "convert/Conversions.h"

#include <cstddef>
#include <filesystem>
#include <vector>

namespace tqz::bench::floors {

// The file read whole and parsed into a libxml2 tree, then freed.
void parseDocument(const std::filesystem::path& document);

// The six working tables, with `rows` rows each, built with the table writer and written into
// `folder`: with plain file writes (no temporary file, no flush to the disk, no lock), or, when
// `synced`, each through a temporary file flushed to the disk and renamed into place, the folder
// flushed after it; the durability exportar pays for, without its locks and rollback copies.
void writeTables(const std::vector<convert::TableCount>& rows, const std::filesystem::path& folder, bool synced);

// SOLUC and the six tables read from `workDir`, and a document with `teachers` teacher records
// holding `lessons` lesson records of six fields, built with libxml2 and saved to `result`.
void writeResult(std::size_t teachers, std::size_t lessons, const std::filesystem::path& workDir,
    const std::filesystem::path& result);

} // namespace tqz::bench::floors
