#include "tables/TableReplacement.h"

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/FileLock.h"
#include "platform/FileNames.h"
#include "platform/Text.h"
#include "tables/ReplacementJournal.h"
#include "tables/WorkFolder.h"

#include <string_view>
#include <system_error>

namespace tqz::tables {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kDataExtension = ".DBF";
constexpr std::string_view kIndexExtension = ".MDX";

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
    fs::path staged; // the temporary file holding the new table
    fs::path backup; // a copy of the old table, kept until the replacement is over
};

// The steps of one replacement. Everything that can fail for want of space (the new tables, the
// copies of the old ones, the record of the replacement) is written before the first rename; the
// renames themselves need none.
class Replacement {
public:
    Replacement(const fs::path& workDir, const std::vector<TableImage>& images);
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    void stage();
    void lock();
    void commit();

private:
    journal::Plan plan() const;
    void undo(const journal::Plan& steps) noexcept;

    fs::path m_workDir;
    std::vector<Entry> m_entries;
    std::vector<FileLock> m_locks;
    bool m_recordLeft = false; // the next run finishes from the record and needs the files
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
    if (m_recordLeft) {
        return;
    }
    for (const auto& entry : m_entries) {
        for (const fs::path* file : { &entry.staged, &entry.backup }) {
            if (!file->empty()) {
                io::removeFileQuietly(*file);
            }
        }
    }
}

void Replacement::stage()
{
    for (auto& entry : m_entries) {
        entry.staged = io::stageFile(entry.target, entry.bytes);
    }
}

// Holds every existing file of the tables, so a table open in another program stops the
// replacement before anything has changed, and copies each old table for an undo.
void Replacement::lock()
{
    for (auto& entry : m_entries) {
        if (fs::exists(entry.target)) {
            m_locks.emplace_back(entry.target, LockMode::Exclusive, entry.name);
        }
        for (const auto& copy : entry.otherCopies) {
            m_locks.emplace_back(copy, LockMode::Exclusive, entry.name);
        }
    }
    for (auto& entry : m_entries) {
        if (fs::exists(entry.target)) {
            entry.backup = io::stageFile(entry.target, io::readFile(entry.target));
        }
    }
}

journal::Plan Replacement::plan() const
{
    journal::Plan steps;
    for (const auto& entry : m_entries) {
        steps.tables.push_back({ entry.target.filename().string(), entry.staged.filename().string(),
            entry.backup.empty() ? std::string() : entry.backup.filename().string() });
        for (const auto& copy : entry.otherCopies) {
            steps.staleFiles.push_back(copy.filename().string());
        }
        for (const auto& index : entriesNamed(m_workDir, entry.name + std::string(kIndexExtension))) {
            steps.staleFiles.push_back(index.filename().string());
        }
    }
    return steps;
}

// The record goes to the disk before the first rename, so a run stopped among the renames is
// finished by the next one. A failed rename is undone here and now; should the undo fail as well,
// the record stays and the next run completes or undoes the replacement.
void Replacement::commit()
{
    const journal::Plan steps = plan();
    journal::write(m_workDir, steps);
    try {
        for (const auto& entry : m_entries) {
            io::renameFile(entry.staged, entry.target);
        }
    } catch (const Error&) {
        undo(steps);
        throw;
    }
    journal::complete(m_workDir, steps);
}

void Replacement::undo(const journal::Plan& steps) noexcept
{
    if (!journal::markForUndo(m_workDir)) {
        m_recordLeft = true;
        return;
    }
    try {
        journal::undo(m_workDir, steps);
    } catch (const Error&) {
        m_recordLeft = true;
    }
}

} // namespace

void replaceTables(const fs::path& workDir, const std::vector<TableImage>& images)
{
    requireWorkFolder(workDir);
    Replacement replacement(workDir, images);
    replacement.stage();
    replacement.lock();
    replacement.commit();
}

} // namespace tqz::tables
