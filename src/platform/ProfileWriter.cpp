#include "platform/ProfileWriter.h"

#include "platform/Error.h"
#include "platform/FileIo.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <system_error>
#include <vector>

namespace tqz::ini {
namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";

// One line of the file: its text and the line end it had ("\r\n", "\n", or nothing on an
// unterminated last line). Lines that are not changed are written back from these two pieces.
template <typename Char> struct Line {
    std::basic_string_view<Char> content;
    std::basic_string_view<Char> end;
};

template <typename Char> std::vector<Line<Char>> splitLines(std::basic_string_view<Char> text)
{
    std::vector<Line<Char>> lines;
    while (!text.empty()) {
        const std::size_t feed = text.find(Char('\n'));
        if (feed == text.npos) {
            lines.push_back({ text, {} });
            break;
        }
        const std::size_t contentEnd = feed > 0 && text[feed - 1] == Char('\r') ? feed - 1 : feed;
        lines.push_back({ text.substr(0, contentEnd), text.substr(contentEnd, feed + 1 - contentEnd) });
        text.remove_prefix(feed + 1);
    }
    return lines;
}

template <typename Char> bool isBlankChar(Char c)
{
    return static_cast<std::uint32_t>(c) <= 32;
}

template <typename Char> std::basic_string_view<Char> trimmed(std::basic_string_view<Char> text)
{
    while (!text.empty() && isBlankChar(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlankChar(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

template <typename Char> Char asciiLower(Char c)
{
    return c >= Char('A') && c <= Char('Z') ? Char(c + ('a' - 'A')) : c;
}

// Section and key names are ASCII here, so folding A-Z is enough to match them as Windows does.
template <typename Char> bool sameName(std::basic_string_view<Char> written, std::string_view wanted)
{
    if (written.size() != wanted.size()) {
        return false;
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (asciiLower(written[i]) != Char(asciiLower(static_cast<unsigned char>(wanted[i])))) {
            return false;
        }
    }
    return true;
}

// "[ name ]" names the section "name"; a header without its closing bracket runs to the line end.
template <typename Char> std::optional<std::basic_string_view<Char>> sectionName(const Line<Char>& line)
{
    const auto text = trimmed(line.content);
    if (text.empty() || text.front() != Char('[')) {
        return std::nullopt;
    }
    auto name = text.substr(1);
    const std::size_t close = name.rfind(Char(']'));
    return trimmed(close == name.npos ? name : name.substr(0, close));
}

// Any line with "=" is a key line, comments included: ";Transformado=5" is a key of that name.
template <typename Char> std::optional<std::basic_string_view<Char>> keyName(const Line<Char>& line)
{
    const std::size_t equals = line.content.find(Char('='));
    if (equals == line.content.npos || sectionName(line)) {
        return std::nullopt;
    }
    return trimmed(line.content.substr(0, equals));
}

template <typename Char> std::basic_string<Char> widened(std::string_view ascii)
{
    std::basic_string<Char> text;
    for (char c : ascii) {
        text.push_back(Char(static_cast<unsigned char>(c)));
    }
    return text;
}

template <typename Char>
std::basic_string<Char> joined(const std::vector<Line<Char>>& lines, std::size_t from, std::size_t to)
{
    std::basic_string<Char> text;
    for (std::size_t i = from; i < to; ++i) {
        text.append(lines[i].content).append(lines[i].end);
    }
    return text;
}

template <typename Char>
std::optional<std::size_t> findSection(const std::vector<Line<Char>>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i]);
        if (name && sameName(*name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

template <typename Char>
std::basic_string<Char> updated(
    std::basic_string_view<Char> text, std::string_view section, std::string_view key, std::string_view value)
{
    const auto lines = splitLines(text);
    const auto crlf = widened<Char>("\r\n");
    const auto header = findSection(lines, section);
    if (!header) {
        std::basic_string<Char> result(text);
        if (!lines.empty() && lines.back().end.empty()) {
            result += crlf;
        }
        return result + widened<Char>("[") + widened<Char>(section) + widened<Char>("]") + crlf
            + widened<Char>(key) + Char('=') + widened<Char>(value) + crlf;
    }
    std::size_t sectionEnd = *header + 1;
    while (sectionEnd < lines.size() && !sectionName(lines[sectionEnd])) {
        ++sectionEnd;
    }
    for (std::size_t i = *header + 1; i < sectionEnd; ++i) {
        const auto name = keyName(lines[i]);
        if (name && sameName(*name, key)) {
            return joined(lines, 0, i) + std::basic_string<Char>(*name) + Char('=') + widened<Char>(value)
                + std::basic_string<Char>(lines[i].end) + joined(lines, i + 1, lines.size());
        }
    }
    // A new key goes right after the section's last non-blank line, before any blank lines.
    std::size_t last = sectionEnd - 1;
    while (last > *header && trimmed(lines[last].content).empty()) {
        --last;
    }
    auto result = joined(lines, 0, last + 1);
    if (lines[last].end.empty()) {
        result += crlf;
    }
    return result + widened<Char>(key) + Char('=') + widened<Char>(value) + crlf
        + joined(lines, last + 1, lines.size());
}

std::u16string fromUtf16Le(std::string_view bytes)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return text;
}

std::string toUtf16Le(std::u16string_view text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::string readExisting(const std::filesystem::path& file)
{
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (std::filesystem::is_directory(status)) {
        fail(unableToWriteMessage(file));
    }
    return std::filesystem::exists(status) ? io::readFile(file) : std::string();
}

} // namespace

std::string withProfileString(
    std::string_view fileText, std::string_view section, std::string_view key, std::string_view value)
{
    if (!fileText.starts_with(kUtf16Mark)) {
        return updated(fileText, section, key, value);
    }
    // An odd last byte is not part of any character; it is kept at the end as it was.
    const auto body = fileText.substr(kUtf16Mark.size());
    const auto text = fromUtf16Le(body);
    return std::string(kUtf16Mark) + toUtf16Le(updated(std::u16string_view(text), section, key, value))
        + std::string(body.size() % 2 == 1 ? body.substr(body.size() - 1) : std::string_view());
}

void writeProfileString(
    const std::filesystem::path& file, std::string_view section, std::string_view key, std::string_view value)
{
    // Whatever went wrong underneath, the caller sees the one message the status file has always
    // given; the file itself is either the old one or the new one. A temporary file that a killed
    // run left beside it goes first.
    io::removeTemporariesOf(file);
    try {
        io::writeFileAtomically(file, withProfileString(readExisting(file), section, key, value));
    } catch (const Error&) {
        fail(unableToWriteMessage(file));
    }
}

std::string unableToWriteMessage(const std::filesystem::path& file)
{
    return "Unable to write to " + file.string();
}

} // namespace tqz::ini
