#pragma once

// Text rules shared by every part of the tool. Inside the tool, values are 8-bit text in the
// ANSI code page (Windows-1252 where the system has none), as the working tables store them;
// the XML layer speaks UTF-8 and converts at the boundary with toAnsi/fromAnsi.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tqz::text {

// Removes every leading and trailing character of code 32 or below (blanks and control
// characters); characters inside the text stay.
std::string_view trim(std::string_view text);

// Empty, or made only of characters of code 32 or below.
bool isBlank(std::string_view text);

// UTF-8 → 8-bit ANSI text. A character the code page lacks loses its diacritic where that gives a
// letter it has (ł → l, ș → s); anything else becomes "?", never a control character. Malformed
// UTF-8 bytes become "?" as well.
std::string toAnsi(std::string_view utf8);

// 8-bit ANSI text → UTF-8. Every byte maps to one character (the five bytes Windows-1252 leaves
// undefined map to the C1 controls of the same number).
std::string fromAnsi(std::string_view ansi);

// Case-insensitive equality of two 8-bit ANSI texts by the rules of a Spanish locale:
// ñ = Ñ, á = Á, but a ≠ á.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Lower-cases the letters A to Z only (the runtime's LowerCase); every other byte stays.
std::string asciiLower(std::string_view text);

// The runtime's text-to-integer conversion: leading spaces only, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X" (at most eight significant);
// signed 32-bit (hexadecimal 80000000-FFFFFFFF wrap to negative). Anything else, a trailing blank
// included, fails with "'<text>' no es un valor entero válido", the text as given, untrimmed.
std::int32_t strToInt(std::string_view text);
std::optional<std::int32_t> tryStrToInt(std::string_view text);

// The message of a failed conversion, for callers that add context around it. Messages are UTF-8,
// so the ANSI text is converted into it.
std::string invalidIntegerMessage(std::string_view text);

} // namespace tqz::text
