#include "platform/Text.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace tqz::text {
namespace {

using namespace std::string_literals;

// Windows-1252 bytes of a text written in UTF-8 here, so the cases stay readable.
std::string ansi(const std::string& utf8)
{
    return toAnsi(utf8);
}

TEST(TextTest, TrimRemovesCodes32AndBelowAtBothEndsOnly)
{
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        { "  abc  ", "abc" }, { "\t\r\n abc\x01\x1F ", "abc" }, { "\0abc\0"s, "abc" },
        { " a \t b ", "a \t b" }, { "", "" }, { " \t\r\n", "" }, { "\177a\177", "\177a\177" },
        { "\240a\240", "\240a\240" }, // the no-break space of Windows-1252 is above 32
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trim(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TextTest, IsBlankMeansEmptyOrOnlyCodes32AndBelow)
{
    EXPECT_TRUE(isBlank(""));
    EXPECT_TRUE(isBlank(" \t\r\n\x01"));
    EXPECT_TRUE(isBlank("\0\0"s));
    EXPECT_FALSE(isBlank(" a "));
    EXPECT_FALSE(isBlank("\xA0"));
}

TEST(TextTest, AsciiLowerFoldsOnlyAToZ)
{
    EXPECT_EQ(asciiLower("EXPORTAR"), "exportar");
    EXPECT_EQ(asciiLower("ImPoRtAr 1@[`"), "importar 1@[`");
    EXPECT_EQ(asciiLower(ansi("ÉXPORTAR ÑÁ")), ansi("Éxportar ÑÁ"));
}

TEST(TextTest, EqualsIgnoringCaseFollowsSpanishRules)
{
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        { "MATERIAS", "materias", true },
        { "ÑANDÚ", "ñandú", true },
        { "ÁREA", "área", true },
        { "AREA", "área", false },
        { "ÀÂÄÃÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ", "àâäãåæçèéêëìíîïðñòóôõöøùúûüýþ", true },
        { "ŠŒŽŸ", "šœžÿ", true },
        { "×", "÷", false },
        { "ß", "SS", false },
        { "abc", "ABCD", false },
        { "", "", true },
        { "a", "b", false },
        { "1A-b", "1a-B", true },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(equalsIgnoringCase(ansi(c.a), ansi(c.b)), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(equalsIgnoringCase(ansi(c.b), ansi(c.a)), c.equal) << c.b << " / " << c.a;
    }
}

TEST(TextTest, StrToIntAcceptsTheRuntimeSyntax)
{
    const struct {
        std::string text;
        std::int32_t value;
    } cases[] = {
        { "0", 0 },
        { "123", 123 },
        { "000123", 123 },
        { "   42", 42 },
        { "+7", 7 },
        { "-7", -7 },
        { "-0", 0 },
        { "  -5", -5 },
        { "2147483647", INT32_MAX },
        { "-2147483648", INT32_MIN },
        { "$1A2B", 6699 },
        { "$1a2b", 6699 },
        { "$00001A2B", 6699 },
        { "$0000000000FF", 255 },
        { "x1A", 26 },
        { "X1a", 26 },
        { "0x5A", 90 },
        { "0X5A", 90 },
        { "$5A", 90 },
        { "$7FFFFFFF", INT32_MAX },
        { "$80000000", INT32_MIN },
        { "$FFFFFFFF", -1 },
        { "-$10", -16 },
        { "+$10", 16 },
        { "-0x10", -16 },
        { "-$FFFFFFFF", 1 },
        { "-$80000000", INT32_MIN },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tryStrToInt(c.text), c.value) << '"' << c.text << '"';
        EXPECT_EQ(strToInt(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(TextTest, StrToIntRefusesEverythingElse)
{
    // clang-format off
    const std::string cases[] = {
        "", " ", "+", "-", "$", "x", "X", "0x", "0X", "+$", "-0x", "$0x1A", "$ 1A", "0x 1A", "90.5", "1h30",
        "90 ", "\t5", "5\t", "\n5", "- 5", "+-5", "--5", "1e3", "0x1G", "$G", "0x-1", "2147483648",
        "-2147483649", "99999999999999999999", "$123456789", "$FFFFFFFFF", "12\0"s, "\xEF\xBC\x91", "1,5", "0b101",
    };
    // clang-format on
    for (const auto& text : cases) {
        EXPECT_FALSE(tryStrToInt(text).has_value()) << '"' << text << '"';
    }
}

TEST(TextTest, StrToIntNamesTheTextAsGiven)
{
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        { "90 ", "'90 ' no es un valor entero válido" },
        { "", "'' no es un valor entero válido" },
        { "  1h30", "'  1h30' no es un valor entero válido" },
        { ansi("Año"), "'Año' no es un valor entero válido" },
    };
    for (const auto& c : cases) {
        try {
            strToInt(c.text);
            ADD_FAILURE() << "no error for \"" << c.text << '"';
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
        EXPECT_EQ(invalidIntegerMessage(c.text), c.message);
    }
}

TEST(TextTest, ToAnsiMapsWhatWindows1252HoldsAndBestFitsLatinLetters)
{
    const struct {
        std::string utf8;
        std::string expected;
    } cases[] = {
        { "A€ñÑáÉü’—Łā中😀Z", "\x41\x80\xF1\xD1\xE1\xC9\xFC\x92\x97\x4C\x61\x3F\x3F\x5A" },
        { "łŁșțȘȚāčČőŐğİıđĐħŧſ", "lLstSTacCoOgIidDht?" },
        { "Nguyễn Thị Ánh", "Nguyen Thi \xC1nh" },
        { "ŒœŠšŽžŸƒ", "\x8C\x9C\x8A\x9A\x8E\x9E\x9F\x83" },
        { "αЖ\u0130\u0131\uFEFF\u00A0", "??Ii?\xA0" },
        { "\u0080\u0081\u008D\u008F\u0090\u009D\u009F", "?\x81\x8D\x8F\x90\x9D?" },
        { "\t\r\n\x01", "\t\r\n\x01" },
        { "\0"s, "\0"s },
        { "ĲŉŊ", "???" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toAnsi(c.utf8), c.expected) << c.utf8;
    }
}

TEST(TextTest, ToAnsiJoinsCombiningAccentsOrDropsThem)
{
    const struct {
        std::string utf8;
        std::string expected;
    } cases[] = {
        { "Jose\u0301 Ibn\u0303ez", ansi("José Ibñez") },
        { "A\u030A N\u0303 C\u0327 Y\u0308 s\u030C", ansi("Å Ñ Ç Ÿ š") },
        { "l\u0301x", "lx" }, // ĺ is not in Windows-1252: the accent goes
        { "\u0301a", "a" }, // an accent with no letter before it
        { "n\u0303\u0301", ansi("ñ") }, // one accent joins, the next one goes
        { "\xC5\x81\u0301", "L" }, // the best-fit letter takes no accent
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toAnsi(c.utf8), c.expected) << c.utf8;
    }
}

TEST(TextTest, ToAnsiTurnsMalformedUtf8IntoQuestionMarks)
{
    const struct {
        std::string utf8;
        std::string expected;
    } cases[] = {
        // clang-format off
        {"\xFF", "?"},
        {"\x80", "?"},
        {"a\xC3", "a?"},
        {"\xC3" "A", "?A"},
        {"\xE2\x82", "?"},
        {"\xE2\x82" "A", "?A"},
        {"\xC0\xAF", "??"},           // overlong slash
        {"\xE0\x80\xAF", "???"},      // overlong slash in three bytes
        {"\xED\xA0\x80", "???"},      // a surrogate
        {"\xF4\x90\x80\x80", "????"}, // above U+10FFFF
        {"\xF0\x9F\x98", "?"},        // a cut emoji
        {"a\xF0\x9F\x98\x80" "b", "a?b"},
        {"\xF5\x80", "??"},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toAnsi(c.utf8), c.expected) << testing::PrintToString(c.utf8);
    }
}

std::string utf8Of(char32_t c)
{
    std::string utf8;
    const auto put = [&](std::uint32_t byte) { utf8 += static_cast<char>(byte); };
    if (c < 0x800) {
        put(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
    }
    put(0x80 | (c & 0x3F));
    return utf8;
}

bool isWindows1252Undefined(char32_t c)
{
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

TEST(TextTest, ToAnsiGivesOneByteAndNeverAControlForAnyOtherCharacter)
{
    for (char32_t c = 0x80; c < 0x110000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        if (c >= 0x0300 && c <= 0x036F) {
            continue; // combining accents join or vanish
        }
        const std::string out = toAnsi(utf8Of(c));
        ASSERT_EQ(out.size(), 1u) << std::hex << static_cast<std::uint32_t>(c);
        const auto byte = static_cast<unsigned char>(out[0]);
        if (!isWindows1252Undefined(c)) {
            ASSERT_TRUE(byte >= 0x20 && byte != 0x7F) << std::hex << static_cast<std::uint32_t>(c);
        }
    }
}

TEST(TextTest, FromAnsiGivesEveryByteOneCharacterAndComesBack)
{
    EXPECT_EQ(fromAnsi("\x80\xF1\xD1\x92\x9F"), "€ñÑ’Ÿ");
    EXPECT_EQ(fromAnsi("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(fromAnsi("a\0b"s), "a\0b"s);
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(toAnsi(fromAnsi(one)), one) << byte;
    }
}

} // namespace
} // namespace tqz::text
