#pragma once

// Replacing the working tables as one step. The timetabling program must never see tables of two
// documents side by side, so every new table is finished and written beside its target before
// any target changes, and a failure at any point leaves every table as it was.

#include <filesystem>
#include <string>
#include <vector>

namespace tqz::tables {

struct TableImage {
    std::string name; // the table's name, such as "PROFT"
    std::string bytes; // the complete .DBF file
};

// Replaces the tables of `workDir` by `images`, all of them or none:
//  1. each image is written to a temporary file beside its table;
//  2. every existing file of the tables is locked exclusively, so a table held open by another
//     program stops the replacement before anything has changed, and copied to a backup;
//  3. the record of the replacement (ReplacementJournal.h) is written, then each temporary file is
//     renamed over its table; should a rename fail, the tables already replaced get their backups
//     back. A run killed among the renames leaves the record, and the next run's WorkFolder
//     completes or undoes the replacement.
// A table's file is found without regard to letter case and replaced under its existing name;
// other copies of it that differ only in case are removed, so one file per table remains. The
// stale index file <name>.MDX (any case) is deleted. No temporary file is left in any outcome a run
// lives to see. A missing working folder, or a file in its place, is an error naming it.
void replaceTables(const std::filesystem::path& workDir, const std::vector<TableImage>& images);

} // namespace tqz::tables
