// The dBase logs of other programs, written byte by byte as dBase III / FoxPro tables
// so that the reader meets date and logical fields as those programs store them: the
// specification-driven types with their per-type rules, and HAM-LOG in both layouts.

#include "ReaderFixture.h"

#include "convert/readers/TextSpecReader.h"

namespace qx7::test {
namespace {

struct Field
{
    std::string name;
    char type;
    int width;
};

// A dBase III table (version byte 0x03) with the given fields and records; each record
// holds one text per field, padded to the field's width.
std::string dbfBytes(const std::vector<Field>& fields,
                     const std::vector<std::vector<std::string>>& records)
{
    int recordLength = 1;
    for (const Field& f : fields)
        recordLength += f.width;
    const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1;
    RecordBytes head(32);
    head.u8(0, 0x03).u8(1, 124).u8(2, 3).u8(3, 15);
    head.u32(4, static_cast<uint32_t>(records.size()));
    head.u16(8, static_cast<unsigned>(headerLength)).u16(10, static_cast<unsigned>(recordLength));
    std::string bytes = head.str();
    for (const Field& f : fields) {
        RecordBytes d(32);
        d.raw(0, f.name)
            .u8(11, static_cast<unsigned char>(f.type))
            .u8(16, static_cast<unsigned>(f.width));
        bytes += d.str();
    }
    bytes += '\x0D';
    for (const auto& record : records) {
        bytes += ' ';
        for (size_t i = 0; i < fields.size(); ++i) {
            std::string value = record[i];
            value.resize(static_cast<size_t>(fields[i].width), ' ');
            bytes += value;
        }
    }
    bytes += '\x1A';
    return bytes;
}

class DbaseReaderTest : public ReaderFixture
{};

const std::vector<Field> kLogFields = {
    {"CALLSIGN", 'C', 12}, {"QSODATE", 'D', 8}, {"UTC", 'C', 5},  {"BAND", 'C', 6},
    {"MODE", 'C', 6},      {"SENT", 'C', 3},    {"RCVD", 'C', 3}, {"CONFIRMED", 'L', 1},
    {"NAME_QTH", 'C', 30}, {"DATE", 'C', 10}};

const std::vector<std::vector<std::string>> kLogRecords = {
    {"dl1abc", "20240315", "12:34", "20m", "CW", "599", "579", "T", "Hans VIA DL5XYZ",
     "15.03.2024"},
    {"W1AW", "19991231", "2359", "14.025", "SSB", "59", "57", "F", "Bob", "31.12.1999"},
};

const std::vector<std::string> kMap = {
    "CALLSIGN=CALL", "QSODATE=DATE",   "UTC=TIME",      "BAND=BAND", "MODE=MODE",  "SENT=RSTS",
    "RCVD=RSTR",     "CONFIRMED=QSLR", "NAME_QTH=COMM", "=CALL",     "NOSUCH=COMM"};

TEST_F(DbaseReaderTest, SpecificationMapsFieldsWithThePerTypeRules)
{
    const std::string path = writeFile("log.dbf", dbfBytes(kLogFields, kLogRecords));
    const Qso first = {{"CALL", "DL1ABC"}, {"DATE", "20240315"}, {"TIME", "1234"},
                       {"BAND", "20m"},    {"MODE", "CW"},       {"RSTS", "599"},
                       {"RSTR", "579"},    {"QSLR", "Y"},        {"COMM", "Hans VIA DL5XYZ"}};
    const Qso second = {{"CALL", "W1AW"}, {"DATE", "19991231"}, {"TIME", "2359"},
                        {"BAND", "20m"},  {"MODE", "SSB"},      {"RSTS", "59"},
                        {"RSTR", "57"},   {"COMM", "Bob"},      {"FREQ", "14.025"}};
    for (int type : {38, 13, 37, 39}) {
        SCOPED_TRACE(type);
        engine = std::make_unique<ConversionEngine>(settings, progress, prompter);
        const Result r = read(type, path, [](TQXLogSpec& s) { s.FieldMap = kMap; });
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.spec.LogSize, 2);
        expectQsos(r.qsos, {second, first});
    }
    // QN2QN: the name and QTH field also names the manager.
    const Result qn = read(8, path, [](TQXLogSpec& s) { s.FieldMap = kMap; });
    ASSERT_EQ(qn.qsos.size(), 2u);
    EXPECT_EQ(qn.qsos[1].at("QMGR"), "DL5XYZ");
    EXPECT_EQ(qn.qsos[1].at("COMM"), "Hans VIA DL5XYZ");
    // LOGPlus!: its DATE field is text in the specification's date format.
    engine = std::make_unique<ConversionEngine>(settings, progress, prompter);
    const Result lp = read(11, path, [](TQXLogSpec& s) {
        s.FieldMap = {"CALLSIGN=CALL", "DATE=DATE", "UTC=TIME", "BAND=BAND", "MODE=MODE"};
        s.DateFormat = "dd.mm.yyyy";
    });
    ASSERT_EQ(lp.qsos.size(), 2u);
    EXPECT_EQ(lp.qsos[0].at("DATE"), "19991231");
}

TEST_F(DbaseReaderTest, NoSpecificationIsReported)
{
    const std::string path = writeFile("log.dbf", dbfBytes(kLogFields, kLogRecords));
    TQXLogSpec spec = makeLogSpec(path, 38);
    engine->setLogSizeOnly(true);
    EXPECT_TRUE(engine->ReadLog(spec)) << "counting needs no specification";
    EXPECT_EQ(spec.LogSize, 2);
    engine->setLogSizeOnly(false);
    EXPECT_FALSE(engine->ReadLog(spec));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, std::string(kNoSpecification) + "\r\n" + path);
}

