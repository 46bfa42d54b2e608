// Log types, import specifications, the import memory and conversion macros: what is
// stored in the files and read back.

#include "ConvertFixture.h"

#include "convert/engine/ConversionMacro.h"
#include "convert/engine/ConvertCommandLine.h"
#include "convert/engine/LogTypes.h"
#include "convert/readers/LineLoader.h"
#include "convert/specs/ImportSpecFile.h"
#include "core/IniFile.h"
#include "core/Text.h"

namespace qx7::test {
namespace {

using SpecFileTest = ConvertFixture;

TEST(LogTypes, ListsAndPresets)
{
    EXPECT_EQ(logTypeTable().size(), 38u);
    std::vector<std::string> outputs;
    for (const auto& row : outputLogTypes())
        outputs.emplace_back(row.description);
    EXPECT_EQ(outputs, (std::vector<std::string>{
                           "ASCII Format - sorted by date", "ASCII Format - sorted by calls",
                           "ADIF (Amateur Data Interchange Format)", "Cabrillo Format",
                           "QE2QE Log Search Applet", "QX Logs (Version 7)",
                           "Logsearch (without date and time)", "Logsearch (with date and time)"}));
    const auto inputs = inputLogTypes();
    EXPECT_EQ(inputs.front().code, 45);
    EXPECT_EQ(inputs.size(), 26u);
    for (size_t i = 1; i < inputs.size(); ++i)
        EXPECT_LE(toUpperAscii(inputs[i - 1].description), toUpperAscii(inputs[i].description));
    const std::pair<int, const char*> presets[] = {{8, "QN2QN"},   {11, "LogPlus!"}, {13, "Toplog"},
                                                   {37, "R25Log"}, {39, "Kenwood"},  {38, ""}};
    for (const auto& [code, name] : presets)
        EXPECT_EQ(builtInDbaseSpecName(code), name) << code;
    EXPECT_FALSE(findLogType(23).has_value());
    EXPECT_TRUE(findLogType(42)->callNeeded);
}

TEST_F(SpecFileTest, TextSpecificationRoundTrip)
{
    TQXLogSpec spec;
    spec.DateFormat = "dd.mm.yyyy";
    spec.BandMode = 1;
    spec.TextType = 0;
    spec.Delimiter = ',';
    spec.Qualifier = '"';
    spec.HeaderRows = 1;
    spec.FieldMap = {"CALL;0", "nil;0", "DATE;0", "BAND;0"};
    const std::string path = importSpecPath(settings.QXUserPath, "csv", SpecKind::Text);
    ASSERT_TRUE(writeImportSpec(path, SpecKind::Text, spec));
    const IniFile file(path);
    EXPECT_EQ(file.readInteger("Options", "Delimiter", 0), 44);
    EXPECT_EQ(file.readInteger("Options", "Qualifier", 0), 34);
    EXPECT_EQ(file.readInteger("Options", "HeaderRows", 0), 1);
    EXPECT_EQ(file.readString("Fields", "Field2", ""), "nil;0");
    TQXLogSpec back;
    readImportSpec(file, SpecKind::Text, back);
    EXPECT_EQ(back.FieldMap, spec.FieldMap);
    EXPECT_EQ(back.Delimiter, ',');
    EXPECT_EQ(back.Qualifier, '"');
    EXPECT_EQ(back.DateFormat, "dd.mm.yyyy");
    EXPECT_EQ(back.BandMode, 1);
    EXPECT_EQ(listImportSpecs(settings.QXUserPath, SpecKind::Text),
              std::vector<std::string>{"csv"});
}

TEST_F(SpecFileTest, DefaultsUnknownKeysAndGaps)
{
    IniFile file;
    file.parse("[Fields]\nField1=call;12\nField2=NOTES;8\nField4=TIME;4\n");
    TQXLogSpec spec;
    spec.DateFormat = "yymmdd";
    spec.BandMode = 0;
    readImportSpec(file, SpecKind::Text, spec);
    EXPECT_EQ(spec.FieldMap, (std::vector<std::string>{"CALL;12", "nil;8"}));
    EXPECT_EQ(spec.DateFormat, "yymmdd");
    EXPECT_EQ(spec.BandMode, 0);
    EXPECT_EQ(spec.Delimiter, ';');
    EXPECT_EQ(spec.TextType, 0);
}

TEST_F(SpecFileTest, DbaseSpecificationIsLoadedForPresetTypes)
{
    const std::string file = writeFile("LOG.DBF", "");
    TQXLogSpec none = makeLogSpec(file, 8);
    EXPECT_FALSE(LoadImportSpec(none, settings.QXUserPath));
    EXPECT_EQ(none.SpecName, "QN2QN");
    EXPECT_EQ(none.HasSpec, 0);

    IniFile spec;
    spec.writeString("Options", "DateFormat", "yyyymmdd");
    spec.writeInteger("Options", "BandOrMHz", 0);
    spec.writeString("Fields", "CALLSIGN", "CALL");
    spec.writeString("Fields", "QSODATE", "date");
    spec.writeString("Fields", "NAME", "");
    spec.writeString("Fields", "RIG", "RADIO");
    ASSERT_TRUE(spec.saveAs(importSpecPath(settings.QXUserPath, "QN2QN", SpecKind::Dbase)));
    TQXLogSpec loaded = makeLogSpec(file, 8);
    EXPECT_TRUE(LoadImportSpec(loaded, settings.QXUserPath));
    EXPECT_EQ(loaded.HasSpec, 1);
    EXPECT_EQ(loaded.DateFormat, "yyyymmdd");
    EXPECT_EQ(loaded.BandMode, 0);
    EXPECT_EQ(loaded.FieldMap,
              (std::vector<std::string>{"CALLSIGN=CALL", "QSODATE=DATE", "NAME=", "RIG="}));
    TQXLogSpec generic = makeLogSpec(file, 38);
    EXPECT_FALSE(LoadImportSpec(generic, settings.QXUserPath));
}

TEST_F(SpecFileTest, ImportMemory)
{
    IniFile ini;
    SaveImportPath(ini, 45, "/data/adif/", "");
    SaveImportPath(ini, 3, "/data/txt/", "mycsv");
    SaveImportSpec(ini, 3, "");
    SaveImportPath(ini, 42, "/elsewhere/", "");
    EXPECT_FALSE(ini.valueExists("ImportSpec", "45"));
    const ImportMemory adif = LoadImportPath(ini, 45, "/qx/logs", "/qx/tmp");
    EXPECT_EQ(adif.folder, "/data/adif/");
    EXPECT_EQ(LoadImportPath(ini, 3, "/qx/logs", "/qx/tmp").specName, "mycsv");
    EXPECT_EQ(LoadImportPath(ini, 42, "/qx/logs", "/qx/tmp").folder, "/qx/logs");
    EXPECT_EQ(LoadImportPath(ini, 27, "/qx/logs", "/qx/tmp").folder, "/qx/tmp/");
}

TEST_F(SpecFileTest, MacroRoundTrip)
{
    const std::string a =
        writeFile("a.adi", "<CALL:4>W1AW<QSO_DATE:8>20240102<TIME_ON:4>1200<BAND:3>20M<MODE:2>CW"
                           "<RST_SENT:6>599001<EOR>");
    const std::string b = writeFile(
        "b.adi", "<CALL:6>DL1ABC<QSO_DATE:8>20240101<TIME_ON:4>1200<BAND:3>20M<MODE:3>SSB<EOR>");
    const std::string out = (home / "out.adi").string();
    std::ostringstream text, err;
    const auto request = parseConvertArgs(
        {"--in", "45:" + a, "--in", "45:" + b, "--out", "45:" + out, "--remove-exchange", "--from",
         "20240102", "--save-macro", macroPath(settings.QXUserPath, "weekly")},
        err);
    ASSERT_TRUE(request);
    ASSERT_EQ(runConvertRequest(*engine, settings, *request, text, err), 0) << err.str();
    const std::string first = readFile(out);
    EXPECT_NE(first.find("<rst_sent:3>599 "), std::string::npos);
    EXPECT_EQ(first.find("DL1ABC"), std::string::npos);

    const ConversionMacro macro = readMacro(macroPath(settings.QXUserPath, "weekly"));
    ASSERT_EQ(macro.inputs.size(), 2u);
    EXPECT_EQ(macro.inputs[1].FileName, b);
    EXPECT_EQ(macro.inputs[1].LogType, 45);
    EXPECT_EQ(macro.output.FileName, out);
    EXPECT_EQ(macro.output.RemoveExchange, 1);
    EXPECT_EQ(macro.output.DateFrom, "20240102");
    EXPECT_EQ(macro.output.WriteMode, 2);
    EXPECT_EQ(macro.output.Checked, 0);

    // Performing takes every QSO: the inputs carry neither the range nor the options.
    fs::remove(out);
    std::ostringstream listed;
    EXPECT_EQ(runMacroArgs(*engine, settings, {"list"}, listed, err), 0);
    EXPECT_EQ(listed.str(), "weekly\n");
    std::ostringstream protocol;
    EXPECT_EQ(runMacroArgs(*engine, settings, {"run", "weekly"}, protocol, err), 0) << err.str();
    const std::string second = readFile(out);
    EXPECT_NE(second.find("DL1ABC"), std::string::npos);
    EXPECT_NE(second.find("<rst_sent:6>599001 "), std::string::npos);
    EXPECT_NE(protocol.str().find("2 QSOs read OK of 2\n"), std::string::npos);
    EXPECT_EQ(runMacroArgs(*engine, settings, {"run", "missing"}, protocol, err), 1);
    EXPECT_EQ(runMacroArgs(*engine, settings, {"frob"}, protocol, err), 2);
}

struct CountRow
{
    int type;
    std::string text;
    long long count;
    const char* call;
};

TEST(LineLoader, LinesAndCountsPerType)
{
    const CountRow rows[] = {
        // ADIF counts records, not lines: two on one line are two, one without <EOR> none.
        {45, "<EOH>\r\n<call:1>A<eor>\r\n\r\n<CALL:1>B<EOR><CALL:1>C<EOR>\n<CALL:1>D", 3, ""},
        {3, "a\r\n\r\nb\rc\n", 3, ""},
        {27, "START-OF-LOG: 3.0\nCALLSIGN: DL0XYZ\nQSO: 14000 CW\nqso: 7000 CW\n", 2, "DL0XYZ"},
        {26, "HEADER        DL1ABC    \n--\nline\nline\n", 2, "DL1ABC"},
        {12, "CALLSIGN: W1AW\n01/02/2024 20 CW\nno date\n", 1, "W1AW"},
        {10, std::string(19, ' ') + ":x\nshort\n", 1, ""},
    };
    for (const CountRow& row : rows) {
        std::string call;
        EXPECT_EQ(countLogLines(row.type, row.text, &call), row.count) << row.type;
        EXPECT_EQ(call, row.call) << row.type;
    }
    std::vector<std::string_view> lines;
    splitLines("\r\n\r\nfirst\r\n\nsecond\r", lines);
    EXPECT_EQ(lines, (std::vector<std::string_view>{"first", "second"}));
    EXPECT_EQ(decodeLogText("\xEF\xBB\xBFJ\xC3\xB6rg"), "Jörg");
    EXPECT_EQ(decodeLogText("J\xF6rg"), "Jörg");
}

// A stray byte or a broken sequence is found wherever it stands in long ASCII text.
TEST(LineLoader, Utf8CheckedAtEveryPlace)
{
    for (size_t at = 0; at < 70; ++at) {
        std::string text(80, 'a');
        EXPECT_TRUE(isLogTextUtf8(text.substr(0, at) + "\xC3\xB6" + text.substr(at))) << at;
        EXPECT_TRUE(isLogTextUtf8(text.substr(0, at) + "\xE2\x82\xAC" + text)) << at;
        text[at] = '\xF6';
        EXPECT_FALSE(isLogTextUtf8(text)) << at;
        text[at] = '\xC3';
        EXPECT_FALSE(isLogTextUtf8(text)) << at;                   // no continuation byte after it
        EXPECT_FALSE(isLogTextUtf8(text.substr(0, at + 1))) << at; // cut at the end
    }
}

// Each <EOR> counts wherever it stands relative to the eight-byte steps of the count,
// next to other '<'s, in any case, and not when cut short at the end of the text.
TEST(LineLoader, AdifRecordsCountedAtEveryPlace)
{
    for (size_t lead = 0; lead < 17; ++lead) {
        const std::string pad(lead, 'x');
        EXPECT_EQ(countAdifRecords(pad + "<eor>"), 1) << lead;
        EXPECT_EQ(countAdifRecords(pad + "<<EoR>"), 1) << lead;
        EXPECT_EQ(countAdifRecords(pad + "<EOR><eor><<<eor>"), 3) << lead;
        EXPECT_EQ(countAdifRecords(pad + "<eor"), 0) << lead;
        EXPECT_EQ(countAdifRecords(pad + "<eor:0><eo>r>\xbc<eor>"), 1) << lead;
    }
    std::string many;
    for (int i = 0; i < 1000; ++i)
        many += "<call:" + std::to_string(i % 10 + 1) + ">" + std::string(size_t(i % 10 + 1), 'K') +
                (i % 3 == 0 ? "<EOR>\n" : "<eor>");
    EXPECT_EQ(countAdifRecords(many), 1000);
    EXPECT_EQ(countAdifRecords(""), 0);
}

} // namespace
} // namespace qx7::test
