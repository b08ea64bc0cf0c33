#include "convert/CodesSeen.h"

#include "platform/Text.h"

#include <gtest/gtest.h>

namespace tqz::convert {
namespace {

// The set hashes on the folded code and compares with equalsIgnoringCase; it finds every duplicate
// only if two characters that compare equal always fold alike.
TEST(CodesSeenTest, CharactersThatCompareEqualFoldAlike)
{
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            const std::string left(1, static_cast<char>(a));
            const std::string right(1, static_cast<char>(b));
            if (text::equalsIgnoringCase(left, right)) {
                EXPECT_EQ(foldedCode(left), foldedCode(right)) << a << " " << b;
            }
        }
    }
}

TEST(CodesSeenTest, TheFirstOfEqualCodesIsAdded)
{
    CodesSeen codes;
    EXPECT_TRUE(codes.add("\xD1"
                          "AND\xDA")); // ÑANDÚ
    EXPECT_FALSE(codes.add("\xF1"
                           "and\xFA")); // ñandú
    EXPECT_TRUE(codes.add("NAND\xDA")); // NANDÚ: ñ is not n
    EXPECT_TRUE(codes.add(""));
    EXPECT_FALSE(codes.add(""));
}

} // namespace
} // namespace tqz::convert
