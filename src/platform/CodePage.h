#pragma once

// The 8-bit code pages a dBase table may declare by its language-driver byte, and the conversion
// of their text into the tool's ANSI text (the table engine transliterates OEM tables to ANSI).

#include <cstdint>
#include <string>
#include <string_view>

namespace tqz::codepage {

enum class CodePage { Windows1252, Dos437, Dos850, Windows1250, Windows1251, Dos852, Dos866 };

// The code page a language-driver byte declares; 0x00 and unknown values give Windows-1252.
CodePage fromLanguageDriver(std::uint8_t languageDriver);

// Text stored in `page` → the tool's ANSI text (best fit, "?" for what ANSI lacks).
std::string toAnsi(std::string_view bytes, CodePage page);

} // namespace tqz::codepage
