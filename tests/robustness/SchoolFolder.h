#pragma once

// A school as the tool finds it on disk, for the tests of bad input, failed writes and killed
// runs: <root>/WTEMP holds the six working tables built from the sample document and the sample
// SOLUC; <root>/zentris holds the sample document. Helpers tell whether the working tables are
// one whole set and whether a run left anything behind.

#include "support/CliRun.h"
#include "support/TempDir.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace tqz::test {

// Every file under a folder by its path relative to it, with its bytes ("<carpeta>" for folders).
using Tree = std::map<std::string, std::string>;
Tree treeOf(const std::filesystem::path& folder);

// The six working tables of a folder by name, each file's bytes without its last-update date.
using TableSet = std::map<std::string, std::string>;
TableSet tableSetOf(const std::filesystem::path& workDir);

// The tables a complete run of exportar builds from `document`.
TableSet tableSetFrom(const std::filesystem::path& document);

// Temporary files of the tool and records of an unfinished replacement under a folder.
std::vector<std::string> leftoversIn(const std::filesystem::path& folder);

// The sample document with every record of every list repeated `copies` times.
void writeLargeDocument(const std::filesystem::path& file, int copies);

class SchoolFolder {
public:
    SchoolFolder();

    const std::filesystem::path& root() const { return m_temp.path(); }
    std::filesystem::path work() const { return root() / "WTEMP"; }
    std::filesystem::path documents() const { return root() / "zentris"; }
    std::filesystem::path document() const { return documents() / "horario.xml"; }
    // The tables the sample document gives, as the folder holds them at the start.
    const TableSet& sampleTables() const { return m_sampleTables; }

private:
    TempDir m_temp;
    TableSet m_sampleTables;
};

} // namespace tqz::test
