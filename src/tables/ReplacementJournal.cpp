#include "tables/ReplacementJournal.h"

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/FileLock.h"
#include "platform/Text.h"

#include <string_view>
#include <system_error>

namespace tqz::tables::journal {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kForwardName = "TQZ-REEMPLAZO.TXT";
constexpr std::string_view kUndoName = "TQZ-DESHACER.TXT";
constexpr std::string_view kHeader = "TQZ-REEMPLAZO 1";
constexpr std::string_view kEnd = "FIN";
constexpr char kTableLine = 'T';
constexpr char kStaleLine = 'B';
constexpr char kSeparator = '\t';
constexpr std::string_view kNoBackup = "-";

bool isPresent(const fs::path& file)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(file, error));
}

bool endsWithIgnoringCase(std::string_view name, std::string_view end)
{
    return name.size() > end.size() && text::asciiLower(name.substr(name.size() - end.size())) == end;
}

// A name the record may hold: a plain file of the working folder, never a path leading out of it.
bool isPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
}

bool isTableFile(std::string_view name)
{
    return isPlainName(name) && endsWithIgnoringCase(name, ".dbf");
}

// The temporary files of a step are those made beside its table.
bool isTemporaryOf(std::string_view name, std::string_view target)
{
    return isPlainName(name) && name.starts_with(target) && io::isTemporaryName(fs::path(name));
}

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t tab = line.find(kSeparator); tab != std::string_view::npos;
         tab = line.find(kSeparator)) {
        fields.push_back(line.substr(0, tab));
        line.remove_prefix(tab + 1);
    }
    fields.push_back(line);
    return fields;
}

std::string serialized(const Plan& plan)
{
    std::string bytes = std::string(kHeader) + '\n';
    for (const TableStep& step : plan.tables) {
        bytes += std::string(1, kTableLine) + kSeparator + step.target + kSeparator + step.staged + kSeparator
            + (step.backup.empty() ? std::string(kNoBackup) : step.backup) + '\n';
    }
    for (const std::string& stale : plan.staleFiles) {
        bytes += std::string(1, kStaleLine) + kSeparator + stale + '\n';
    }
    return bytes + std::string(kEnd) + '\n';
}

// One line of the record; false when it is not one the tool writes.
bool readLine(std::string_view line, Plan& plan)
{
    const std::vector<std::string_view> fields = fieldsOf(line);
    if (fields.size() == 4 && fields[0].size() == 1 && fields[0][0] == kTableLine) {
        TableStep step { std::string(fields[1]), std::string(fields[2]),
            fields[3] == kNoBackup ? std::string() : std::string(fields[3]) };
        plan.tables.push_back(step);
        return isTableFile(step.target) && isTemporaryOf(step.staged, step.target)
            && (step.backup.empty() || isTemporaryOf(step.backup, step.target));
    }
    if (fields.size() == 2 && fields[0].size() == 1 && fields[0][0] == kStaleLine) {
        plan.staleFiles.emplace_back(fields[1]);
        return isTableFile(fields[1]) || (isPlainName(fields[1]) && endsWithIgnoringCase(fields[1], ".mdx"));
    }
    return false;
}

Plan read(const fs::path& record)
{
    const std::string bytes = io::readFile(record);
    std::string_view rest = bytes;
    Plan plan;
    bool header = true;
    bool ended = false;
    while (!rest.empty() && !ended) {
        const std::size_t feed = rest.find('\n');
        const std::string_view line = rest.substr(0, feed);
        rest.remove_prefix(feed == std::string_view::npos ? rest.size() : feed + 1);
        const bool known = header ? line == kHeader : (line == kEnd || readLine(line, plan));
        ended = !header && line == kEnd;
        header = false;
        if (!known) {
            break;
        }
    }
    if (!ended || !rest.empty()) {
        fail("El registro de reemplazo de tablas '" + record.string()
            + "' está dañado; compruebe las tablas de trabajo y borre ese archivo");
    }
    return plan;
}

// The tables a recovery is about to change, held as a replacement holds them: a table the
// timetabling program has open stops the recovery before anything changes.
std::vector<FileLock> lockTargets(const fs::path& workDir, const Plan& plan)
{
    std::vector<FileLock> locks;
    for (const TableStep& step : plan.tables) {
        const fs::path target = workDir / step.target;
        if (isPresent(target)) {
            std::string name = step.target.substr(0, step.target.size() - 4);
            for (char& c : name) {
                c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
            }
            locks.emplace_back(target, LockMode::Exclusive, text::fromAnsi(name));
        }
    }
    return locks;
}

} // namespace

void write(const fs::path& workDir, const Plan& plan)
{
    io::writeFileAtomically(workDir / kForwardName, serialized(plan));
}

bool markForUndo(const fs::path& workDir) noexcept
{
    try {
        io::renameFile(workDir / kForwardName, workDir / kUndoName);
        return true;
    } catch (const Error&) {
        return false;
    }
}

void complete(const fs::path& workDir, const Plan& plan)
{
    for (const TableStep& step : plan.tables) {
        if (isPresent(workDir / step.staged)) {
            io::renameFile(workDir / step.staged, workDir / step.target);
        }
    }
    for (const std::string& stale : plan.staleFiles) {
        io::removeFileQuietly(workDir / stale);
    }
    for (const TableStep& step : plan.tables) {
        if (!step.backup.empty()) {
            io::removeFileQuietly(workDir / step.backup);
        }
    }
    io::removeFile(workDir / kForwardName);
}

void undo(const fs::path& workDir, const Plan& plan)
{
    for (const TableStep& step : plan.tables) {
        if (!step.backup.empty()) {
            if (isPresent(workDir / step.backup)) {
                io::renameFile(workDir / step.backup, workDir / step.target);
            }
        } else if (!isPresent(workDir / step.staged)) {
            // The table is new and already in place: before the replacement there was none.
            io::removeFile(workDir / step.target);
        }
    }
    for (const TableStep& step : plan.tables) {
        io::removeFileQuietly(workDir / step.staged);
    }
    io::removeFile(workDir / kUndoName);
}

void recover(const fs::path& workDir)
{
    if (const fs::path record = workDir / kUndoName; isPresent(record)) {
        const Plan plan = read(record);
        const auto locks = lockTargets(workDir, plan);
        undo(workDir, plan);
    }
    if (const fs::path record = workDir / kForwardName; isPresent(record)) {
        const Plan plan = read(record);
        const auto locks = lockTargets(workDir, plan);
        complete(workDir, plan);
    }
    io::removeTemporariesIn(workDir);
}

} // namespace tqz::tables::journal
