#include "platform/Text.h"

#include "platform/CodePage.h"
#include "platform/Error.h"

#include <algorithm>
#include <cstddef>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tqz::text {
namespace {

bool isBlankChar(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// Windows-1252 folded to lower case as a Spanish locale compares it: A-Z, the accented capitals
// À-Þ (but not the multiplication sign ×), Š, Œ, Ž and Ÿ. Accents stay significant.
unsigned char foldCase(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
        return static_cast<unsigned char>(byte + 0x20);
    }
    if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {
        return static_cast<unsigned char>(byte + 0x10);
    }
    return byte == 0x9F ? 0xFF : byte;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The runtime refuses a hexadecimal number once a further digit would shift bits out of 32, so at
// most eight significant digits pass; leading zeros are free.
std::optional<std::uint32_t> parseHex(std::string_view digits)
{
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0 || value > 0x0FFFFFFFu) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::optional<std::uint32_t> parseDecimal(std::string_view digits, std::uint32_t limit)
{
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

// The digits after a hexadecimal prefix ("$", "x", "X", "0x", "0X"), or nothing for a decimal
// number.
std::optional<std::string_view> hexDigits(std::string_view number)
{
    if (number.starts_with('$') || number.starts_with('x') || number.starts_with('X')) {
        return number.substr(1);
    }
    if (number.starts_with("0x") || number.starts_with("0X")) {
        return number.substr(2);
    }
    return std::nullopt;
}

#ifdef _WIN32
// On Windows the user's ANSI code page decides, with the system's own best fit.
std::wstring toWide(std::string_view bytes, UINT codePage)
{
    const int size = static_cast<int>(bytes.size());
    std::wstring wide(
        static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string fromWide(const std::wstring& wide, UINT codePage)
{
    const int size = static_cast<int>(wide.size());
    std::string bytes(static_cast<std::size_t>(
                          WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(
        codePage, 0, wide.data(), size, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}
#endif

} // namespace

std::string_view trim(std::string_view text)
{
    const auto first = std::find_if_not(text.begin(), text.end(), isBlankChar);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlankChar).base();
    return first < last ? std::string_view(first, last) : std::string_view();
}

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), isBlankChar);
}

#ifdef _WIN32
std::string toAnsi(std::string_view utf8)
{
    return utf8.empty() ? std::string() : fromWide(toWide(utf8, CP_UTF8), CP_ACP);
}

std::string fromAnsi(std::string_view ansi)
{
    return ansi.empty() ? std::string() : fromWide(toWide(ansi, CP_ACP), CP_UTF8);
}
#else
// Where the system has no ANSI code page, the tool's 8-bit text is Windows-1252.
std::string toAnsi(std::string_view utf8)
{
    return codepage::fromUtf8(utf8, codepage::CodePage::Windows1252);
}

std::string fromAnsi(std::string_view ansi)
{
    return codepage::toUtf8(ansi, codepage::CodePage::Windows1252);
}
#endif

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return foldCase(x) == foldCase(y); });
}

std::string asciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

std::optional<std::int32_t> tryStrToInt(std::string_view text)
{
    // Only the space counts as a leading blank; a tab or a trailing blank makes the text invalid.
    std::string_view number = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    const bool negative = number.starts_with('-');
    if (negative || number.starts_with('+')) {
        number.remove_prefix(1);
    }
    const auto hex = hexDigits(number);
    const auto magnitude = hex ? parseHex(*hex) : parseDecimal(number, negative ? 0x80000000u : 0x7FFFFFFFu);
    if (!magnitude) {
        return std::nullopt;
    }
    // Hexadecimal 80000000-FFFFFFFF wrap to negative numbers, and "-" negates modulo 2^32 as the
    // runtime's 32-bit arithmetic does.
    return static_cast<std::int32_t>(negative ? 0u - *magnitude : *magnitude);
}

std::int32_t strToInt(std::string_view text)
{
    if (const auto value = tryStrToInt(text)) {
        return *value;
    }
    fail(invalidIntegerMessage(text));
}

std::string invalidIntegerMessage(std::string_view text)
{
    return "'" + fromAnsi(text) + "' no es un valor entero válido";
}

} // namespace tqz::text
