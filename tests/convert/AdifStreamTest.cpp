// ADIF logs are read a piece at a time: wherever the pieces end (inside a tag, between
// CR and LF, in the middle of a character), the QSOs, their count and the decoding
// are those of the file read whole.

#include "ConvertFixture.h"

#include "convert/engine/LogTypes.h"
#include "convert/readers/LineStream.h"

#include <map>

namespace qx7::test {
namespace {

struct ReadResult
{
    bool ok = false;
    long long logSize = 0;
    std::vector<std::string> records;
    friend bool operator==(const ReadResult&, const ReadResult&) = default;
};

class AdifStreamTest : public ConvertFixture
{
protected:
    void TearDown() override
    {
        setLogStreamPieceBytes(4 << 20);
        ConvertFixture::TearDown();
    }

    ReadResult read(const std::string& bytes, size_t pieceBytes)
    {
        setLogStreamPieceBytes(pieceBytes);
        TQXLogSpec spec = makeLogSpec(writeFile("in.adi", bytes), LogType::Adif);
        spec.BandMode = 0;
        engine->StartConversion(LogType::Adif);
        engine->ClearImportBuffer();
        ReadResult r;
        r.ok = engine->ReadLog(spec);
        r.logSize = spec.LogSize;
        for (std::string_view record : engine->bufferRecords())
            r.records.emplace_back(record);
        return r;
    }
};

std::string qso(const std::string& call, const std::string& name, const char* eol)
{
    return "<CALL:" + std::to_string(call.size()) + ">" + call +
           "<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M<MODE:3>SSB<COMMENT:" +
           std::to_string(name.size()) + ">" + name + "<EOR>" + eol;
}

TEST_F(AdifStreamTest, PiecesOfAnySizeReadLikeTheWholeFile)
{
    const std::string header = "Exported by a logger\r\n<ADIF_VER:5>3.1.4 <EOH>\r\n";
    const std::string utf8Name = "J\xC3\xBCrgen"; // Jürgen
    const struct
    {
        const char* name;
        std::string bytes;
    } files[] = {
        {"CRLF, UTF-8, byte-order mark",
         "\xEF\xBB\xBF" + header + qso("DL1ABC", utf8Name, "\r\n") + qso("W1AW", "Ann", "\r\n")},
        {"Windows-1252", header + qso("DL1ABC", "J\xFCrgen", "\n") + qso("G4XYZ", "Ann", "\n")},
        {"a record over several lines, no line end at the end",
         "<CALL:6>DL1ABC\r\n\r\n<QSO_DATE:8>20240101\n<TIME_ON:4>1200 <BAND:3>20M\r<MODE:2>CW"
         "\r\n<EOR>" +
             qso("K1AA", std::string(300, 'x'), "")},
        {"a tag whose length is not a number", qso("DL1ABC", "Ann", "\n") + "<CALL:X>W1AW<EOR>\n"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const ReadResult whole = read(file.bytes, file.bytes.size());
        for (size_t piece : {1, 2, 3, 5, 8, 13, 64}) {
            SCOPED_TRACE(piece);
            EXPECT_EQ(read(file.bytes, piece), whole);
        }
    }
}

TEST_F(AdifStreamTest, DecodesAndCountsAsTheWholeFile)
{
    // The Windows-1252 ü far behind the first piece makes the whole file Windows-1252;
    // the UTF-8 ü before it is then two Windows-1252 characters.
    const std::string tail = qso("G4XYZ", "J\xFCrgen", "\n");
    ReadResult r = read(qso("DL1ABC", "J\xC3\xBCrgen", "\n") + tail, 8);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.logSize, 2);
    ASSERT_EQ(r.records.size(), 2u);
    EXPECT_NE(r.records[0].find("J\xC3\x83\xC2\xBCrgen"), std::string::npos);
    EXPECT_NE(r.records[1].find("J\xC3\xBCrgen"), std::string::npos);

    // The QSOs are read as UTF-8 while the first pass still runs; a Windows-1252 byte at
    // the very end of a long file must still send every one of them through again.
    std::string long1252;
    for (int i = 0; i < 4000; ++i)
        long1252 += qso("DL" + std::to_string(1000 + i), "J\xC3\xBCrgen", "\n");
    long1252 += tail;
    r = read(long1252, 512);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.records.size(), 4001u);
    for (const std::string& record : r.records)
        if (record.find("G4XYZ") == std::string::npos) {
            ASSERT_NE(record.find("J\xC3\x83\xC2\xBCrgen"), std::string::npos) << record;
        }

