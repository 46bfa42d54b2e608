#include "core/DateFormat.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

struct FormatCase
{
    const char* format;
    const char* expected;
};

TEST(DateFormat, FormatLettersOnAFixedDate)
{
    FormatSettings fs;
    fs.shortDateFormat = "dd/mm/yyyy";
    fs.dateSeparator = ".";
    const Date d{2024, 3, 5, 9, 7, 4}; // a Tuesday
    const FormatCase cases[] = {
        {"yyyy-mm-dd", "2024-03-05"},
        {"d.m.yy", "5.3.24"},
        {"dd mmm yyyy", "05 Mar 2024"},
        {"mmmm d, yyyy", "March 5, 2024"},
        {"ddd", "Tue"},
        {"dddd", "Tuesday"},
        {"yyyy/mm/dd", "2024.03.05"},   // "/" is the date separator
        {"c", "05.03.2024"},            // the short date format
        {"DD-MMM-YYYY", "05-Mar-2024"}, // letters in either case
        {"hh:nn", "09:07"},
        {"hh:mm", "09:07"}, // "m" right after the hour means minutes
        {"yyyymmdd", "20240305"},
        {"'mm' yyyy", "mm 2024"}, // quoted text is kept
        {"\"Day\" d", "Day 5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatDateTime(c.format, d, fs), c.expected) << "format " << c.format;
}

TEST(DateFormat, MonthNamesAndSeparatorsComeFromTheSettings)
{
    FormatSettings fs;
    fs.shortMonthNames[2] = "M\xC3\xA4r";
    fs.longMonthNames[11] = "Dezember";
    fs.dateSeparator = "\xC2\xB7x"; // only the first character counts
    EXPECT_EQ(formatDateTime("dd mmm yy", {2023, 3, 1}, fs), "01 M\xC3\xA4r 23");
    EXPECT_EQ(formatDateTime("d. mmmm yyyy", {2023, 12, 24}, fs), "24. Dezember 2023");
    EXPECT_EQ(formatDateTime("dd/mm", {2023, 12, 24}, fs), "24\xC2\xB7"
                                                           "12");
}

TEST(DateFormat, ParsesOnlyCalendarDates)
{
    EXPECT_TRUE(parseYmd("20240229").has_value());
    EXPECT_FALSE(parseYmd("20230229").has_value());
    EXPECT_TRUE(parseYmd("20000229").has_value());
    EXPECT_FALSE(parseYmd("19000229").has_value());
    EXPECT_FALSE(parseYmd("20241301").has_value());
    EXPECT_FALSE(parseYmd("20240100").has_value());
    EXPECT_FALSE(parseYmd("2024011").has_value());
    EXPECT_FALSE(parseYmd("2024O101").has_value());
    EXPECT_FALSE(parseYmd("        ").has_value());
    const auto d = parseYmd("19991231");
    ASSERT_TRUE(d);
    EXPECT_EQ(toYmd(*d), "19991231");
}

TEST(DateFormat, SystemShortDateFormatUsesOurLetters)
{
    const std::string f = FormatSettings::systemShortDateFormat();
    EXPECT_EQ(f.find('%'), std::string::npos);
    EXPECT_NE(f.find('d'), std::string::npos);
}

} // namespace
} // namespace qx7
