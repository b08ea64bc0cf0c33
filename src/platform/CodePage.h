#pragma once

// The 8-bit code pages a dBase table may declare by its language-driver byte, and the conversion
// of their text into the tool's ANSI text (the table engine transliterates OEM tables to ANSI).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tqz::codepage {

enum class CodePage { Windows1252, Dos437, Dos850, Windows1250, Windows1251, Dos852, Dos866 };

// The code page a language-driver byte declares; 0x00 and unknown values give Windows-1252.
CodePage fromLanguageDriver(std::uint8_t languageDriver);

// Text stored in `page` → UTF-8. Every byte gives one character; bytes below 0x80 are ASCII
// (controls included) and the bytes a Windows page leaves undefined give the C1 control of the
// same number, so the text comes back byte for byte through fromUtf8.
std::string toUtf8(std::string_view bytes, CodePage page);

// UTF-8 → text in `page`. A character the page lacks loses its diacritic where that gives a letter
// it has (ł → l, ș → s, ő → o; a combining accent joins the letter before it where the page has the
// accented letter, and is dropped otherwise); anything else becomes "?", and so does every
// malformed UTF-8 sequence. Characters the page holds, controls included, keep their byte.
std::string fromUtf8(std::string_view utf8, CodePage page);

// Reads the UTF-8 character at `pos` and moves past it. A malformed sequence (overlong forms,
// surrogates and values past U+10FFFF included) gives U+FFFD and moves past its longest
// well-formed start only, so the byte that broke it begins the next character.
char32_t readUtf8(std::string_view utf8, std::size_t& pos);

// Text stored in `page` → the tool's ANSI text (best fit, "?" for what ANSI lacks).
std::string toAnsi(std::string_view bytes, CodePage page);

} // namespace tqz::codepage
