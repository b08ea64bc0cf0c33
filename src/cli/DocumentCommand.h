#pragma once

// The shape both conversion commands share: DOCUMENTO.xml [--dir CARPETA]; "No existe archivo"
// when no file is at the document's path; the conversion's error on standard error.

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tqz::cli {

struct DocumentCommand {
    std::string_view name;
    std::string_view usage;
    void (*printHelp)(std::ostream& out);
    // Runs the conversion and prints its summary.
    std::function<void(const std::filesystem::path& document, const std::filesystem::path& workDir,
        std::ostream& out)>
        convert;
};

int runDocumentCommand(const DocumentCommand& command, const std::vector<std::string>& arguments,
    std::ostream& out, std::ostream& err);

} // namespace tqz::cli
