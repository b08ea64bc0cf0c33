#pragma once

// The one seam through which the table engine and the document writer reach the disk. Every
// file the tool writes goes to a temporary file in the target's folder first and is renamed into
// place, so no reader ever sees a half-written file and a failed write leaves the old file as it
// was. Tests install a fault hook to make the n-th write, close or rename fail as a full disk would.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tqz::io {

enum class Operation { Write, Close, Rename, Remove };

// Called before every write, close, rename and removal; a non-zero errno value makes that call
// fail with it. An empty hook (the default) lets every call through. Tests also use it to stop a
// run at a given call, as a power cut would.
using FaultHook = std::function<int(Operation)>;
void setFaultHook(FaultHook hook);

// The whole file. Fails naming the file when it cannot be read.
std::string readFile(const std::filesystem::path& file);

// Writes `bytes` to a new temporary file beside `target`, flushes it to the disk and closes it.
// Returns the temporary file's path; nothing is written at `target`. On failure the temporary
// file is removed and an Error names `target`.
std::filesystem::path stageFile(const std::filesystem::path& target, std::string_view bytes);

// Renames `from` over `to` (atomic on one file system). Fails naming `to`.
void renameFile(const std::filesystem::path& from, const std::filesystem::path& to);

// stageFile + renameFile; the temporary file is removed when the rename fails.
void writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// Removes a file if it exists; a failure is ignored (used for leftovers and stale index files).
void removeFileQuietly(const std::filesystem::path& file) noexcept;

// Removes a file if it exists and makes the removal durable. Fails naming the file.
void removeFile(const std::filesystem::path& file);

// True for the names stageFile gives its temporary files, so leftovers of a killed run can be
// recognised and removed.
bool isTemporaryName(const std::filesystem::path& file);

// Removes the temporary files a killed run left in `folder`, whatever file they were meant for.
void removeTemporariesIn(const std::filesystem::path& folder) noexcept;

// Removes the temporary files a killed run left for `target` only.
void removeTemporariesOf(const std::filesystem::path& target) noexcept;

} // namespace tqz::io
