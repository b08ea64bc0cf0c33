// INI files of any content through the status-file writer. Writing the status value twice gives
// the same file as writing it once; the value written is the one a reader then finds, first
// section and first key of those names winning, as the Windows reader does; the file on the disk is
// exactly the text computed, with no temporary file beside it.

#include "FuzzSupport.h"

#include "platform/Error.h"
#include "platform/ProfileWriter.h"

#include <optional>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tqz;

constexpr std::string_view kSection = "Transformadores";
constexpr std::string_view kKey = "Transformado";
constexpr std::string_view kValue = "-1";

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) {
        text.remove_prefix(1);
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) {
        text.remove_suffix(1);
    }
    return text;
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::string_view> sectionOf(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    const std::size_t close = line.rfind(']');
    return trimmed(close == std::string_view::npos ? line : line.substr(0, close));
}

// The value of the key in the section, read as the timetabling program reads it (8-bit files).
std::optional<std::string_view> readBack(std::string_view text)
{
    bool inSection = false;
    bool sectionSeen = false;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        const std::string_view line = text.substr(0, feed);
        text.remove_prefix(feed == std::string_view::npos ? text.size() : feed + 1);
        if (const auto section = sectionOf(line)) {
            if (inSection || sectionSeen) {
                inSection = false;
                continue;
            }
            inSection = sameName(*section, kSection);
            sectionSeen = inSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos
            && sameName(trimmed(line.substr(0, equals)), kKey)) {
            return trimmed(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::Scratch scratch;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string once = ini::withProfileString(bytes, kSection, kKey, kValue);
    fuzz::require(
        ini::withProfileString(once, kSection, kKey, kValue) == once, "a second write changed the file");
    if (!bytes.starts_with("\xFF\xFE")) {
        fuzz::require(readBack(once) == kValue, "the value written is not the one read back");
    }
    const fs::path file = scratch / "Quorvane.ini";
    fuzz::writeBytes(file, bytes);
    ini::writeProfileString(file, kSection, kKey, kValue);
    fuzz::require(fuzz::readBytes(file) == once, "the file on the disk is not the text computed");
    fuzz::require(
        fuzz::snapshot(scratch.path()).size() == 1, "the writer left a file beside the status file");
    return 0;
}
