// The field rules every reader relies on: dates, bands, frequencies, modes, reports,
// flags, managers, and where they land in the import record.

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/normalize/ManagerRules.h"
#include "convert/normalize/ParseDate.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

struct DateRow
{
    const char* value;
    const char* format;
    const char* expected;
};

TEST(ParseDate, CenturyRulesFormatsAndInvalidDates)
{
    const DateRow rows[] = {
        {"31.12.01", "dd.mm.yy", "20011231"},
        {"01-JAN-99", "dd-mmm-yy", "19990101"},
        {"01-jan-99", "dd-mmm-yy", "19990101"},
        {"20500101", "yyyymmdd", "19500101"},
        {"19200315", "yyyymmdd", "20200315"},
        {"30.02.2001", "dd.mm.yyyy", ""},
        {"990101", "yymmdd", "19990101"},
        {"490101", "yymmdd", "19490101"},
        {"480101", "yymmdd", "20480101"},
        {"12/31/2001", "mm/dd/yyyy", "20011231"},
        {"2024-02-29", "yyyy-mm-dd", "20240229"},
        {"2023-02-29", "yyyy-mm-dd", ""},
        {"2024-13-01", "yyyy-mm-dd", ""},
        {"2024-12", "yyyy-mm-dd", ""},
        {"01-XYZ-99", "dd-mmm-yy", ""},
        {"ab.cd.2001", "dd.mm.yyyy", ""},
        {"20240101", "", ""},
        {"2024.01.05", "yyyy.mm.dd", "20240105"},
    };
    for (const DateRow& row : rows)
        EXPECT_EQ(ParseDate(row.value, row.format), row.expected)
            << row.value << " with " << row.format;
}

struct BandRow
{
    int bandMode;
    const char* previous; // a band read before, or nullptr
    const char* value;
    char code;
};

TEST(NormalizeBand, ThreeBandModesAndTheMetresMemory)
{
    const BandRow rows[] = {
        {-1, nullptr, "14", 'G'},     {-1, "14", "10", 'F'},
        {-1, "20", "10", 'K'},        {-1, nullptr, "10", 'K'},
        {-1, "14", "30", 'K'},        {-1, "20", "30", 'F'},
        {-1, nullptr, "14.074", 'G'}, {-1, nullptr, "14,074 MHz", 'G'},
        {-1, nullptr, "2M", 'N'},     {-1, nullptr, "999", ']'},
        {-1, nullptr, "SAT", ']'},    {-1, nullptr, "sat", ']'},
        {-1, nullptr, "20m", 'G'},    {-1, nullptr, "70CM", 'P'},
        {-1, nullptr, "144", 'N'},    {-1, nullptr, "1445", 'N'},
        {-1, nullptr, "11M", ' '},    {-1, nullptr, "75", 'C'},
        {-1, nullptr, "3.5", 'C'},    {-1, nullptr, "7 MHz", 'E'},
        {-1, nullptr, "14.5", ' '},   {-1, nullptr, "1.25m", 'O'},
        {-1, nullptr, "", ' '},       {0, nullptr, "20", 'G'},
        {0, nullptr, "16", 'B'},      {0, nullptr, "1.25", 'O'},
        {0, nullptr, "70c", 'P'},     {0, nullptr, "14", ' '},
        {0, nullptr, "20M", 'G'},     {0, nullptr, "11M", ' '},
        {0, "14", "10", 'K'},         {0, nullptr, "30", 'F'},
        {1, nullptr, "14", 'G'},      {1, nullptr, "10", 'F'},
        {1, nullptr, "144", 'N'},     {1, nullptr, "10368", 'V'},
        {1, nullptr, "A", 'L'},       {1, nullptr, "14.2", 'G'},
        {1, nullptr, "20", ' '},      {2, nullptr, "20M", ' '},
    };
    for (const BandRow& row : rows) {
        FieldNormalizer n;
        n.startLog(row.bandMode, "");
        if (row.previous) {
            n.NormalizeBand(row.previous);
            n.resetRecord();
        }
        n.NormalizeBand(row.value);
        EXPECT_EQ(n.record().view().band(), row.code)
            << "mode " << row.bandMode << " after " << (row.previous ? row.previous : "-") << ": "
            << row.value;
    }
}

