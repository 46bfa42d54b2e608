// ADIF in and out: what the reader takes from the files other programs write, and the
// exact bytes the writer produces.

#include "ConvertFixture.h"

#include "convert/engine/ConversionRun.h"
#include "convert/engine/LogTypes.h"
#include "convert/normalize/BandRules.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/readers/AdifReader.h"
#include "convert/writers/AdifWriter.h"
#include "convert/writers/ExportField.h"

namespace qx7::test {
namespace {

class AdifTest : public ConvertFixture
{
protected:
    // Reads an ADIF text and answers the accepted records in buffer order.
    std::vector<std::string> read(const std::string& text, bool* ok = nullptr)
    {
        TQXLogSpec spec = makeLogSpec(writeFile("in.adi", text), LogType::Adif);
        spec.BandMode = 0;
        engine->StartConversion(LogType::Adif);
        engine->ClearImportBuffer();
        const bool result = engine->ReadLog(spec);
        if (ok)
            *ok = result;
        std::vector<std::string> out;
        for (std::string_view r : engine->bufferRecords())
            out.emplace_back(r);
        return out;
    }
};

struct ReaderRow
{
    const char* name;
    std::string adif;
    std::string commentTag;
    std::vector<std::string> records;
};

TEST_F(AdifTest, ReaderCases)
{
    const std::string q = "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M"
                          "<MODE:3>SSB";
    const std::string base = "202401011200DL1ABC|GA=NNN";
    const std::string blank = "            ";
    const ReaderRow rows[] = {
        {"header and one record per line",
         "Exported by a logger\n<ADIF_VER:5>3.1.4 <PROGRAMID:3>XYZ\n<EOH>\n" + q + "<EOR>\n" +
             "<CALL:4>W1AW<QSO_DATE:8>20240102<TIME_ON:4>0000<BAND:3>40M<MODE:2>CW<EOR>\n",
         "<COMMENT>",
         {base + blank, "202401020000W1AW|ED=NNN" + blank}},
        {"record over several lines",
         "<CALL:6>DL1ABC\r\n<QSO_DATE:8>20240101\r\n"
         "<TIME_ON:4>1200 <BAND:3>20M\r\n<MODE:3>SSB\r\n<EOR>\r\n",
         "<COMMENT>",
         {base + blank}},
        {"lower-case tags and values",
         "<call:6>dl1abc<qso_date:8>20240101<time_on:4>1200<band:3>20m<mode:3>ssb<eor>",
         "<COMMENT>",
         {base + blank}},
        {"six-digit date",
         "<CALL:6>DL1ABC<QSO_DATE:6>240101<TIME_ON:4>1200<BAND:3>20M"
         "<MODE:3>SSB<EOR>",
         "<COMMENT>",
         {base + blank}},
        {"date of another length",
         q.substr(0, 14) + "<QSO_DATE:7>2024011" + q.substr(33) + "<EOR>",
         "<COMMENT>",
         {}},
        {"type indicator and six-digit time",
         "<CALL:6>DL1ABC<QSO_DATE:8:D>20240101<TIME_ON:6:T>120059<BAND:3>20M<MODE:3>SSB<EOR>",
         "<COMMENT>",
         {base + blank}},
        {"QSL_SENT R marks, QSL_RCVD V changes nothing",
         q + "<QSL_SENT:1>R<QSL_RCVD:1>V<EOR>",
         "<COMMENT>",
         {"202401011200DL1ABC|GA=NNY" + blank}},
        {"QSL flags",
         q + "<QSL_SENT:1>Y<QSL_RCVD:1>I<QSL_SENT_VIA:1>B<EOR>",
         "<COMMENT>",
         {"202401011200DL1ABC|GA=Y!N" + blank}},
        {"comment tag NAME keeps its case",
         q + "<NAME:4>Jörg<COMMENT:3>abc<EOR>",
         "<NAME>",
         {base + blank + "{13:Jörg}"}},
        {"comment keeps its case",
         q + "<COMMENT:9>Tnx Jörg!<EOR>",
         "<COMMENT>",
         {base + blank + "{13:Tnx Jörg!}"}},
        {"record without EOR at the end is not imported",
         q + "<EOR>\n" + q,
         "<COMMENT>",
         {base + blank}},
        {"QSO_DATE_OFF does not move the QSO",
         q + "<QSO_DATE_OFF:8>20240102<EOR>",
         "<COMMENT>",
         {base + blank}},
        {"BAND_RX does not replace BAND", q + "<BAND_RX:4>70CM<EOR>", "<COMMENT>", {base + blank}},
        {"BAND_RX before BAND does not replace it either",
         "<BAND_RX:4>70CM" + q + "<EOR>",
         "<COMMENT>",
         {base + blank}},
        {"BAND_RX stands in for a missing BAND",
         "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND_RX:3>40M<MODE:3>SSB<EOR>",
         "<COMMENT>",
         {"202401011200DL1ABC|EA=NNN" + blank}},
        {"FREQ_RX does not pose as FREQ",
         "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<FREQ_RX:7>432.100"
         "<FREQ:7>145.900<MODE:3>SSB<EOR>",
         "<COMMENT>",
         {"202401011200DL1ABC|NA=NNN" + blank + "{14:145.900}"}},
        {"comment tag STATE is not STATION_CALLSIGN",
         q + "<STATION_CALLSIGN:5>DL0XX<STATE:2>CT<EOR>",
         "<STATE>",
         {base + blank + "{13:CT}"}},
        {"comment tag CONT is not CONTEST_ID",
         q + "<CONTEST_ID:4>CQWW<EOR>",
         "<CONT>",
         {base + blank}},
        {"comment tag SRX is not SRX_STRING",
         q + "<SRX_STRING:3>001<SRX:1>7<EOR>",
         "<SRX>",
         {base + blank + "{13:7}"}},
        {"first call wins, segments twice",
         q + "<CALL:4>W1AW<DXCC:3>230<DXCC:3>231<EOR>",
         "<COMMENT>",
         {base + blank + "{15:230}{15:231}"}},
        {"frequency without band",
         "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200"
         "<FREQ:6>14.074<MODE:3>FT8<EOR>",
         "<COMMENT>",
         {"202401011200DL1ABC|GI=NNN" + blank + "{14:14.074}"}},
        {"reports, manager, QSL dates, sub-mode",
         "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M<MODE:5>PSK31"
         "<RST_SENT:7>5991234<RST_RCVD:3>579<QSL_VIA:9>via w1xyz<QSLSDATE:8>20240105"
         "<QSLRDATE:6>240201<EOR>",
         "<COMMENT>",
         {"202401011200DL1ABC|GF=NNN599123579   {5:PSK31}{10:W1XYZ}{11:20240105}{12:20240201}"}},
        {"satellite name is skipped even when it holds a tag",
         q + "<SAT_NAME:8>AO<7>abc<EOR>",
         "<COMMENT>",
         {base + blank}},
        {"satellite mode as the comment",
         q + "<SAT_MODE:3>U/v<EOR>",
         "<SAT_MODE>",
         {base + blank + "{13:U/v}"}},
        {"length counted in bytes by the writer",
         q + "<NAME:5>Jörg<EOR>",
         "<NAME>",
         {base + blank + "{13:Jörg}"}},
        {"every length digit is read",
         q + "<COMMENT:120>" + std::string(120, 'c') + "<EOR>",
         "<COMMENT>",
         {base + blank + "{13:" + std::string(120, 'c') + "}"}},
        {"length counted in bytes, value followed by a space",
         q + "<NAME:7>J\xC3\xB6rg\xC3\x96 <EOR>\n" + q + "<EOR>",
         "<NAME>",
         {base + blank, base + blank + "{13:J\xC3\xB6rg\xC3\x96}"}},
        {"length counted in characters, value followed by a space",
         q + "<NAME:5>J\xC3\xB6rg\xC3\x96 <EOR>",
         "<NAME>",
         {base + blank + "{13:J\xC3\xB6rg\xC3\x96}"}},
        {"a value holding text in angle brackets",
         q + "<COMMENT:8>a <b> cd<EOR>",
         "<COMMENT>",
         {base + blank + "{13:a <b> cd}"}},
        {"a value is cut at the line end",
         q + "<COMMENT:20>two\nlines<EOR>",
         "<COMMENT>",
         {base + blank + "{13:two}"}},
        {"length zero and unknown tags",
         q + "<COMMENT:0><GRIDSQUARE:4>JO62<EOR>",
         "<COMMENT>",
         {base + blank}},
        {"Windows-1252 text",
         q + "<COMMENT:4>J\xF6rg<EOR>",
         "<COMMENT>",
         {base + blank + "{13:Jörg}"}},
    };
    for (const ReaderRow& row : rows) {
        settings.AdifCommentTag = row.commentTag;
        EXPECT_EQ(read(row.adif), row.records) << row.name;
    }
}

// Each spelling of a tag name is recognised once and then known by its bytes: names that
// share their first bytes, differ in case or in what ends them, or come after a crowd of
// names never met again must be told apart in every record, not only in the first.
TEST_F(AdifTest, TagNamesAreToldApartInEveryRecord)
{
    std::string crowd;
    for (int i = 0; i < 300; ++i)
        crowd += "<APP_X_" + std::to_string(i) + ":2>ab ";
    const auto record = [](int minute) {
        return "<QSO_DATE_OFF:8>20240109 <QSO_DATE:8>20240101 <CALL:6>DL1ABC <TIME_ON:4>12" +
               std::to_string(10 + minute) +
               " <QSL_SENT_VIA:1>B <QSL_SENT:1>Y <BAND_RX:4>70CM <BAND:3>20M <MODE:3>SSB "
               "<APP_A_NAME_LONGER_THAN_TWENTY_FOUR:5><b>x< <STATE:2>CT <STATE-X:3>abc "
               "<STATION_CALLSIGN:5>DL0XX <EOR>\n";
    };
    const auto lower = [](int minute) {
        return "<qso_date:8>20240101 <CALL:4>W1AW <time_on:4>12" + std::to_string(10 + minute) +
               " <Band:3>40M <mode:2>cw <state:2>ma <qsl_sent_via:1>B <EOR>\n";
    };
    std::string text = record(0);
    for (int i = 1; i < 4; ++i)
        text += (i == 2 ? crowd : "") + record(i) + lower(i);
    settings.AdifCommentTag = "<STATE>";
    const auto records = read(text);
    ASSERT_EQ(records.size(), 7u);
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i)
        expected.push_back("2024010112" + std::to_string(10 + i) +
                           "DL1ABC|GA=YNN            {13:CT}");
    for (int i = 1; i < 4; ++i)
        expected.push_back("2024010112" + std::to_string(10 + i) +
                           "W1AW|ED=NNN            {13:ma}");
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> got = records;
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, expected);
}

