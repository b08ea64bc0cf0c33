#include "convert/CodesSeen.h"

#include "platform/Text.h"

#include <array>
#include <functional>

namespace tqz::convert {

namespace {

// Upper-case letters of Windows-1252 and their lower-case partners. The fold only has to bring
// together what equalsIgnoringCase equates; the equality itself stays the final judge.
constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table {};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    for (std::size_t c = 'A'; c <= 'Z'; ++c) {
        table[c] = static_cast<unsigned char>(c + 0x20);
    }
    for (std::size_t c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) { // × has no lower case
            table[c] = static_cast<unsigned char>(c + 0x20);
        }
    }
    table[0x8A] = 0x9A; // Š š
    table[0x8C] = 0x9C; // Œ œ
    table[0x8E] = 0x9E; // Ž ž
    table[0x9F] = 0xFF; // Ÿ ÿ
    return table;
}

constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

} // namespace

std::string foldedCode(std::string_view code)
{
    std::string folded(code);
    for (char& c : folded) {
        c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
    }
    return folded;
}

std::size_t CodesSeen::FoldedHash::operator()(const std::string& code) const
{
    return std::hash<std::string> {}(foldedCode(code));
}

bool CodesSeen::EqualIgnoringCase::operator()(const std::string& a, const std::string& b) const
{
    return text::equalsIgnoringCase(a, b);
}

bool CodesSeen::add(std::string_view code)
{
    return m_codes.insert(std::string(code)).second;
}

} // namespace tqz::convert
