// The one UTF-8 decoder: what counts as a character, and what a bad byte becomes.
#include "io/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace drawfollow {
namespace {

struct DecodingCase {
    const char* name;
    std::string bytes;
    std::u32string codePoints;  // every invalid byte read as U+FFFD
};

class Utf8Decoding : public testing::TestWithParam<DecodingCase> {};

TEST_P(Utf8Decoding, ReadsCharactersAndReplacesEachBadByte) {
    const DecodingCase& c = GetParam();
    EXPECT_EQ(codePoints(c.bytes), c.codePoints);
    const bool valid = c.codePoints.find(kReplacementCharacter) == std::u32string::npos;
    EXPECT_EQ(isValidUtf8(c.bytes), valid);
    // validUtf8 keeps the good characters as they are and puts U+FFFD where codePoints has it.
    EXPECT_EQ(codePoints(validUtf8(c.bytes)), c.codePoints);
    if (valid) {
        EXPECT_EQ(validUtf8(c.bytes), c.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Decoding,
    testing::Values(DecodingCase{"Empty", "", U""}, DecodingCase{"OneToFourBytes", "a\xC3\xA9开𝟘b", U"aé开𝟘b"},
                    DecodingCase{"HighestCodePoint", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
                    DecodingCase{"LoneContinuationByte", "a\x80z", U"a\uFFFDz"},
                    DecodingCase{"LeadBytesThatStartNothing", "\xC0\xC1\xF5\xFF", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    DecodingCase{"OverlongTwoBytes", "\xC0\xAF", U"\uFFFD\uFFFD"},
                    DecodingCase{"OverlongThreeBytes", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
                    DecodingCase{"OverlongFourBytes", "\xF0\x80\x80\xAF", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    DecodingCase{"Surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
                    DecodingCase{"AboveU10FFFF", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
                    // A cut-off sequence never swallows the characters after it.
                    DecodingCase{"TruncatedAtTheEnd", "ab\xE5\xBC", U"ab\uFFFD\uFFFD"},
                    DecodingCase{"TruncatedBeforeAscii",
                                 "\xE5\xBC"
                                 "c",
                                 U"\uFFFD\uFFFDc"},
                    DecodingCase{"TruncatedBeforeAnotherCharacter", "\xF0\x9F开", U"\uFFFD\uFFFD开"}),
    [](const auto& info) { return info.param.name; });

TEST(Utf8Text, CodePointsCountCharactersNotBytes) {
    EXPECT_EQ(codePoints("a开𝟘b"), std::u32string(U"a开𝟘b"));
    EXPECT_EQ(codePoints("a开𝟘b").size(), 4u);
}

TEST(Utf8Text, NulIsValidUtf8ButNoPageCharacter) {
    const std::string withNul("a\0b", 3);
    EXPECT_TRUE(isValidUtf8(withNul));
    EXPECT_EQ(validUtf8(withNul), "a\uFFFDb");
}

}  // namespace
}  // namespace drawfollow