// A length no count can explain: the value stops before the next field, the QSO is
// kept and the error log names the field.
TEST_F(AdifTest, LengthThatCannotBeRightIsListedWithItsQso)
{
    settings.AdifCommentTag = "<NAME>";
    const std::string q = "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M"
                          "<MODE:3>SSB";
    const auto records = read(q + "<NAME:12>Joe <EOR>\n" + "<CALL:4>W1AW" + q.substr(14) +
                              "<NAME:999999999999>x<EOR>\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0], "202401011200DL1ABC|GA=NNN            {13:Joe}");
    EXPECT_EQ(records[1], "202401011200W1AW|GA=NNN            ");
    EXPECT_EQ(engine->errorCount(), -1);
    const auto& lines = engine->errorLog().lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "     1|DL1ABC          |20240101|1200|20m   |SSB         |warning: NAME: "
                        "length 12 runs into the next field, value cut before it");
    EXPECT_EQ(lines[5], "     2|W1AW            |20240101|1200|20m   |SSB         |warning: NAME: "
                        "length 999999999999 refused, value not read");
    EXPECT_EQ(engine->counters().doubtfulValues, 2);
}

// Logs that give the frequency in kHz keep it so; ADIF's FREQ is in MHz.
TEST_F(AdifTest, FrequencyInKhzIsWrittenInMhz)
{
    const std::pair<const char*, const char*> rows[] = {
        {"14025", "14.025"},  {"1838.5", "1.8385"}, {"136", "0.136"},   {"7025", "7.025"},
        {"14.025", "14.025"}, {"3500", "3500"},     {"10100", "10100"}, {"99", "99"}};
    for (const auto& [in, out] : rows)
        EXPECT_EQ(frequencyInMhz(in), out) << in;

    const std::string csvLike = "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<FREQ:5>14025"
                                "<MODE:2>CW<EOR>\n";
    TQXLogSpec spec = makeLogSpec(writeFile("khz.adi", csvLike), LogType::Adif);
    engine->StartConversion(LogType::Adif);
    engine->ClearImportBuffer();
    ASSERT_TRUE(engine->ReadLog(spec));
    TQXLogSpec out = makeLogSpec((home / "out.adi").string(), LogType::Adif);
    ASSERT_TRUE(engine->WriteOutput(out));
    const auto lines = readLines(home / "out.adi");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(adifValue(lines[3], "freq"), "14.025");
    EXPECT_EQ(adifValue(lines[3], "band"), "20M");
}

