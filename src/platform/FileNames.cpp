#include "platform/FileNames.h"

#include <string>
#include <system_error>

namespace tqz::files {

namespace {

constexpr std::string_view kTableExtension = ".DBF";

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && equalIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

} // namespace

std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& folder,
                                                       std::string_view name)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) {
        return std::nullopt;
    }
    // Directory order is arbitrary; of several names differing only in case the smallest wins,
    // so the same table is found on every run.
    std::optional<std::string> best;
    while (entries != std::filesystem::directory_iterator()) {
        const std::string entry = entries->path().filename().string();
        if (entry == name) {
            return folder / entry;
        }
        if (equalIgnoringAsciiCase(entry, name) && (!best || entry < *best)) {
            best = entry;
        }
        if (entries.increment(error); error) {
            break;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return folder / *best;
}

std::string tableFileName(std::string_view table)
{
    std::string name;
    for (const char c : table) {
        name += asciiUpper(c);
    }
    if (!endsWithIgnoringCase(name, kTableExtension)) {
        name += kTableExtension;
    }
    return name;
}

std::filesystem::path tablePath(const std::filesystem::path& folder, std::string_view table)
{
    const std::string fileName = tableFileName(table);
    if (auto existing = findIgnoringCase(folder, fileName)) {
        return *existing;
    }
    return folder / fileName;
}

} // namespace tqz::files
