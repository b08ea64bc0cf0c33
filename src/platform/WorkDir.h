#pragma once

// The working directory shared with the timetabling program: C:\WTEMP on Windows. Elsewhere the
// timetabling program runs under Wine, so the folder is drive_c/WTEMP of the Wine prefix
// ($WINEPREFIX, default ~/.wine), its name matched without regard to letter case. The environment
// variable TQZ_WTEMP, when set, names the folder instead.

#include <filesystem>

namespace tqz {

std::filesystem::path defaultWorkDir();

// The folder where the file dialog starts: the working directory's "zentris" folder (found
// without regard to letter case).
std::filesystem::path zentrisFolder(const std::filesystem::path& workDir);

} // namespace tqz