TEST_F(AdifTest, LengthThatIsNotANumberEndsTheReadKeepingEarlierQsos)
{
    bool ok = true;
    const auto records = read("<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M"
                              "<MODE:3>SSB<EOR>\n<CALL>W1AW<EOR>",
                              &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(records.size(), 1u);
}

TEST_F(AdifTest, TruncatedFileGivesTheCompleteRecords)
{
    bool ok = false;
    TQXLogSpec spec =
        makeLogSpec(std::string(QX7_TEST_DATA) + "/convert/truncated.adi", LogType::Adif);
    engine->StartConversion(LogType::Adif);
    ok = engine->ReadLog(spec);
    EXPECT_TRUE(ok);
    EXPECT_EQ(spec.LogSize, 1);
    EXPECT_EQ(engine->bufferSize(), 1u);
    EXPECT_EQ(spec.BandMode, 0);
}

TEST_F(AdifTest, UnterminatedRecordDoesNotLeakIntoTheNextLog)
{
    ConversionRun run(*engine, settings);
    ASSERT_TRUE(run.addLog(writeFile("a.adi", "<CALL:4>W1AW<QSO_DATE:8>20240101"), LogType::Adif,
                           LogType::Qx7));
    ASSERT_TRUE(run.addLog(writeFile("b.adi", "<QSO_DATE:8>20240102<TIME_ON:4>1200<BAND:3>20M"
                                              "<MODE:2>CW<EOR>"),
                           LogType::Adif, LogType::Qx7));
    run.execute(makeLogSpec((home / "out.adi").string(), LogType::Adif), [](const std::string&) {});
    EXPECT_EQ(engine->counters().readOk, 0);
    EXPECT_EQ(engine->errorCount(), 1);
}

TEST_F(AdifTest, WriterOutputByteForByte)
{
    engine->StartConversion(LogType::Adif);
    engine->ClearImportBuffer();
    TQXLogSpec spec = makeLogSpec("fixture", LogType::Adif);
    FieldNormalizer& n = engine->normalizer();
    const std::vector<std::vector<std::pair<const char*, const char*>>> qsos = {
        {{"CALL", "F/G3X"},
         {"DATE", "20240103"},
         {"TIME", "2359"},
         {"BAND", "70CM"},
         {"MODE", "PSK31"},
         {"COMM", "Grüße"},
         {"MARK", "Y"},
         {"XBND", "2"}},
        {{"CALL", "DL1ABC"},
         {"DATE", "20240101"},
         {"TIME", "1200"},
         {"BAND", "20M"},
         {"MODE", "SSB"},
         {"RSTS", "59"},
         {"RSTR", "57"}},
        {{"CALL", "W1AW"},
         {"DATE", "20240102"},
         {"TIME", "0930"},
         {"BAND", "40M"},
         {"MODE", "CW"},
         {"RSTS", "599"},
         {"RSTR", "579"},
         {"QSLS", "B"},
         {"QSLR", "Y"},
         {"QMGR", "KA1ABC"},
         {"DATS", "20240110"},
         {"DATR", "20240201"},
         {"COMM", "Tnx fer QSO"},
         {"FREQ", "7.025"},
         {"DXCC", "291"}},
    };
    for (const auto& qso : qsos) {
        for (const auto& [key, value] : qso)
            n.SetImportField(key, value, "yyyymmdd");
        engine->QsoComplete(spec);
    }
    TQXLogSpec out = makeLogSpec((home / "out.adi").string(), LogType::Adif);
    ASSERT_TRUE(engine->WriteOutput(out));
    EXPECT_EQ(readFile(home / "out.adi"),
              readFile(std::string(QX7_TEST_DATA) + "/convert/writer_expected.adi"));
    EXPECT_EQ(out.LogSize, 3);
    EXPECT_EQ(engine->counters().written, 3);
    EXPECT_EQ(engine->bufferSize(), 0u);
}

TEST_F(AdifTest, WriterLeavesNoFileWhenTheFolderIsMissing)
{
    engine->StartConversion(LogType::Adif);
    TQXLogSpec out = makeLogSpec((home / "missing" / "out.adi").string(), LogType::Adif);
    EXPECT_FALSE(engine->WriteOutput(out));
    EXPECT_FALSE(fs::exists(home / "missing"));
}

struct ExportRow
{
    const char* key;
    bool trim;
    const char* format;
    const char* expected;
};

TEST(GetExportField, EveryKeyInBothLayouts)
{
    const ExportRow rows[] = {
        {"CALL", true, "", "DL1ABC"},
        {"CALL", false, "", "DL1ABC          "},
        {"DATE", true, "yyyymmdd", "20240102"},
        {"DATE", true, "dd.mm.yyyy", "02.01.2024"},
        {"TIME", true, "", "1234"},
        {"BAND", true, "", "20m"},
        {"BAND", false, "", "20m  "},
        {"MODE", false, "", "SSB  "},
        {"SUBM", true, "", "USB"},
        {"RSTS", false, "", "59    "},
        {"RSTS", true, "", "59"},
        {"RSTR", true, "", ""},
        {"QSLS", true, "", "Y"},
        {"QSLR", true, "", "N"},
        {"MARK", true, "", "N"},
        {"QMGR", true, "", "W1XYZ"},
        {"DATS", true, "dd.mm.yyyy", "20240105"},
        {"DATR", true, "", ""},
        {"COMM", true, "", "a {b} c"},
        {"FREQ", true, "", "14.2"},
        {"DXCC", true, "", "230"},
        {"XBND", true, "", ""},
        {"NOTES", true, "", ""},
        {"call", true, "", "DL1ABC"},
    };
    for (const auto layout : {RecordLayout::CallFirst, RecordLayout::DateFirst}) {
        FieldNormalizer n(layout);
        n.SetImportField("CALL", "DL1ABC", "");
        n.SetImportField("DATE", "20240102", "yyyymmdd");
        n.SetImportField("TIME", "1234", "");
        n.SetImportField("BAND", "20M", "");
        n.SetImportField("MODE", "SSB", "");
        n.SetImportField("SUBM", "USB", "");
        n.SetImportField("RSTS", "59", "");
        n.SetImportField("QSLS", "Y", "");
        n.SetImportField("QMGR", "W1XYZ", "");
        n.SetImportField("DATS", "20240105", "yyyymmdd");
        n.SetImportField("COMM", "a {b} c", "");
        n.SetImportField("FREQ", "14.2", "");
        n.SetImportField("DXCC", "230", "");
        for (const ExportRow& row : rows)
            EXPECT_EQ(GetExportField(n.record().view(), row.key, row.trim, row.format),
                      row.expected)
                << row.key << (row.trim ? " trimmed" : "") << " layout "
                << static_cast<int>(layout);
    }
}

} // namespace
} // namespace qx7::test

namespace qx7::test {
namespace {

TEST(AdifCommentChoices, StoredTagIsTheTextUpToTheBracket)
{
    const auto& choices = adifCommentChoices();
    ASSERT_EQ(choices.size(), 27u);
    EXPECT_EQ(commentTagOf(choices.front()), "<COMMENT>");
    EXPECT_EQ(commentTagOf("<GRIDSQUARE>"), "<GRIDSQUARE>");
    EXPECT_EQ(commentTagOf("<VE_PROV> 2-letter abbreviations: AB, BC..."), "<VE_PROV>");
}

} // namespace
} // namespace qx7::test
