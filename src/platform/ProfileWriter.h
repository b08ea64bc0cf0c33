#pragma once

// Our own profile-string writer, with the observable behaviour of the Windows one that the
// timetabling program reads the status file with: the file, the section and the key are created
// when missing; section and key names match without regard to letter case; an existing key keeps
// its spelling and gets the new value in place; every other line stays byte for byte, its line
// end included. A file that starts with the UTF-16LE byte-order mark is edited as UTF-16LE, as
// Windows does; any other file is taken as 8-bit text.

#include <filesystem>
#include <string>
#include <string_view>

namespace tqz::ini {

// The text of an INI file after `key`=`value` has been written into `section`. `fileText` is the
// whole file as read (empty for a missing file).
std::string withProfileString(
    std::string_view fileText, std::string_view section, std::string_view key, std::string_view value);

// Writes `key`=`value` into `section` of `file`. The file is replaced as a whole through a
// temporary file, so it is never left half-written. Any failure raises
// "Unable to write to <file>".
void writeProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
    std::string_view value);

// The message of a failed write.
std::string unableToWriteMessage(const std::filesystem::path& file);

} // namespace tqz::ini
