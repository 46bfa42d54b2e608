// The binary logs, each written field by field from its record layout: a QSO whose
// every field is checked tells a wrong offset at once; skipped records stay out of the
// buffer, and a file cut inside a record is refused without a crash.

#include "ReaderFixture.h"

#include "convert/readers/QxV3Reader.h"
#include "convert/readers/RttyBinReader.h"

namespace qx7::test {
namespace {

class BinaryReaderTest : public ReaderFixture
{
protected:
    // The same file once whole and once without its last byte.
    void expectTruncatedFails(int type, const std::string& bytes, const std::string& name)
    {
        const Result r = read(type, writeFile(name, bytes.substr(0, bytes.size() - 1)));
        EXPECT_FALSE(r.ok) << name;
        EXPECT_TRUE(r.qsos.empty()) << name;
    }
};

// month, day, year, hour, minute as the decimal digits of one number
uint32_t packed(int m, int d, int y, int hh, int mm)
{
    return static_cast<uint32_t>(m) * 100000000u + static_cast<uint32_t>(d) * 1000000u +
           static_cast<uint32_t>(y) * 10000u + static_cast<uint32_t>(hh * 100 + mm);
}

std::string qslRecord(std::string_view call, uint32_t when, std::string_view report)
{
    return RecordBytes(21).pascal(0, call).u32(13, when).pascal(17, report).str();
}

std::string srtRecord(unsigned flags, unsigned qslNumber)
{
    return RecordBytes(13).u8(10, flags).u16(11, qslNumber).str();
}

TEST_F(BinaryReaderTest, QxVersion3ReadsThroughTheSortFile)
{
    const std::string qsl = qslRecord("DL0XX", 0, "") +
                            qslRecord("DL1ABC", packed(3, 15, 24, 12, 34), "5 7") +
                            qslRecord("W1AW", packed(12, 31, 99, 23, 59), "59R") +
                            qslRecord("JA1XYZ", packed(1, 2, 5, 0, 5), "O");
    // Flags: bit 7 QSL sent, bit 6 mark, bits 5/4 the mode, bits 0-3 the band.
    const std::string srt =
        srtRecord(0x80 | 0x10 | 5, 1) + srtRecord(0x40 | 3, 2) + srtRecord(0x20 | 12, 3);
    writeFile("log.QSL", qsl);
    const std::string path = writeFile("log.SRT", srt);
    const Result r = read(1, path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 3);
    EXPECT_EQ(r.spec.CallSign, "DL0XX");
    expectQsos(r.qsos, {{{"CALL", "W1AW"},
                         {"DATE", "19991231"},
                         {"TIME", "2359"},
                         {"BAND", "40m"},
                         {"MODE", "RTTY"},
                         {"RSTS", "599"},
                         {"RSTR", "599"},
                         {"MARK", "Y"}},
                        {{"CALL", "JA1XYZ"},
                         {"DATE", "20050102"},
                         {"TIME", "0005"},
                         {"BAND", "70cm"},
                         {"MODE", "CW"}},
                        {{"CALL", "DL1ABC"},
                         {"DATE", "20240315"},
                         {"TIME", "1234"},
                         {"BAND", "20m"},
                         {"MODE", "SSB"},
                         {"RSTS", "57"},
                         {"RSTR", "57"},
                         {"QSLS", "Y"}}});
    writeFile("cut.QSL", qsl);
    expectTruncatedFails(1, srt, "cut.SRT");
    writeFile("bad.QSL", qsl);
    EXPECT_FALSE(read(1, writeFile("bad.SRT", srtRecord(0, 9))).ok) << "record beyond the file";
}

TEST_F(BinaryReaderTest, QxVersion4Records)
{
    auto record = [](std::string_view call, uint32_t when, unsigned flags, unsigned mode,
                     std::string_view sent, std::string_view rcvd) {
        return RecordBytes(31)
            .raw(0, call)
            .u32(13, when)
            .u8(17, flags)
            .u8(18, mode)
            .raw(19, sent)
            .raw(25, rcvd)
            .str();
    };
    const std::string file = RecordBytes(31).raw(0, "DL0XX        ").str() +
                             record("DL1ABC       ", packed(3, 15, 24, 12, 34),
                                    0x80 | 0x40 | 0x20 | 5, 14, "599", "579") +
                             record("W1AW", packed(3, 16, 24, 8, 0), 0x10 | 5, 1, "59", "59") +
                             record("OH2XX", packed(3, 17, 24, 9, 15), 3, 12, "599", "599");
    const Result r = read(2, writeFile("log.QX1", file));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 3);
    EXPECT_EQ(r.spec.CallSign, "DL0XX");
    expectQsos(r.qsos, {{{"CALL", "DL1ABC"},
                         {"DATE", "20240315"},
                         {"TIME", "1234"},
                         {"BAND", "20m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "579"},
                         {"QSLS", "Y"},
                         {"QSLR", "Y"},
                         {"MARK", "Y"}},
                        {{"CALL", "OH2XX"},
                         {"DATE", "20240317"},
                         {"TIME", "0915"},
                         {"BAND", "40m"},
                         {"MODE", "PSK"},
                         {"RSTS", "599"},
                         {"RSTR", "599"}}});
    expectTruncatedFails(2, file, "cut.QX1");
}

TEST_F(BinaryReaderTest, RttyContestRecords)
{
    auto record = [](unsigned used, unsigned day, uint32_t seconds, unsigned band, unsigned mode,
                     std::string_view call, unsigned rcvd, unsigned sent) {
        return RecordBytes(87)
            .u16(0, used)
            .u16(4, day)
            .u32(6, seconds)
            .u8(10, band)
            .u8(11, mode)
            .pascal(12, call)
            .u8(31, rcvd)
            .u8(43, sent)
            .str();
    };
    // Day 36598 is 15 March 2000 in the program's calendar.
    const std::string file = RecordBytes(87).str() +
                             record(0, 36598, 12 * 3600 + 34 * 60 + 56, 2, 0, "DL1ABC", 57, 59) +
                             record(1, 36598, 0, 1, 0, "DELETED", 59, 59) +
                             record(0, 36599, 5 * 60, 4, 4, "W1AW", 59, 58);
    const Result r = read(7, writeFile("rtty.BIN", file));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 3);
    expectQsos(r.qsos, {{{"CALL", "DL1ABC"},
                         {"DATE", "20000315"},
                         {"TIME", "1234"},
                         {"BAND", "20m"},
                         {"MODE", "RTTY"},
                         {"RSTS", "599"},
                         {"RSTR", "579"}},
                        {{"CALL", "W1AW"},
                         {"DATE", "20000316"},
                         {"TIME", "0005"},
                         {"BAND", "10m"},
                         {"MODE", "PAC"},
                         {"SUBM", "PACTOR"},
                         {"RSTS", "589"},
                         {"RSTR", "599"}}});
    expectTruncatedFails(7, file, "cut.BIN");
}

TEST_F(BinaryReaderTest, RttyDayNumbers)
{
    const std::pair<uint16_t, const char*> rows[] = {
        {0, "19000102"},     {29, "19000131"},    {30, "19000201"},
        {58, "19000229"},    {364, "19001231"},   {365, "19010101"},
        {36598, "20000315"}, {36524, "20000101"}, {65535, "20790606"},
    };
    for (const auto& [day, date] : rows)
        EXPECT_EQ(rttyDate(day), date) << day;
}

TEST_F(BinaryReaderTest, SwisslogRecords)
{
    auto record = [](std::string_view call, int y, int m, int d, unsigned time,
                     std::string_view sent, std::string_view rcvd, std::string_view band,
                     std::string_view mode, char qslSent, char qslRcvd) {
        return RecordBytes(128)
            .pascal(0, call)
            .u16(14, static_cast<unsigned>((y - 1900) * 512 + m * 32 + d))
            .u16(16, time)
            .pascal(48, sent)
            .pascal(56, rcvd)
            .pascal(64, band)
            .pascal(70, mode)
            .u8(76, static_cast<unsigned char>(qslSent))
            .u8(77, static_cast<unsigned char>(qslRcvd))
            .str();
    };
    const std::string file =
        RecordBytes(128).str() +
        record("HB9ABC", 2024, 3, 15, 12 << 8 | 34, "599", "579", "20M", "CW", 'J', 'N') +
        record("W1AW", 1998, 12, 31, 6144 + (23 << 8 | 59), "59", "57", "80M", "SSB", 'N', '1') +
        record("OH2XX", 2024, 3, 16, 30000, "59", "59", "40M", "SSB", 0, 0);
    const Result r = read(9, writeFile("swiss.DAT", file));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 3);
    expectQsos(r.qsos, {{{"CALL", "W1AW"},
                         {"DATE", "19981231"},
                         {"TIME", "2359"},
                         {"BAND", "80m"},
                         {"MODE", "SSB"},
                         {"RSTS", "59"},
                         {"RSTR", "57"},
                         {"QSLR", "Y"}},
                        {{"CALL", "HB9ABC"},
                         {"DATE", "20240315"},
                         {"TIME", "1234"},
                         {"BAND", "20m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "579"},
                         {"QSLS", "Y"}}});
    ASSERT_EQ(errorRows().size(), 1u) << "the QSO without a time";
    EXPECT_NE(errorRows()[0].find("wrong time"), std::string::npos);
    expectTruncatedFails(9, file, "cut.DAT");
}

TEST_F(BinaryReaderTest, QwRecordsForHfAndVhf)
{
    auto header = [](std::string_view call, unsigned hfBand) {
        std::string h = RecordBytes(62).pascal(14, call).str();
        for (int i = 1; i < 20; ++i)
            h += RecordBytes(62).u8(36, i == 5 ? hfBand : 0).str();
        return h;
    };
    auto record = [](std::string_view time, std::string_view date, std::string_view call,
                     unsigned band, unsigned sent, uint32_t rcvd, unsigned deleted,
                     std::string_view comment) {
        return RecordBytes(62)
            .pascal(2, time)
            .pascal(7, date)
            .pascal(14, call)
            .pascal(29, comment)
            .u8(36, band)
            .u16(37, sent)
            .u32(41, rcvd)
            .u8(49, deleted)
            .str();
    };
    const std::string hf = header("DL0XX", 1) +
                           record("1234", "840315", "DL1ABC", 4, 599, 579, 0, "") +
                           record("1300", "240315", "W1AW", 1, 59, 57, 0, "") +
                           record("1400", "240315", "GONE", 2, 59, 57, 1, "") +
                           record("1500", "240315", "   ", 2, 59, 57, 0, "");
    const Result r = read(33, writeFile("hf.BIN", hf));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 4);
    EXPECT_EQ(r.spec.CallSign, "DL0XX");
    expectQsos(r.qsos, {{{"CALL", "DL1ABC"},
                         {"DATE", "20040315"},
                         {"TIME", "1234"},
                         {"BAND", "20m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "579"}},
                        {{"CALL", "W1AW"},
                         {"DATE", "20240315"},
                         {"TIME", "1300"},
                         {"BAND", "160m"},
                         {"MODE", "SSB"},
                         {"RSTS", "59"},
                         {"RSTR", "57"}}});

    const std::string vhf =
        header("DL0XX", 0) + record("1234", "240315", "DL1ABC", 2, 59, 59, 0, "JO31");
    const Result v = read(33, writeFile("vhf.BIN", vhf));
    ASSERT_TRUE(v.ok);
    expectQsos(v.qsos, {{{"CALL", "DL1ABC"},
                         {"DATE", "20240315"},
                         {"TIME", "1234"},
                         {"BAND", "70cm"},
                         {"MODE", "SSB"},
                         {"RSTS", "59"},
                         {"RSTR", "59"},
                         {"COMM", "JO31"}}});
    expectTruncatedFails(33, hf, "cut.BIN");
    EXPECT_FALSE(read(33, writeFile("short.BIN", RecordBytes(62).str())).ok) << "header only";
}

TEST_F(BinaryReaderTest, PackedDateTimeDigits)
{
    EXPECT_EQ(unpackDateTime(315241234).mmddyy, "031524");
    EXPECT_EQ(unpackDateTime(315241234).hhmm, "1234");
    EXPECT_EQ(unpackDateTime(1231992359).mmddyy, "123199");
    EXPECT_EQ(unpackDateTime(12345).mmddyy, "");
}

} // namespace
} // namespace qx7::test
