#include "platform/WorkDir.h"

#include "platform/FileNames.h"

#include <cstdlib>
#include <string_view>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace tqz {

namespace fs = std::filesystem;

namespace {

constexpr const char* kWorkDirVariable = "TQZ_WTEMP";

// An environment variable's value; an empty one counts as unset.
const char* environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// The entry `name` of `folder` in whatever letter case it exists, else `name` as given.
fs::path childIgnoringCase(const fs::path& folder, std::string_view name)
{
    const auto found = files::findIgnoringCase(folder, name);
    return found ? *found : folder / name;
}

#ifndef _WIN32
fs::path homeFolder()
{
    if (const char* home = environment("HOME")) {
        return home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? fs::path(entry->pw_dir) : fs::path(".");
}

fs::path winePrefix()
{
    if (const char* prefix = environment("WINEPREFIX")) {
        return prefix;
    }
    return homeFolder() / ".wine";
}
#endif

} // namespace

fs::path defaultWorkDir()
{
    if (const char* chosen = environment(kWorkDirVariable)) {
        return chosen;
    }
#ifdef _WIN32
    return fs::path("C:\\WTEMP");
#else
    return childIgnoringCase(childIgnoringCase(winePrefix(), "drive_c"), "WTEMP");
#endif
}

fs::path zentrisFolder(const fs::path& workDir)
{
    return childIgnoringCase(workDir, "zentris");
}

} // namespace tqz
