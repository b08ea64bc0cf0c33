#pragma once

// Where the help file is. The window names it as Windows does, from the root of the current
// drive without a drive letter ("\qvndir\ZENTRIS.chm"). Elsewhere the drive is the one the
// working directory lies on: the folder that holds the working directory stands for its root
// (drive_c of the Wine prefix, where the timetabling program keeps C:\WTEMP), and each name along
// the path is found without regard to letter case, as on the Windows file system, so
// "\qvndir" and "\QVNDIR" reach the same folder.

#include <filesystem>
#include <optional>
#include <string_view>

namespace tqz::help {

// The help file set at start-up, and the one the help button sets.
inline constexpr std::string_view kStartupHelpFile = "\\qvndir\\ZENTRIS.chm";
inline constexpr std::string_view kButtonHelpFile = "\\QVNDIR\\ZENTRIS.chm";

// The help context of the window and of every control in it.
inline constexpr int kWindowContext = 1;

// The help viewer serves only compiled help files: the text from the name's last "." on is
// ".chm" in any letter case.
bool isCompiledHelpName(std::string_view windowsPath);

// The folder that stands for the root of the working directory's drive.
std::filesystem::path driveRootOf(const std::filesystem::path& workDir);

// The existing file that `windowsPath` (from the drive's root, with or without a drive letter)
// names under `driveRoot`; nothing when a part of it is missing.
std::optional<std::filesystem::path> locateHelpFile(
    std::string_view windowsPath, const std::filesystem::path& driveRoot);

} // namespace tqz::help