    r = read("\xEF\xBB\xBF" + qso("DL1ABC", "J\xC3\xBCrgen", "\n"), 4);
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_EQ(r.records[0].find("\xEF\xBB\xBF"), std::string::npos);
    EXPECT_NE(r.records[0].find("J\xC3\xBCrgen"), std::string::npos);
}

TEST_F(AdifStreamTest, AMissingFileFails)
{
    TQXLogSpec spec = makeLogSpec((home / "in" / "none.adi").string(), LogType::Adif);
    LogFileScan scan;
    EXPECT_FALSE(ScanLogFile(spec, scan));
    EXPECT_FALSE(ReadLogLineBatches(spec, scan, [](const auto&) { return true; }));
}

// The size of a log is its number of records ("QSOs read OK of N"), however many lines
// hold them.
TEST_F(AdifStreamTest, LogSizeCountsRecordsNotLines)
{
    const std::string three =
        qso("DL1ABC", "Ann", "") + qso("W1AW", "Bob", "") + qso("G4XYZ", "Cy", "");
    const struct
    {
        const char* name;
        std::string bytes;
        long long size;
    } files[] = {
        {"all on one line", "<EOH>" + three + "\r\n", 3},
        {"two lines, two and one",
         "<EOH>\n" + qso("DL1ABC", "Ann", "") + qso("W1AW", "Bob", "\n") + qso("G4XYZ", "Cy", "\n"),
         3},
        {"lower case marks",
         "<eoh>\n<CALL:4>W1AW<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M"
         "<MODE:3>SSB<eor><CALL:4>K1AA<QSO_DATE:8>20240101<TIME_ON:4>1201"
         "<BAND:3>20M<MODE:3>SSB<eor>\n",
         2},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const ReadResult r = read(file.bytes, file.bytes.size());
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.logSize, file.size);
        EXPECT_EQ(r.records.size(), static_cast<size_t>(file.size));
    }
}

// The file is read and its fields normalized in one thread, the QSOs checked and kept
// in another: over many pieces, every QSO arrives in the order of the file (the error
// log numbers each by its place), a note on a value stays with the QSO it belongs to,
// and a QSO's receive band stands in for its missing band whatever piece it is in.
TEST_F(AdifStreamTest, ManyPiecesKeepTheOrderOfQsosAndTheirNotes)
{
    const auto callOf = [](int i) {
        std::string call = "DL1";
        for (int k = 0; k < 3; ++k, i /= 26)
            call += static_cast<char>('A' + i % 26);
        return call;
    };
    std::string bytes = "<ADIF_VER:5>3.1.4 <EOH>\n";
    std::map<std::string, int> noted; // call -> place in the file, from 1
    const int qsos = 3000;
    for (int i = 0; i < qsos; ++i) {
        const std::string call = callOf(i);
        bytes += "<CALL:6>" + call + " <QSO_DATE:8>20240101 <TIME_ON:4>1200 " +
                 (i % 5 == 0 ? "<BAND_RX:3>40M " : "<BAND:3>20M ") + "<MODE:2>CW ";
        // A comment whose length runs into the next field is cut before it, with a note.
        if (i % 7 == 0) {
            bytes += "<COMMENT:40>long <GRIDSQUARE:4>JO62 ";
            noted[call] = i + 1;
        }
        bytes += "<EOR>\n";
    }
    const ReadResult r = read(bytes, 1000);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.records.size(), static_cast<size_t>(qsos));
    EXPECT_EQ(engine->counters().doubtfulValues, static_cast<long long>(noted.size()));
    std::map<std::string, int> warned;
    for (const std::string& line : engine->errorLog().lines())
        if (line.find("runs into the next field") != std::string::npos)
            warned[line.substr(line.find('|') + 1, 6)] = std::stoi(line.substr(0, line.find('|')));
    EXPECT_EQ(warned, noted);
    std::map<std::string, char> bands;
    for (const std::string& record : r.records)
        bands[record.substr(record.find("DL1"), 6)] = record[record.find('|') + 1];
    ASSERT_EQ(bands.size(), static_cast<size_t>(qsos));
    for (int i = 0; i < qsos; i += 1)
        ASSERT_EQ(bands[callOf(i)], i % 5 == 0 ? 'E' : 'G') << callOf(i);
}

} // namespace
} // namespace qx7::test
