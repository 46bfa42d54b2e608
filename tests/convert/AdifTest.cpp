// ADIF in and out: what the reader takes from the files other programs write, and the
// exact bytes the writer produces.

#include "ConvertFixture.h"

#include "convert/engine/ConversionRun.h"
#include "convert/engine/LogTypes.h"
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
        {"BAND_RX counts as BAND",
         q + "<BAND_RX:3>40M<EOR>",
         "<COMMENT>",
         {"202401011200DL1ABC|EA=NNN" + blank}},
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
        {"a third length digit is not read",
         q + "<COMMENT:100>" + std::string(100, 'c') + "<EOR>",
         "<COMMENT>",
         {base + blank + "{13:cccccccccc}"}},
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