TEST(NormalizeBand, MetresMemoryFollowsTheValuesRead)
{
    FieldNormalizer n;
    n.startLog(-1, "");
    EXPECT_TRUE(n.lastBandInMetres());
    n.NormalizeBand("14");
    EXPECT_FALSE(n.lastBandInMetres());
    n.NormalizeBand("20");
    EXPECT_TRUE(n.lastBandInMetres());
    n.startLog(1, "");
    EXPECT_FALSE(n.lastBandInMetres());
}

TEST(NormalizeBand, UnrecognisedValueFillsTheErrorLogColumn)
{
    FieldNormalizer n;
    n.NormalizeBand(" 11m ");
    EXPECT_EQ(n.errorBandText(), "11m   ");
    n.resetRecord();
    EXPECT_EQ(n.errorBandText(), "      ");
}

struct FreqRow
{
    const char* value;
    char code;
    const char* segment; // nullptr: no segment
};

TEST(FrequencyToBand, MhzThenKhzAndTheSegment)
{
    const FreqRow rows[] = {
        {"14025", 'G', "14025"},   {"3500", 'T', "3500"},
        {"10100", 'V', "10100"},   {"14.025.50", 'G', "14.025"},
        {"14,025", 'G', "14.025"}, {"14A", ' ', nullptr},
        {"SAT", ']', nullptr},     {"0.1365", 'A', "0.1365"},
        {"1800", 'B', "1800"},     {"144.300", 'N', "144.300"},
        {"7.3", 'E', "7.3"},       {"7.31", ' ', "7.31"},
        {".", ' ', "."},           {"", ' ', nullptr},
    };
    for (const FreqRow& row : rows) {
        FieldNormalizer n;
        n.FrequencyToBand(row.value);
        const RecordView v = n.record().view();
        EXPECT_EQ(v.band(), row.code) << row.value;
        EXPECT_EQ(v.hasSegment(FieldFreq), row.segment != nullptr) << row.value;
        if (row.segment) {
            EXPECT_EQ(v.segment(FieldFreq), row.segment) << row.value;
        }
    }
}

TEST(FrequencyToBand, KeepsABandAlreadySet)
{
    FieldNormalizer n;
    n.NormalizeBand("40M");
    n.FrequencyToBand("14.074");
    EXPECT_EQ(n.record().view().band(), 'E');
    EXPECT_EQ(n.record().view().segment(FieldFreq), "14.074");
}

struct ModeRow
{
    const char* value;
    char code;
    const char* subMode; // nullptr: none
    const char* errorText;
};

TEST(NormalizeMode, TableAliasesAndSubModes)
{
    const ModeRow rows[] = {
        {"USB", 'A', nullptr, "            "},     {"ssb", 'A', nullptr, "            "},
        {"PSK63", 'F', "PSK63", "            "},   {"PSKHELL", 'W', "PSKHELL", "            "},
        {"PACKET", 'b', "PACKET", "            "}, {"PACK", 'b', "PACK", "            "},
        {"JT65", 'G', nullptr, "            "},    {"JT65A", 'G', "JT65A", "            "},
        {"XYZ", ' ', nullptr, "XYZ         "},     {"", ' ', nullptr, "empty!      "},
        {"QPSK31", 'F', "QPSK31", "            "}, {"FSK", 'E', nullptr, "            "},
        {"FSK441", 'V', nullptr, "            "},  {"FSK31", 'F', "FSK31", "            "},
        {"MTX", ']', nullptr, "            "},     {"PACTOR", '`', "PACTOR", "            "},
        {"STV", 'h', nullptr, "            "},     {"AMTOR", 'k', "AMTOR", "            "},
        {"FT8", 'I', nullptr, "            "},     {"FSQCALL", '\\', "FSQCALL", "            "},
        {"CLOVER", 'P', nullptr, "            "},  {"DOMINOEX", 'S', "DOMINOEX", "            "},
        {"ASCII", ' ', nullptr, "ASCII       "},   {"PAX2", 'a', "PAX2", "            "},
    };
    for (const ModeRow& row : rows) {
        FieldNormalizer n;
        n.NormalizeMode(row.value);
        const RecordView v = n.record().view();
        EXPECT_EQ(v.mode(), row.code) << row.value;
        EXPECT_EQ(v.hasSegment(FieldSubMode), row.subMode != nullptr) << row.value;
        if (row.subMode) {
            EXPECT_EQ(v.segment(FieldSubMode), row.subMode) << row.value;
        }
        EXPECT_EQ(n.errorModeText(), row.errorText) << row.value;
    }
}

struct ReportRow
{
    const char* mode;
    const char* report;
    bool removeExchange;
    bool replaceReports;
    const char* expected;
};