// A DOS or Windows log keeps its text in the code page its language driver byte names;
// the comment arrives as the operator typed it, not as Windows-1252 look-alikes.
TEST_F(DbaseReaderTest, TextOfForeignCodePagesArrivesAsWritten)
{
    struct Case
    {
        unsigned char ldid;
        const char* bytes; // the comment in that code page
        const char* text;
    };
    const Case cases[] = {
        {0x02, "M\x81ller \x8A", "Müller è"},         // code page 850
        {0x65, "\x88\xA2\xA0\xAD\xAE\xA2", "Иванов"}, // code page 866
        {0xC9, "\xCF\xF0\xE8\xE2\xE5\xF2", "Привет"}, // Windows-1251
        {0x64, "\x9D\xA2" "d\xAB", "Łódź"},              // code page 852
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.ldid));
        auto records = kLogRecords;
        records[0][8] = c.bytes;
        std::string bytes = dbfBytes(kLogFields, records);
        bytes[29] = static_cast<char>(c.ldid);
        const std::string path = writeFile("dos.dbf", bytes);
        engine = std::make_unique<ConversionEngine>(settings, progress, prompter);
        const Result r = read(38, path, [](TQXLogSpec& s) { s.FieldMap = kMap; });
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.qsos.size(), 2u);
        EXPECT_EQ(r.qsos[1].at("COMM"), c.text);
    }
}

TEST_F(DbaseReaderTest, DamagedTableFails)
{
    std::string bytes = dbfBytes(kLogFields, kLogRecords);
    const std::string path = writeFile("cut.dbf", bytes.substr(0, 40));
    EXPECT_FALSE(read(38, path, [](TQXLogSpec& s) { s.FieldMap = kMap; }).ok);
    EXPECT_FALSE(read(29, path).ok);
}

