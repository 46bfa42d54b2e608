// Cabrillo in and out: QSO lines read by white-space fields whatever their padding,
// bands from kHz and designators, the writer's fixed columns byte for byte, and a log
// written by the writer read back unchanged.

#include "ReaderFixture.h"

#include "convert/readers/CabrilloReader.h"

namespace qx7::test {
namespace {

class CabrilloTest : public ReaderFixture
{};

// A log as contest programs write it: header, single-spaced and padded QSO lines, a
// transmitter number, QTC and X-QSO lines, a truncated end line.
const char* const kContestLog =
    "START-OF-LOG: 3.0\r\n"
    "CALLSIGN: 8P5A\r\n"
    "CONTEST: ARRL-DX-CW\r\n"
    "QSO: 28051 CW 2024-02-17 0000 8P5A 599 1000 W8MJ 599 MI\r\n"
    "QSO:   14001 CW 2024-11-23 0001 8P5A   599 05    K8MP   599  04   0\r\n"
    "qso:  3512 CW 2024-11-23 01:15 8P5A 599 05 VE3EJ 599 04\r\n"
    "QSO: 144 PH 2024-11-23 0200 8P5A 59 05 W1AW 57 05\r\n"
    "QSO:\xC2\xA0"
    "7001\xC2\xA0"
    "CW 2024-11-23 0300 8P5A 599 DL1ABC 579\r\n"
    "QSO: 1.2G FM 2024-11-23 0400 8P5A 59 G4XYZ 59\r\n"
    "X-QSO: 14002 CW 2024-11-23 0500 8P5A 599 05 K1ZZ 599 05\r\n"
    "QTC: 14001 CW 2024-11-23 0600 8P5A 1/10 K1ZZ 0559 DL1ABC 123\r\n"
    "END-OF-LO";

TEST_F(CabrilloTest, ReadsContestLogsByFields)
{
    const Result r = read(27, writeFile("contest.log", kContestLog));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 6);
    EXPECT_EQ(r.spec.CallSign, "8P5A");
    EXPECT_EQ(r.spec.BandMode, 1);
    expectQsos(r.qsos, {{{"CALL", "W8MJ"},
                         {"DATE", "20240217"},
                         {"TIME", "0000"},
                         {"BAND", "10m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "599"},
                         {"FREQ", "28.051"}},
                        {{"CALL", "K8MP"},
                         {"DATE", "20241123"},
                         {"TIME", "0001"},
                         {"BAND", "20m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "599"},
                         {"FREQ", "14.001"}},
                        {{"CALL", "VE3EJ"},
                         {"DATE", "20241123"},
                         {"TIME", "0115"},
                         {"BAND", "80m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "599"},
                         {"FREQ", "3.512"}},
                        {{"CALL", "W1AW"},
                         {"DATE", "20241123"},
                         {"TIME", "0200"},
                         {"BAND", "2m"},
                         {"MODE", "SSB"},
                         {"RSTS", "59"},
                         {"RSTR", "57"}},
                        {{"CALL", "DL1ABC"},
                         {"DATE", "20241123"},
                         {"TIME", "0300"},
                         {"BAND", "40m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "579"},
                         {"FREQ", "7.001"}},
                        {{"CALL", "G4XYZ"},
                         {"DATE", "20241123"},
                         {"TIME", "0400"},
                         {"BAND", "23cm"},
                         {"MODE", "FM"},
                         {"RSTS", "59"},
                         {"RSTR", "59"}}});
}

TEST_F(CabrilloTest, FieldsSplitByTheNumberOfExchangeFields)
{
    struct Row
    {
        const char* line;
        const char* call;
        std::vector<std::string> sent, received;
    };
    const Row rows[] = {
        {"QSO: 14000 CW 2024-01-01 0000 A1A K1ZZ", "K1ZZ", {}, {}},
        {"QSO: 14000 CW 2024-01-01 0000 A1A K1ZZ 0", "K1ZZ", {}, {}},
        {"QSO: 14000 CW 2024-01-01 0000 A1A 599 K1ZZ 599", "K1ZZ", {"599"}, {"599"}},
        {"QSO: 14000 CW 2024-01-01 0000 A1A 599 14 K1ZZ 599 05 1",
         "K1ZZ",
         {"599", "14"},
         {"599", "05"}},
        {"  QSO: 14000 CW 2024-01-01 0000 A1A 1 2 3 K1ZZ 4 5 6",
         "K1ZZ",
         {"1", "2", "3"},
         {"4", "5", "6"}},
        // One report only, in the usual columns and loosely: the transmitter number
        // stays out of the exchange and the call stays the call.
        {"QSO:  3500 CW 2024-03-16 0300 DL0XYZ        599        K3CC                     0",
         "K3CC",
         {"599"},
         {}},
        {"QSO:  3500 CW 2024-03-16 0400 DL0XYZ                   K4DD          579        1",
         "K4DD",
         {},
         {"579"}},
        {"QSO: 3500 CW 2024-03-16 0400 DL0XYZ K4DD 579 0", "K4DD", {}, {"579"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const auto q = parseCabrilloQso(row.line);
        ASSERT_TRUE(q);
        EXPECT_EQ(q->call, row.call);
        EXPECT_EQ(q->sent, row.sent);
        EXPECT_EQ(q->received, row.received);
    }
    for (const char* line : {"X-QSO: 14000 CW 2024-01-01 0000 A1A K1ZZ", "QTC: 1", "END-OF-LO", ""})
        EXPECT_FALSE(parseCabrilloQso(line)) << line;
}

TEST_F(CabrilloTest, BandTextsAsMhz)
{
    const std::pair<const char*, const char*> rows[] = {
        {"1800", "1.800"}, {"3500", "3.500"}, {"14025", "14.025"}, {"50", "50"},  {"144", "144"},
        {"432", "432"},    {"2.3G", "2300"},  {"10G", "10000"},    {"2M", "144"}, {"70C", "432"},
        {"20C", "1240"},   {"sat", "SAT"},    {"LIGHT", "LIGHT"}};
    for (const auto& [in, out] : rows)
        EXPECT_EQ(cabrilloBandAsMhz(in), out) << in;
}

TEST_F(CabrilloTest, WriterColumnsAndRoundTrip)
{
    const std::string adif = writeFile(
        "in.adi", "<EOH>\n"
                  "<CALL:6>DL1ABC<QSO_DATE:8>20240315<TIME_ON:4>1234<BAND:3>40M<MODE:2>CW"
                  "<RST_SENT:3>599<RST_RCVD:3>579<EOR>\n"
                  "<CALL:16>VERYLONGCALL/QRP<QSO_DATE:8>20240315<TIME_ON:4>1300<BAND:3>20M"
                  "<MODE:3>SSB<RST_SENT:2>59<RST_RCVD:2>57<EOR>\n"
                  "<CALL:4>W1AW<QSO_DATE:8>20240316<TIME_ON:4>0005<BAND:3>20M<MODE:5>PSK31"
                  "<EOR>\n"
                  "<CALL:4>K1AA<QSO_DATE:8>20240316<TIME_ON:4>0100<BAND:3>80M<MODE:4>RTTY"
                  "<RST_SENT:3>599<RST_RCVD:3>599<EOR>\n"
                  "<CALL:4>K2BB<QSO_DATE:8>20240316<TIME_ON:4>0200<BAND:3>80M<MODE:2>AM"
                  "<RST_SENT:2>59<RST_RCVD:2>59<EOR>\n"
                  "<CALL:4>K3CC<QSO_DATE:8>20240316<TIME_ON:4>0300<BAND:3>80M<MODE:2>CW"
                  "<RST_SENT:3>599<EOR>\n"
                  "<CALL:4>K4DD<QSO_DATE:8>20240316<TIME_ON:4>0400<BAND:3>80M<MODE:2>CW"
                  "<RST_RCVD:3>579<EOR>\n");
    const std::string out = (home / "out.log").string();
    std::vector<TQXLogSpec> inputs{makeLogSpec(adif, LogType::Adif)};
    engine->StartConversion(LogType::Cabrillo);
    engine->beginInputLog();
    ASSERT_TRUE(engine->ReadLog(inputs[0]));
    TQXLogSpec output = makeLogSpec(out, LogType::Cabrillo);
    output.CallSign = "DL0XYZ";
    ASSERT_TRUE(engine->WriteOutput(output));
    const std::vector<std::string> expected = {
        "START-OF-LOG: ",
        "ARRL-SECTION: DX",
        "CONTEST: ",
        "CALLSIGN: DL0XYZ",
        "CATEGORY: ",
        "CLAIMED-SCORE: ",
        "OPERATORS: DL0XYZ",
        "CLUB: ",
        "NAME: ",
        "ADDRESS: ",
        "ADDRESS: ",
        "ADDRESS: ",
        "ADDRESS: ",
        "SOAPBOX: ",
        "QSO:  7000 CW 2024-03-15 1234 DL0XYZ        599        DL1ABC        579        0",
        "QSO: 14000 PH 2024-03-15 1300 DL0XYZ        59         VERYLONGCALL/QRP 57         0",
        "QSO: 14000 DG 2024-03-16 0005 DL0XYZ                   W1AW                     0",
        "QSO:  3500 RY 2024-03-16 0100 DL0XYZ        599        K1AA          599        0",
        "QSO:  3500 PH 2024-03-16 0200 DL0XYZ        59         K2BB          59         0",
        "QSO:  3500 CW 2024-03-16 0300 DL0XYZ        599        K3CC                     0",
        "QSO:  3500 CW 2024-03-16 0400 DL0XYZ                   K4DD          579        0",
        "END-OF-LOG: ",
    };
    EXPECT_EQ(readLines(out), expected);

    const Result back = read(27, out);
    ASSERT_TRUE(back.ok);
    // Every QSO comes back; Cabrillo keeps only the kind of mode.
    ASSERT_EQ(back.qsos.size(), 7u);
    const char* modes[] = {"CW", "SSB", "PSK", "RTTY", "SSB", "CW", "CW"};
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(back.qsos[i].at("MODE"), modes[i]) << i;
    // A call longer than its column comes back whole; a QSO with one report keeps it on
    // its own side and the transmitter number is no report.
    EXPECT_EQ(back.qsos[1].at("CALL"), "VERYLONGCALL/QRP");
    EXPECT_EQ(back.qsos[1].at("RSTR"), "57");
    EXPECT_EQ(back.qsos[5].at("CALL"), "K3CC");
    EXPECT_EQ(back.qsos[5].at("RSTS"), "599");
    EXPECT_EQ(back.qsos[5].count("RSTR") ? back.qsos[5].at("RSTR") : "", "");
    EXPECT_EQ(back.qsos[6].at("CALL"), "K4DD");
    EXPECT_EQ(back.qsos[6].count("RSTS") ? back.qsos[6].at("RSTS") : "", "");
    EXPECT_EQ(back.qsos[6].at("RSTR"), "579");
    EXPECT_EQ(show(back.qsos[0]), show({{"CALL", "DL1ABC"},
                                        {"DATE", "20240315"},
                                        {"TIME", "1234"},
                                        {"BAND", "40m"},
                                        {"MODE", "CW"},
                                        {"RSTS", "599"},
                                        {"RSTR", "579"},
                                        {"FREQ", "7.000"}}));
}

} // namespace
} // namespace qx7::test
