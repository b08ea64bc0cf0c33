#pragma once

// The two conversions, as the command line and the window call them. Each runs to its end or
// throws tqz::Error; a failed run changes no file.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace tqz::convert {

struct TableCount {
    std::string table;
    std::size_t rows = 0;
};

struct ExportSummary {
    std::vector<TableCount> tables;  // the six working tables, in the order they are built
};

// Zentris to Quorvane: rebuilds the six working tables in `workDir` from `document`, all of them
// or none.
ExportSummary exportar(const std::filesystem::path& document, const std::filesystem::path& workDir);

struct ImportSummary {
    std::filesystem::path resultDocument;
    std::size_t teachers = 0;
    std::size_t lessons = 0;
    // Lesson fields that fell back to a default or stayed empty because a code was not found.
    std::size_t unresolvedFields = 0;
};

// Quorvane to Zentris: writes the result document beside `document` from SOLUC and the working
// tables in `workDir`. The chosen document itself is never written.
ImportSummary importar(const std::filesystem::path& document, const std::filesystem::path& workDir);

// The folder of `document`, then "ResultadoQuorva", then its file name.
std::filesystem::path resultPathFor(const std::filesystem::path& document);

} // namespace tqz::convert
