#include "dbase/Codepage.h"

#include <gtest/gtest.h>

namespace qx7::dbase {
namespace {

struct Case
{
    const char* name;
    std::string cp1252;
    std::string utf8;
};

TEST(Codepage, ConvertsBothWays)
{
    const Case cases[] = {
        {"ascii", "DL1ABC 599", "DL1ABC 599"},
        {"latin1 letters", "M\xfcller \xc5se", "M\xc3\xbcller \xc3\x85se"},
        {"euro sign lives at 0x80", "\x80", "\xe2\x82\xac"},
        {"typographic quotes", "\x93hi\x94", "\xe2\x80\x9chi\xe2\x80\x9d"},
        {"undefined bytes survive as C1 controls", "\x81\x8d\x8f\x90\x9d",
         "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d"},
        {"slashed zero code 0xD8", "\xd8", "\xc3\x98"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cp1252ToUtf8(c.cp1252), c.utf8);
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252);
    }
}

TEST(Codepage, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToCp1252(utf8), all);
}

TEST(Codepage, UnrepresentableAndMalformedBecomeOneQuestionMarkEach)
{
    const Case cases[] = {
        {"cyrillic", "??", "\xd0\x96\xd0\xb8"},
        {"emoji (4 bytes)", "a?b",
         "a\xf0\x9f\x98\x80"
         "b"},
        {"stray continuation byte", "?x", "\x80x"},
        {"truncated sequence", "a?", "a\xc3"},
        {"overlong slash", "??", "\xc0\xaf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252);
    }
}

TEST(Codepage, ValidatesUtf8)
{
    const std::pair<std::string, bool> cases[] = {
        {"plain", true},
        {"\xc3\xa4", true},
        {"\xe2\x82\xac", true},
        {"\xf0\x9f\x98\x80", true},
        {"\xc3", false},             // cut short
        {"\xc0\x80", false},         // overlong NUL
        {"\xed\xa0\x80", false},     // surrogate
        {"\xf4\x90\x80\x80", false}, // past U+10FFFF
        {"\xfc\x84\x80\x80\x80\x80", false},
        {"\xe4\xf6", false}, // Windows-1252 text is not UTF-8
    };
    for (const auto& [text, valid] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(isValidUtf8(text), valid);
    }
}

} // namespace
} // namespace qx7::dbase
