#include "tables/TableReplacement.h"

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/FileLock.h"
#include "platform/FileNames.h"
#include "platform/Text.h"

#include <optional>
#include <string_view>
#include <system_error>

namespace tqz::tables {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDataExtension = ".DBF";
constexpr std::string_view kIndexExtension = ".MDX";

void requireFolder(const fs::path& workDir)
{
    std::error_code error;
    const auto status = fs::status(workDir, error);
    if (!fs::exists(status)) {
        fail("La carpeta de trabajo '" + workDir.string() + "' no existe");
    }
    if (!fs::is_directory(status)) {
        fail("La carpeta de trabajo '" + workDir.string() + "' no es una carpeta");
    }
}

// Every entry of `folder` named `fileName` in any letter case. A case-sensitive file system may
// hold several; the timetabling program, on Windows, sees them as one file.
std::vector<fs::path> entriesNamed(const fs::path& folder, std::string_view fileName)
{
    const std::string wanted = text::asciiLower(fileName);
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (text::asciiLower(it->path().filename().string()) == wanted) {
            found.push_back(it->path());
        }
    }
    return found;
}

// One table on its way into place.
struct Entry {
    std::string name;
    std::string_view bytes;
    fs::path target; // the existing file, or <folder>/<NAME>.DBF
    std::vector<fs::path> otherCopies; // the same table's file in other letter cases
    fs::path staged; // the temporary file until it is renamed into place
    std::optional<std::string> previous; // the target's bytes, to undo a replacement
    bool replaced = false;
};

// The steps of one replacement. A crash journal, when one is kept, is written between lock() and
// commit(): it names each staged file and its target, so that a run killed during the renames can
// be finished on the next start.
class Replacement {
public:
    Replacement(const fs::path& workDir, const std::vector<TableImage>& images);
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    void stage();
    void lock();
    void commit();
    void removeStaleFiles() const;

private:
    void rollBack() noexcept;

    fs::path m_workDir;
    std::vector<Entry> m_entries;
    std::vector<FileLock> m_locks;
};

Replacement::Replacement(const fs::path& workDir, const std::vector<TableImage>& images)
    : m_workDir(workDir)
{
    for (const auto& image : images) {
        Entry entry;
        entry.name = image.name;
        entry.bytes = image.bytes;
        entry.target = files::tablePath(workDir, image.name);
        for (auto& copy : entriesNamed(workDir, image.name + std::string(kDataExtension))) {
            if (copy != entry.target) {
                entry.otherCopies.push_back(std::move(copy));
            }
        }
        m_entries.push_back(std::move(entry));
    }
}

Replacement::~Replacement()
{
    for (const auto& entry : m_entries) {
        if (!entry.staged.empty()) {
            io::removeFileQuietly(entry.staged);
        }
    }
}

void Replacement::stage()
{
    for (auto& entry : m_entries) {
        entry.staged = io::stageFile(entry.target, entry.bytes);
    }
}

void Replacement::lock()
{
    for (auto& entry : m_entries) {
        if (fs::exists(entry.target)) {
            m_locks.emplace_back(entry.target, LockMode::Exclusive, entry.name);
            entry.previous = io::readFile(entry.target);
        }
        for (const auto& copy : entry.otherCopies) {
            m_locks.emplace_back(copy, LockMode::Exclusive, entry.name);
        }
    }
}

void Replacement::commit()
{
    try {
        for (auto& entry : m_entries) {
            io::renameFile(entry.staged, entry.target);
            entry.staged.clear();
            entry.replaced = true;
        }
    } catch (...) {
        rollBack();
        throw;
    }
}

// Puts back what the renames so far changed. The error that stopped the renames is the one
// reported; should putting a table back fail as well, there is nothing better left to do.
void Replacement::rollBack() noexcept
{
    for (auto& entry : m_entries) {
        if (!entry.replaced) {
            continue;
        }
        if (!entry.previous) {
            io::removeFileQuietly(entry.target);
            continue;
        }
        try {
            io::writeFileAtomically(entry.target, *entry.previous);
        } catch (const Error&) {
        }
    }
}

void Replacement::removeStaleFiles() const
{
    for (const auto& entry : m_entries) {
        for (const auto& copy : entry.otherCopies) {
            io::removeFileQuietly(copy);
        }
        for (const auto& index : entriesNamed(m_workDir, entry.name + std::string(kIndexExtension))) {
            io::removeFileQuietly(index);
        }
    }
}

} // namespace

void replaceTables(const fs::path& workDir, const std::vector<TableImage>& images)
{
    requireFolder(workDir);
    Replacement replacement(workDir, images);
    replacement.stage();
    replacement.lock();
    replacement.commit();
    replacement.removeStaleFiles();
}

} // namespace tqz::tables
