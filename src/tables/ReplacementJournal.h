#pragma once

// The record of a replacement of the working tables while it is under way. A run that is killed or
// loses power while it renames the new tables into place would leave some tables new and others
// old; the record, written before the first rename, lets the next run finish the replacement or
// undo it, so the timetabling program only ever sees one whole set of tables.
//
// The record lives in the working folder under one of two names: "TQZ-REEMPLAZO.TXT" while the
// replacement goes forward, "TQZ-DESHACER.TXT" once it is being undone. Switching is a rename, so
// it needs no free space and is atomic. The files it names are plain names in the working folder.

#include <filesystem>
#include <string>
#include <vector>

namespace tqz::tables::journal {

struct TableStep {
    std::string target; // the table's file, such as "PROFT.DBF"
    std::string staged; // the temporary file holding the new table
    std::string backup; // the temporary file holding the old table; empty when there was none
};

struct Plan {
    std::vector<TableStep> tables;
    // Stale index files and copies of the tables under other letter cases, removed once the new
    // tables are in place.
    std::vector<std::string> staleFiles;
};

// Writes the forward record, atomically and durably, before the first rename.
void write(const std::filesystem::path& workDir, const Plan& plan);

// Turns the forward record into the record of an undo. False when that rename failed: the record
// then stays forward and the next run completes the replacement.
bool markForUndo(const std::filesystem::path& workDir) noexcept;

// Renames each staged table that is still there into place, removes the stale files and the
// backups, then the forward record. Each step may be repeated after an interruption.
void complete(const std::filesystem::path& workDir, const Plan& plan);

// Puts each backup back over its table, removes the new tables that had no predecessor and the
// staged files, then the undo record. Each step may be repeated after an interruption.
void undo(const std::filesystem::path& workDir, const Plan& plan);

// Before a run does anything else: an interrupted replacement found in `workDir` is completed or
// undone as its record says, and the temporary files killed runs left there are removed. A table
// held by another program stops this with the message naming it, and the record stays for the
// next run.
void recover(const std::filesystem::path& workDir);

} // namespace tqz::tables::journal