TEST(FixReports, StandardLengthsExchangesAndReplacement)
{
    const ReportRow rows[] = {
        {"CW", "599001", true, false, "599"},   {"SSB", "59+10", true, false, "59+10"},
        {"CW", "5NN", true, false, "5"},        {"SSB", "57", false, true, "59"},
        {"SSB", "", false, true, "59"},         {"CW", "339", false, true, "599"},
        {"FT8", "-10", false, true, "-10"},     {"CW", "599001", false, false, "599001"},
        {"CW", "R59", true, false, "R59"},      {"CW", "59A", true, false, "59A"},
        {"RTTY", "599 14", true, false, "599"}, {"CW", "579 5", false, false, "5795"},
        {"SSB", "", false, false, ""},          {"AM", "59 001", true, false, "59"},
        {"PSK", "599", true, true, "599"},
    };
    for (const ReportRow& row : rows) {
        FieldNormalizer n;
        n.NormalizeMode(row.mode);
        n.setRstSent(row.report);
        n.setRstRcvd(row.report);
        n.FixReports({row.removeExchange, row.replaceReports});
        std::string expected = row.expected;
        expected.resize(6, ' ');
        EXPECT_EQ(n.record().view().rstSent(), expected)
            << row.mode << " " << row.report << " remove " << row.removeExchange << " replace "
            << row.replaceReports;
        EXPECT_EQ(n.record().view().rstRcvd(), expected) << row.mode << " " << row.report;
    }
}

struct FlagRow
{
    const char* key;
    const char* value;
    char sent, rcvd, mark;
};

TEST(SetImportField, QslFlagsAndMark)
{
    const FlagRow rows[] = {
        {"QSLS", "Y", 'Y', 'N', 'N'}, {"QSLS", "S", 'Y', 'N', 'N'}, {"QSLS", "y", 'N', 'N', 'N'},
        {"QSLS", "B", 'B', 'N', 'N'}, {"QSLS", "!", '!', 'N', 'N'}, {"QSLS", "X", 'N', 'N', 'N'},
        {"qslr", "R", 'N', 'Y', 'N'}, {"QSLR", "D", 'N', 'D', 'N'}, {"QSLR", "V", 'N', 'N', 'N'},
        {"MARK", "1", 'N', 'N', 'Y'}, {"MARK", "J", 'N', 'N', 'Y'}, {"MARK", "N", 'N', 'N', 'N'},
        {"QSLS", "", 'N', 'N', 'N'},
    };
    for (const FlagRow& row : rows) {
        FieldNormalizer n;
        n.SetImportField(row.key, row.value, "");
        const RecordView v = n.record().view();
        EXPECT_EQ(v.qslSent(), row.sent) << row.key << "=" << row.value;
        EXPECT_EQ(v.qslRcvd(), row.rcvd) << row.key << "=" << row.value;
        EXPECT_EQ(v.mark(), row.mark) << row.key << "=" << row.value;
    }
}

struct ManagerRow
{
    const char* raw;
    const char* expected; // nullptr: no manager
};

TEST(ManagerRules, FieldRuleRemovesRoutingWords)
{
    const ManagerRow rows[] = {
        {"via dl1abc", "DL1ABC"}, {"VIA: DL1ABC", "DL1ABC"}, {"BURO", nullptr},
        {"QSL VIA W1AW", "W1AW"}, {"DL1ABC CBA", "DL1ABC"},  {"CBA", nullptr},
        {"Direct", nullptr},      {"w1aw", "W1AW"},          {"", nullptr},
        {"HC", nullptr},          {"DL1ABC HC", "DL1ABC"},   {"MANAGER: F5XYZ", "F5XYZ"},
    };
    for (const ManagerRow& row : rows) {
        const auto result = managerFromField(row.raw);
        EXPECT_EQ(result.has_value(), row.expected != nullptr) << row.raw;
        if (result && row.expected) {
            EXPECT_EQ(*result, row.expected) << row.raw;
        }
    }
}

TEST(ManagerRules, ViaTextRule)
{
    const ManagerRow rows[] = {
        {"QSL VIA DL1ABC PLEASE", "DL1ABC"},
        {"QSL VIA ?", nullptr},
        {"VIA BURO", "-"},
        {"W1AW", "W1AW"},
        {"NAME JOHN", nullptr},
        {"", nullptr},
    };
    for (const ManagerRow& row : rows) {
        const auto result = managerFromViaText(row.raw);
        EXPECT_EQ(result.has_value(), row.expected != nullptr) << row.raw;
        if (result && row.expected) {
            EXPECT_EQ(*result, row.expected) << row.raw;
        }
    }
}

