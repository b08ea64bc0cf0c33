#include "platform/CodePage.h"
#include "platform/Text.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>

namespace tqz::codepage {
namespace {

std::string hexOf(std::string_view bytes)
{
    std::ostringstream out;
    for (char c : bytes) {
        out << std::hex << std::setw(2) << std::setfill('0')
            << static_cast<int>(static_cast<unsigned char>(c));
    }
    return out.str();
}

std::string bytesOf(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

TEST(CodePageTest, LanguageDriverNamesThePage)
{
    const struct {
        std::uint8_t driver;
        CodePage page;
    } cases[] = {
        // clang-format off
        {0x00, CodePage::Windows1252}, {0x01, CodePage::Dos437},      {0x18, CodePage::Dos437},
        {0x1B, CodePage::Dos437},      {0x02, CodePage::Dos850},      {0x14, CodePage::Dos850},
        {0x37, CodePage::Dos850},      {0x03, CodePage::Windows1252}, {0x57, CodePage::Windows1252},
        {0x58, CodePage::Windows1252}, {0x59, CodePage::Windows1252}, {0x64, CodePage::Dos852},
        {0x23, CodePage::Dos852},      {0x65, CodePage::Dos866},      {0x26, CodePage::Dos866},
        {0xC8, CodePage::Windows1250}, {0xC9, CodePage::Windows1251}, {0x66, CodePage::Windows1252},
        {0x7B, CodePage::Windows1252}, {0xF0, CodePage::Windows1252}, {0xFF, CodePage::Windows1252},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromLanguageDriver(c.driver), c.page) << static_cast<int>(c.driver);
    }
}

// Python's codecs are an independent source of the same mapping tables. It refuses the bytes a
// Windows page leaves undefined; Windows gives them the C1 control of the same number.
constexpr const char* kPythonDecode = R"(
import sys
codec = sys.argv[1]
for b in range(256):
    try:
        c = bytes([b]).decode(codec)
    except UnicodeDecodeError:
        c = chr(b)
    print(c.encode('utf-8').hex())
)";

TEST(CodePageTest, EveryByteDecodesAsPythonsCodecSays)
{
    const struct {
        CodePage page;
        const char* codec;
    } pages[] = {
        { CodePage::Windows1252, "cp1252" },
        { CodePage::Dos437, "cp437" },
        { CodePage::Dos850, "cp850" },
        { CodePage::Windows1250, "cp1250" },
        { CodePage::Windows1251, "cp1251" },
        { CodePage::Dos852, "cp852" },
        { CodePage::Dos866, "cp866" },
    };
    for (const auto& p : pages) {
        const auto python = test::runProgram({ TQZ_SYSTEM_PYTHON, "-c", kPythonDecode, p.codec });
        ASSERT_EQ(python.exitCode, 0) << python.errors;
        std::istringstream expected(python.output);
        std::string line;
        for (int byte = 0; byte < 256; ++byte) {
            ASSERT_TRUE(std::getline(expected, line));
            EXPECT_EQ(hexOf(toUtf8(std::string(1, static_cast<char>(byte)), p.page)), line)
                << p.codec << " byte " << byte;
        }
    }
}

// The best-fit letters come from the Unicode names: "LATIN SMALL LETTER L WITH STROKE" gives "l".
constexpr const char* kPythonBaseLetters = R"(
import re, unicodedata
name = re.compile(r'^LATIN (CAPITAL|SMALL) LETTER (?:DOTLESS )?([A-Z])(?: WITH (?!SMALL LETTER).+)?$')
for lo, hi in ((0x100, 0x250), (0x1E00, 0x1F00)):
    for cp in range(lo, hi):
        try:
            print(chr(cp).encode().hex(), chr(cp).encode('cp1252').hex())
            continue
        except UnicodeEncodeError:
            pass
        m = name.match(unicodedata.name(chr(cp), ''))
        base = (m.group(2) if m.group(1) == 'CAPITAL' else m.group(2).lower()) if m else '?'
        print(chr(cp).encode().hex(), base.encode().hex())
)";

TEST(CodePageTest, LettersWithDiacriticsLoseThemAsTheirUnicodeNamesSay)
{
    const auto python = test::runProgram({ TQZ_SYSTEM_PYTHON, "-c", kPythonBaseLetters });
    ASSERT_EQ(python.exitCode, 0) << python.errors;
    std::istringstream expected(python.output);
    std::string utf8;
    std::string hex;
    int checked = 0;
    while (expected >> utf8 >> hex) {
        EXPECT_EQ(hexOf(fromUtf8(bytesOf(utf8), CodePage::Windows1252)), hex) << utf8;
        ++checked;
    }
    EXPECT_EQ(checked, (0x250 - 0x100) + (0x1F00 - 0x1E00));
}

TEST(CodePageTest, OemAndOtherPagesBecomeAnsiText)
{
    const struct {
        std::string bytes;
        CodePage page;
        std::string ansi;
    } cases[] = {
        { "\xA4\xA5\xA0\x82\x81", CodePage::Dos437, "\xF1\xD1\xE1\xE9\xFC" }, // ñÑáéü
        { "\xC4\xB3\xDB", CodePage::Dos437, "???" }, // box drawing
        { "\x90\xA2\xD5\xE0", CodePage::Dos850, "\xC9\xF3i\xD3" }, // ÉóıÓ
        { "\x88\x9D\xE7", CodePage::Dos852, "lL\x9A" }, // łŁš
        { "\xB3\x9A\xE8", CodePage::Windows1250,
            "l\x9A"
            "c" }, // łšč
        { "\xC0\xE0", CodePage::Windows1251, "??" }, // Аа
        { "\x80\xA0\xF0", CodePage::Dos866, "???" }, // АаЁ
        { "ABC 123\t", CodePage::Dos866, "ABC 123\t" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hexOf(toAnsi(c.bytes, c.page)), hexOf(c.ansi)) << hexOf(c.bytes);
    }
}

TEST(CodePageTest, EveryByteOfEveryPageGivesOneAnsiByte)
{
    const CodePage pages[] = { CodePage::Windows1252, CodePage::Dos437, CodePage::Dos850,
        CodePage::Windows1250, CodePage::Windows1251, CodePage::Dos852, CodePage::Dos866 };
    for (CodePage page : pages) {
        for (int byte = 0; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte));
            const std::string ansi = toAnsi(one, page);
            ASSERT_EQ(ansi.size(), 1u) << static_cast<int>(page) << " byte " << byte;
            if (page == CodePage::Windows1252) {
                EXPECT_EQ(ansi, one) << byte;
            }
        }
    }
}

TEST(CodePageTest, FromUtf8WritesTheTargetPage)
{
    EXPECT_EQ(hexOf(fromUtf8("łŚžćÄ€", CodePage::Windows1250)), "b38c9ee6c480");
    EXPECT_EQ(hexOf(fromUtf8("ñÑ│é", CodePage::Dos850)), "a4a5b382");
    EXPECT_EQ(hexOf(fromUtf8("Жñ", CodePage::Windows1251)), "c63f");
}

} // namespace
} // namespace tqz::codepage
