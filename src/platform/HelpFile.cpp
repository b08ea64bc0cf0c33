#include "platform/HelpFile.h"

#include "platform/FileNames.h"
#include "platform/Text.h"

#include <system_error>

namespace tqz::help {

bool isCompiledHelpName(std::string_view windowsPath)
{
    const std::size_t dot = windowsPath.rfind('.');
    return dot != windowsPath.npos && text::asciiLower(windowsPath.substr(dot)) == ".chm";
}

std::filesystem::path driveRootOf(const std::filesystem::path& workDir)
{
    const auto absolute = std::filesystem::absolute(workDir).lexically_normal();
    const auto folder = absolute.has_filename() ? absolute : absolute.parent_path();
    return folder.parent_path();
}

std::optional<std::filesystem::path> locateHelpFile(
    std::string_view windowsPath, const std::filesystem::path& driveRoot)
{
    if (windowsPath.size() >= 2 && windowsPath[1] == ':') {
        windowsPath.remove_prefix(2);
    }
    auto found = driveRoot;
    while (!windowsPath.empty()) {
        const std::size_t separator = windowsPath.find_first_of("\\/");
        const auto name = windowsPath.substr(0, separator);
        windowsPath.remove_prefix(separator == windowsPath.npos ? windowsPath.size() : separator + 1);
        if (name.empty() || name == ".") {
            continue;
        }
        const auto entry = files::findIgnoringCase(found, name);
        if (!entry) {
            return std::nullopt;
        }
        found = *entry;
    }
    std::error_code error;
    if (found == driveRoot || !std::filesystem::is_regular_file(found, error)) {
        return std::nullopt;
    }
    return found;
}

} // namespace tqz::help