struct TimeRow
{
    const char* value;
    const char* expected;
};

TEST(SetImportField, TimeTakesTheFirstFourDigits)
{
    const TimeRow rows[] = {{"9:05", "0905"},  {"12:34:56", "1234"}, {"123456", "1234"},
                            {"7", "0007"},     {"", "    "},         {"abc", "    "},
                            {" 2359 ", "2359"}};
    for (const TimeRow& row : rows) {
        FieldNormalizer n;
        n.SetImportField("TIME", row.value, "");
        EXPECT_EQ(n.record().view().time(), row.expected) << row.value;
    }
}

TEST(SetImportField, CallIsTakenOnceUpperCasedAndCut)
{
    FieldNormalizer n(RecordLayout::CallFirst);
    n.SetImportField("call", " dl1abc ", "");
    n.SetImportField("CALL", "W1AW", "");
    EXPECT_EQ(n.record().view().call(), "DL1ABC");
    FieldNormalizer d(RecordLayout::DateFirst);
    d.SetImportField("CALL", "ABCDEFGHIJKLMNOPQRST", "");
    EXPECT_EQ(d.record().view().call(), "ABCDEFGHIJKLMNOP");
}

TEST(SetImportField, DatesDigitsCommentAndUnknownKeys)
{
    FieldNormalizer n;
    n.startLog(-1, "");
    n.SetImportField("DATE", "30.02.2001", "dd.mm.yyyy");
    EXPECT_EQ(n.record().view().date(), "20      ");
    n.SetImportField("DATS", "20240101", "yyyymmdd");
    n.SetImportField("DATR", "2024-99-01", "yyyy-mm-dd");
    n.SetImportField("DXCC", "291", "");
    n.SetImportField("XBND", "2x", "");
    n.SetImportField("COMM", "  tnx {5:fer} qso ", "");
    n.SetImportField("NOTES", "ignored", "");
    const RecordView v = n.record().view();
    EXPECT_EQ(v.segment(FieldDateSent), "20240101");
    EXPECT_TRUE(v.hasSegment(FieldDateRcvd));
    EXPECT_EQ(v.segment(FieldDateRcvd), "");
    EXPECT_EQ(v.segment(FieldDxcc), "291");
    EXPECT_FALSE(v.hasSegment(FieldCrossBand));
    // Braces inside a value must not pose as a sub-mode segment.
    EXPECT_FALSE(v.hasSegment(FieldSubMode));
    EXPECT_EQ(v.segment(FieldComment), "tnx {5:fer} qso");
}

TEST(SetImportField, FixedCommentReplacesTheLogsOwn)
{
    FieldNormalizer n;
    n.startLog(-1, "  Contest 2024 ");
    n.SetImportField("COMM", "from the log", "");
    EXPECT_EQ(n.record().view().segment(FieldComment), "Contest 2024");
    n.resetRecord();
    n.appendFixedCommentIfMissing();
    EXPECT_EQ(n.record().view().segment(FieldComment), "Contest 2024");
}

TEST(ImportRecord, BothLayoutsPlaceEveryFixedField)
{
    for (const auto layout : {RecordLayout::CallFirst, RecordLayout::DateFirst}) {
        FieldNormalizer n(layout);
        n.SetImportField("FREQ", "14.2", "");
        n.SetImportField("RSTR", "57", "");
        n.SetImportField("DATE", "20240102", "yyyymmdd");
        n.SetImportField("CALL", "DL1ABC", "");
        n.SetImportField("TIME", "1234", "");
        n.SetImportField("MODE", "SSB", "");
        n.SetImportField("QSLS", "Y", "");
        n.SetImportField("RSTS", "59", "");
        const std::string expected = layout == RecordLayout::CallFirst
                                         ? "DL1ABC|202401021234GA=YNN59    57    {14:14.2}"
                                         : "202401021234DL1ABC|GA=YNN59    57    {14:14.2}";
        EXPECT_EQ(n.record().text(), expected);
        EXPECT_EQ(n.record().view().key(), expected.substr(0, 21));
    }
}

TEST(ImportRecord, FreshImages)
{
    EXPECT_EQ(ImportRecord(RecordLayout::CallFirst).text(), "|20            =NNN            ");
    EXPECT_EQ(ImportRecord(RecordLayout::DateFirst).text(), "20          |  =NNN            ");
}

} // namespace
} // namespace qx7
