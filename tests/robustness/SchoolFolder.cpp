#include "SchoolFolder.h"

#include "convert/Conversions.h"
#include "platform/FileIo.h"
#include "support/Files.h"
#include "tables/Schemas.h"

#include <sstream>
#include <stdexcept>

namespace tqz::test {

namespace fs = std::filesystem;

namespace {

// Bytes 1 to 3 of a table hold the date it was written, which differs between runs on two days.
constexpr std::size_t kDateOffset = 1;
constexpr std::size_t kDateSize = 3;
constexpr std::uintmax_t kLargeFile = 16U * 1024U * 1024U;

fs::path example(const std::string& name)
{
    return fs::path(TQZ_EXAMPLES) / name;
}

// A file too large to hold twice in memory is known by its size and time of last change.
std::string contentOf(const fs::directory_entry& entry)
{
    if (entry.is_directory()) {
        return "<carpeta>";
    }
    if (entry.file_size() > kLargeFile) {
        return "<" + std::to_string(entry.file_size()) + " bytes, "
            + std::to_string(entry.last_write_time().time_since_epoch().count()) + ">";
    }
    return readBytes(entry.path());
}

} // namespace

Tree treeOf(const fs::path& folder)
{
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        tree[fs::relative(entry.path(), folder).string()] = contentOf(entry);
    }
    return tree;
}

TableSet tableSetOf(const fs::path& workDir)
{
    TableSet set;
    for (const auto& table : tables::workingTables()) {
        const fs::path file = workDir / (std::string(table.name) + ".DBF");
        std::string bytes = fs::exists(file) ? readBytes(file) : std::string("<no existe>");
        if (bytes.size() > kDateOffset + kDateSize) {
            bytes.replace(kDateOffset, kDateSize, kDateSize, '\0');
        }
        set[std::string(table.name)] = bytes;
    }
    return set;
}

TableSet tableSetFrom(const fs::path& document)
{
    const TempDir folder;
    convert::exportar(document, folder.path());
    return tableSetOf(folder.path());
}

std::vector<std::string> leftoversIn(const fs::path& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (io::isTemporaryName(entry.path()) || name.starts_with("TQZ-")) {
            found.push_back(fs::relative(entry.path(), folder).string());
        }
    }
    return found;
}

// Most records of the sample document are one per line, indented by six spaces; the few that
// span lines are left single.
void writeLargeDocument(const fs::path& file, int copies)
{
    std::istringstream sample(readBytes(example("horario.xml")));
    std::string large;
    for (std::string line; std::getline(sample, line);) {
        const bool record = line.starts_with("      <listasal>") && line.ends_with("</listasal>");
        for (int copy = 0; copy < (record ? copies : 1); ++copy) {
            large += line + '\n';
        }
    }
    writeBytes(file, large);
}

SchoolFolder::SchoolFolder()
{
    fs::create_directory(work());
    fs::create_directory(documents());
    fs::copy_file(example("horario.xml"), document());
    fs::copy_file(example("SOLUC.DBF"), work() / "SOLUC.DBF");
    convert::exportar(document(), work());
    m_sampleTables = tableSetOf(work());
}

} // namespace tqz::test
