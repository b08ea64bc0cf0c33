#pragma once

// Windows file systems ignore letter case; ours may not. The working tables are found as the
// timetabling program would find them: SOLUC.DBF, soluc.dbf and Soluc.dbf are the same table.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tqz::files {

// The entry of `folder` whose name equals `name` without regard to ASCII letter case (an exact
// match wins over others, and of several others the smallest name, so every run finds the same
// file); nothing when there is none or the folder cannot be read.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder,
                                                       std::string_view name);

// The file name of table `table`: upper case, with ".DBF" added unless the name already ends in
// it (the builders name their tables "PROFT.DBF", the form's components "PROFT").
std::string tableFileName(std::string_view table);

// The path of table `table` in `folder`: the existing file <table>.DBF in any letter case, or,
// when there is none, folder / "<table>.DBF" (upper case, as the tool writes it).
std::filesystem::path tablePath(const std::filesystem::path& folder, std::string_view table);

} // namespace tqz::files