TEST_F(DbaseReaderTest, HamLogOldLayoutQslLetters)
{
    const std::vector<Field> fields = {{"CALL", 'C', 10}, {"DATE", 'D', 8}, {"UTC", 'C', 4},
                                       {"MHZ", 'C', 8},   {"MODE", 'C', 4}, {"RST", 'C', 3},
                                       {"QSL", 'C', 1},   {"NOTE", 'C', 20}};
    const std::vector<std::vector<std::string>> records = {
        {"DL1AAA", "20240301", "0100", "14", "CW", "599", " ", "note a"},
        {"DL1BBB", "20240302", "0200", "7.025", "CW", "599", "R", "note b"},
        {"DL1CCC", "20240303", "0300", "21", "SSB", "59", "S", "note c"},
        {"DL1DDD", "20240304", "0400", "28", "SSB", "59", "V", "W1XYZ"},
        {"DL1EEE", "20240305", "0500", "3.5", "SSB", "59", "W", "note e"},
        {"DL1FFF", "20240306", "0600", "144", "FM", "59", "Z", "note f"},
    };
    const Result r = read(29, writeFile("hamlog.dbf", dbfBytes(fields, records)));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.spec.LogSize, 6);
    const std::vector<Qso> expected = {
        {{"CALL", "DL1AAA"},
         {"DATE", "20240301"},
         {"TIME", "0100"},
         {"BAND", "20m"},
         {"MODE", "CW"},
         {"RSTS", "599"},
         {"RSTR", "599"},
         {"QSLS", "!"},
         {"COMM", "note a"}},
        {{"CALL", "DL1BBB"},
         {"DATE", "20240302"},
         {"TIME", "0200"},
         {"BAND", "40m"},
         {"MODE", "CW"},
         {"RSTS", "599"},
         {"RSTR", "599"},
         {"QSLS", "Y"},
         {"QSLR", "Y"},
         {"COMM", "note b"},
         {"FREQ", "7.025"}},
        {{"CALL", "DL1CCC"},
         {"DATE", "20240303"},
         {"TIME", "0300"},
         {"BAND", "15m"},
         {"MODE", "SSB"},
         {"RSTS", "59"},
         {"RSTR", "59"},
         {"COMM", "note c"},
         {"MARK", "Y"}},
        {{"CALL", "DL1DDD"},
         {"DATE", "20240304"},
         {"TIME", "0400"},
         {"BAND", "10m"},
         {"MODE", "SSB"},
         {"RSTS", "59"},
         {"RSTR", "59"},
         {"QMGR", "W1XYZ"},
         {"MARK", "Y"}},
        {{"CALL", "DL1EEE"},
         {"DATE", "20240305"},
         {"TIME", "0500"},
         {"BAND", "80m"},
         {"MODE", "SSB"},
         {"RSTS", "59"},
         {"RSTR", "59"},
         {"QSLS", "Y"},
         {"COMM", "note e"},
         {"FREQ", "3.5"}},
        {{"CALL", "DL1FFF"},
         {"DATE", "20240306"},
         {"TIME", "0600"},
         {"BAND", "2m"},
         {"MODE", "FM"},
         {"RSTS", "59"},
         {"RSTR", "59"},
         {"QSLR", "Y"},
         {"COMM", "note f"},
         {"MARK", "Y"}},
    };
    expectQsos(r.qsos, expected);
}

TEST_F(DbaseReaderTest, HamLogNewLayout)
{
    const std::vector<Field> fields = {{"CALLSIGN", 'C', 10}, {"DATUM", 'D', 8},  {"AZEIT", 'C', 5},
                                       {"FREQ", 'C', 8},      {"MODE", 'C', 4},   {"GRPT", 'C', 3},
                                       {"ERPT", 'C', 3},      {"GQSL", 'C', 1},   {"EQSL", 'C', 1},
                                       {"BEM", 'C', 20},      {"QSLMGR", 'C', 10}};
    const std::vector<std::vector<std::string>> records = {
        {"DK1ABC", "20240301", "12:00", "14.074", "CW", "599", "589", "J", "B", "Tnx", "DL5XX"},
        {"DK2ABC", "20240302", "13:00", "7", "SSB", "59", "57", "D", "N", "", ""},
    };
    const Result r = read(29, writeFile("hamlog2.dbf", dbfBytes(fields, records)));
    ASSERT_TRUE(r.ok);
    expectQsos(r.qsos, {{{"CALL", "DK1ABC"},
                         {"DATE", "20240301"},
                         {"TIME", "1200"},
                         {"BAND", "20m"},
                         {"MODE", "CW"},
                         {"RSTS", "599"},
                         {"RSTR", "589"},
                         {"QSLS", "Y"},
                         {"QSLR", "B"},
                         {"COMM", "Tnx"},
                         {"QMGR", "DL5XX"},
                         {"FREQ", "14.074"}},
                        {{"CALL", "DK2ABC"},
                         {"DATE", "20240302"},
                         {"TIME", "1300"},
                         {"BAND", "40m"},
                         {"MODE", "SSB"},
                         {"RSTS", "59"},
                         {"RSTR", "57"},
                         {"QSLS", "D"}}});
}

} // namespace
} // namespace qx7::test
