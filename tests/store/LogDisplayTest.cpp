#include "store/LogDisplay.h"
#include "store/SearchKeys.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

TEST(LogDisplay, DatesAndTimesAsTheGridShowsThem)
{
    EXPECT_EQ(logDateDisplay("20240315", "yyyy-mm-dd"), "2024-03-15");
    EXPECT_EQ(logDateDisplay("20230231", "yyyy-mm-dd"), "20230231???"); // no such day
    EXPECT_EQ(logDateDisplay("20241301", "yyyy-mm-dd"), "20241301");    // month 13: as stored
    EXPECT_EQ(logDateDisplay("00000000", "yyyy-mm-dd"), "00000000");
    EXPECT_EQ(logDateDisplay("", "yyyy-mm-dd"), "");
    EXPECT_EQ(logTimeDisplay("0930", 0), "09:30");
    EXPECT_EQ(logTimeDisplay("0930", 1), "0930");
    EXPECT_EQ(logTimeDisplay("", 0), "");
}

TEST(SearchKeys, CallFieldsLetThroughCallsAndOneKindOfWildcard)
{
    struct Case
    {
        const char* text;
        char key;
        std::optional<char> result;
    } cases[] = {
        {"", 'q', 'Q'},
        {"Q", '1', '1'},
        {"Q", '-', std::nullopt},
        {"QA", '?', '?'},
        {"QA*", '?', std::nullopt},
        {"QA?", '*', std::nullopt},
        {"QA*", '*', std::nullopt},
        {"", ' ', std::nullopt},
        {"QA ", ' ', std::nullopt},
        {"QA", ' ', ' '},
        {"QA", '/', '/'},
        {"QA", kBackspace, kBackspace},
    };
    for (const Case& c : cases)
        EXPECT_EQ(acceptCallFromKey(c.text, c.key), c.result) << c.text << " + " << c.key;
    EXPECT_EQ(acceptCallToKey('k'), 'K');
    EXPECT_EQ(acceptCallToKey('*'), std::nullopt);
    EXPECT_EQ(acceptCallToKey('?'), std::nullopt);
    EXPECT_EQ(acceptCallToKey(' '), std::nullopt);
    EXPECT_EQ(acceptCallToKey('/'), '/');
}

} // namespace
} // namespace qx7
