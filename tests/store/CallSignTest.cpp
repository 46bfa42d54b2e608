#include "store/CallSign.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

struct KeyCase
{
    const char* call;
    const char* key;
};

TEST(CallSortKey, BureauPrefixesSuffixesAndPortableCalls)
{
    const KeyCase cases[] = {
        // UK calls of one bureau sort together whatever their prefix.
        {"G3ABC", "G3G3ABC"},
        {"M0XYZ", "G0M0XYZ"},
        {"2E0ABC", "G22E0ABC"},
        {"GW4ABC", "GW4GW4ABC"},
        {"MM0ABC", "GM0MM0ABC"},
        {"2M0ABC", "GM22M0ABC"},
        {"2T0ABC", "GM22T0ABC"}, // T after a 2 is Scotland, after a G it is the Isle of Man
        {"GT4ABC", "GD4GT4ABC"},
        {"2Y0ABC", "GW22Y0ABC"},
        {"GX4ABC", "G4GX4ABC"},
        // Portable and maritime suffixes go; other suffixes lose against the longer part.
        {"W1AW/P", "KA1W1AW"},
        {"W1AW/4", "KA1W1AW"},
        {"W1AW/AM", "KA1W1AW"},
        {"W1AW/MM", "KA1W1AW"},
        {"W1AW/QRP", "KA1W1AW"},
        {"W1AW/B", "KA1W1AW"}, // B is no portable suffix, but W1AW is the longer part
        {"DL/G3ABC", "G3G3ABC"},
        {"KH6/W1AB", "KA1W1AB"},
        {"F/ON4AB", "ON4AB"},
        {"ABC/XYZ", "ABC"}, // equal length: the left part wins
        // No rule for these first letters or pairs.
        {"DL1ABC", "DL1ABC"},
        {"OK1ABC", "OK1ABC"},
        {"SP5ABC", "SP5ABC"},
        {"JA1ABC", "JA1ABC"},
        {"9A1AA", "9A1AA"},
        // Russia and the former Soviet calls.
        {"RA3ABC", "UA13RA3ABC"},
        {"RA9ABC", "UA99RA9ABC"},
        {"RG9ABC", "UA19RG9ABC"},
        {"R2ABC", "UA22R2ABC"},
        {"RA2ABC", "UA22RA2ABC"},
        {"R9ABC", "UA99R9ABC"},
        {"UA0ABC", "UA90UA0ABC"},
        {"UR5ABC", "UR5UR5ABC"},
        {"UE9ABC", "UA19UE9ABC"},
        {"UA9ABC", "UA99UA9ABC"},
        {"UN7ABC", "UN7UN7ABC"},
        {"UK8ABC", "UK8UK8ABC"},
        {"U5ABC", "UR5U5ABC"},
        // The rest of the table, one row each.
        {"3G1ABC", "CE33G1ABC"},
        {"3Z0ABC", "SP33Z0ABC"},
        {"4X1ABC", "4X1ABC"},
        {"4O3A", "YU44O3A"},
        {"6K2ABC", "HL66K2ABC"},
        {"7J1ABC", "JA77J1ABC"},
        {"8S0ABC", "SM88S0ABC"}, // the first digit of the call, not of the district,
        {"AA1ABC", "KA1AA1ABC"},
        {"AH6ABC", "KH6AH6ABC"},
        {"AL7ABC", "KL7AL7ABC"},
        {"AM1ABC", "EA1AM1ABC"},
        {"AP2ABC", "AP2ABC"},
        {"BV2ABC", "BV2BV2ABC"},
        {"BA1ABC", "BY1BA1ABC"},
        {"CY0ABC", "VE0CY0ABC"},
        {"DS2ABC", "HL2DS2ABC"},
        {"E21ABC", "HS2E21ABC"},
        {"EA8ABC", "EA8EA8ABC"},
        {"EM5ABC", "UR5EM5ABC"},
        {"HB9ABC", "HB9ABC"},
        {"HW1ABC", "F1HW1ABC"},
        {"IT9ABC", "IT99IT9ABC"},
        {"IS0ABC", "IS00IS0ABC"},
        {"IK2ABC", "I2IK2ABC"},
        {"ITA", "ITA"}, // prefix I but no digit
        {"KH6ABC", "KH6KH6ABC"},
        {"NP4A", "KP4NP4A"},
        {"K1ABC", "KA1K1ABC"},
        {"TM5ABC", "F5TM5ABC"},
        {"TA1ABC", "TA1ABC"},
        {"VO1ABC", "VE1VO1ABC"},
        {"XE1ABC", "XE1ABC"},
        {"XQ3ABC", "CE3XQ3ABC"},
        {"YT1ABC", "YU1YT1ABC"},
        {"ZY2ABC", "PY2ZY2ABC"},
        {"ZS6ABC", "ZS6ABC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CallSortKey(c.call), c.key) << "call " << c.call;
}

TEST(LabelValues, DatesTimesAndBands)
{
    LabelFormat f;
    f.bandFrequencyTexts = {"2190m=.136", "160m=1.8", "80m=3.5", "60m=5.",    "40m=7.",
                            "30m=10.1",   "20m=14.",  "17m=18.", "15m=21.",   "12m=24.9",
                            "10m=28.",    "6m=50.",   "4m=70.",  "2m=144 MHz"};
    EXPECT_EQ(FormatLabelValue("20m", BandValue, f), "20m");
    EXPECT_EQ(FormatLabelValue("20M", BandValue, f), "???");
    EXPECT_EQ(FormatLabelValue("0930", TimeValue, f), "09:30");
    EXPECT_EQ(FormatLabelValue("20240305", DateValue, f), "2024-03-05");
    EXPECT_EQ(FormatLabelValue("G3ABC", CallKey, f), "G3G3ABC");
    EXPECT_EQ(FormatLabelValue("20m", 1, f), "");
    f.bandFormat = 1;
    EXPECT_EQ(FormatLabelValue("20m", BandValue, f), "14.");
    EXPECT_EQ(FormatLabelValue("2m", BandValue, f), "144 MHz");
    EXPECT_EQ(FormatLabelValue("70cm", BandValue, f), "???"); // beyond the list given
    EXPECT_EQ(FormatLabelValue("11m", BandValue, f), "???");
    f.bandFormat = 2;
    EXPECT_EQ(FormatLabelValue("20m", BandValue, f), "");
    f.timeFormat = 1;
    EXPECT_EQ(FormatLabelValue("0930", TimeValue, f), "0930");
    f.timeFormat = 5;
    EXPECT_EQ(FormatLabelValue("0930", TimeValue, f), "");
    f.dateFormat = "dd mmm yy";
    EXPECT_EQ(FormatLabelValue("20241231", DateValue, f), "31 Dec 24");
}

TEST(LabelValues, ANonDateRaisesToTheCaller)
{
    const LabelFormat f;
    for (const char* bad : {"20230230", "2023", "", "ABCDEFGH", "20231301"})
        EXPECT_THROW(FormatLabelValue(bad, DateValue, f), ConversionError) << bad;
}

TEST(SlashZeros, ReplacesEveryZeroWithTheChosenCharacter)
{
    EXPECT_EQ(SlashZeros("DL0AB/P0", 216), "DL\xC3\x98"
                                           "AB/P\xC3\x98");
    EXPECT_EQ(SlashZeros("W1AW", 216), "W1AW");
    EXPECT_EQ(SlashZeros("100", 48), "100");          // "0" itself changes nothing
    EXPECT_EQ(SlashZeros("0", 0x80), "\xE2\x82\xAC"); // code 128 is the euro sign
}

struct PlausibleCase
{
    const char* in;
    bool plausible;
    const char* after;
};

TEST(IsPlausibleCall, CleansWhatItAccepts)
{
    const PlausibleCase cases[] = {
        {"W1AW", true, "W1AW"},
        {"9A1AA", true, "9A1AA"},
        {"AB12C", false, "AB12C"},
        {"W123A", false, "W123A"},
        {"ABCDEF", false, "ABCDEF"},
        {"A1", false, "A1"},
        {"W1AW QSL", true, "W1AW"},
        {"w1aw", false, "w1aw"},
        {"", false, ""},
        {"DL-1ABC", true, "DL1ABC"},
        {"K1A", true, "K1A"},
        {"1A0KM", true, "1A0KM"}, // digits at 1 and 3, not 3 and 4
        {"OH0/DL1AB", true, "OH0/DL1AB"},
        {"VERYLONGCALL1X", false, "VERYLONGCALL1X"},
        {"E7 via bureau", false, "E7"}, // too short once cut
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(IsPlausibleCall(text), c.plausible) << c.in;
        EXPECT_EQ(text, c.after) << c.in;
    }
}

} // namespace
} // namespace qx7
