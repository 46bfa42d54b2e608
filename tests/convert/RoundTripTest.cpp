// ADIF -> QX7 log -> ADIF over generated logs: every mode and band, values counted in
// characters and in UTF-8 bytes, text outside Windows-1252, and values at and past the
// width of each log field. Every QSO comes back; every value the log could not keep
// as it came has its warning line in the error log.

#include "ConvertFixture.h"

#include "convert/engine/ConvertCommandLine.h"
#include "convert/engine/LogTypes.h"
#include "core/BandModeTables.h"
#include "core/Text.h"

#include <cstdio>
#include <map>
#include <set>

namespace qx7::test {
namespace {

size_t utf8Chars(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

// One field, its length in characters or (some other programs) in bytes.
std::string field(const std::string& tag, const std::string& value, bool bytes = false)
{
    return "<" + tag + ":" + std::to_string(bytes ? value.size() : utf8Chars(value)) + ">" + value +
           " ";
}

class RoundTripTest : public ConvertFixture
{
protected:
    std::vector<std::string> convert(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const auto request = parseConvertArgs(args, err);
        EXPECT_TRUE(request) << err.str();
        EXPECT_EQ(runConvertRequest(*engine, settings, *request, out, err), 0) << err.str();
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // The records of one of our ADIF files by call, each as tag -> value.
    std::map<std::string, std::map<std::string, std::string>> records(const fs::path& file)
    {
        std::map<std::string, std::map<std::string, std::string>> byCall;
        const auto lines = readLines(file);
        for (size_t i = 3; i < lines.size(); ++i) {
            std::map<std::string, std::string> fields;
            for (const char* tag :
                 {"call", "band", "mode", "submode", "qsl_via", "comment", "freq", "rst_sent"})
                if (const auto value = adifValue(lines[i], tag))
                    fields[tag] = *value;
            byCall[fields["call"]] = fields;
        }
        return byCall;
    }
};

TEST_F(RoundTripTest, EveryModeOfTheTableSurvivesTheLog)
{
    std::string adif = "<EOH>\n";
    for (int mode = 1; mode <= MaxMode; ++mode)
        adif += field("CALL", "DL" + std::to_string(mode) + "M") + field("QSO_DATE", "20240101") +
                field("TIME_ON", "1200") + field("BAND", "20M") +
                field("MODE", std::string(modeName(mode))) + "<EOR>\n";
    const std::string in = writeFile("modes.adi", adif);
    const std::string back = (home / "back.adi").string();
    const auto toLog = convert({"--in", "45:" + in, "--out", "42:modes", "--call", "DL0XX"});
    EXPECT_EQ(toLog[1], "47 QSOs read OK of 47");
    const auto fromLog = convert({"--in", "42:modes", "--out", "45:" + back});
    EXPECT_EQ(fromLog[1], "47 QSOs read OK of 47");
    std::set<std::string> modes;
    for (const auto& [call, fields] : records(back))
        modes.insert(fields.at("mode"));
    for (int mode = 1; mode <= MaxMode; ++mode)
        EXPECT_EQ(modes.count(std::string(modeName(mode))), 1u) << modeName(mode);
}

struct Generated
{
    std::string adif;
    size_t qsos = 0;
    std::map<std::string, std::set<std::string>> changed; // call -> log fields changed
};

// QSO i: band i of the table, mode i, and by i one of the value kinds below.
Generated generateLog()
{
    const std::string at60(60, 'c');
    const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"; // Привет
    const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";    // Ελλάδα
    const std::string latin = "Gr\xC3\xBC\xC3\x9F\x65 aus K\xC3\xB6ln";              // Grüße
    Generated g;
    g.adif = "Generated log\n<ADIF_VER:5>3.1.4\n<EOH>\n";
    const int count = std::max(MaxBand, MaxMode) * 2;
    for (int i = 0; i < count; ++i) {
        const std::string call = "DL" + std::to_string(i) + "AB";
        char time[8];
        std::snprintf(time, sizeof time, "%02d%02d", i / 60, i % 60);
        const std::string band = toUpperAscii(bandName(i % MaxBand + 1));
        const std::string mode(modeName(i % MaxMode + 1));
        std::string qso = field("CALL", call) + field("QSO_DATE", "20240102") +
                          field("TIME_ON", time) + field("BAND", band) + field("MODE", mode);
        const bool bytes = i % 2 == 1; // the other length convention
        switch (i % 8) {
        case 0: // every field at its width
            qso += field("COMMENT", at60) + field("SUBMODE", "OLIVIA 16/50") +
                   field("QSL_VIA", "W1ABCDEFGHIJKLMN") + field("FREQ", "14.025123456");
            break;
        case 1: // past it
            qso += field("COMMENT", at60 + "d") + field("SUBMODE", "OLIVIA 16/1000") +
                   field("QSL_VIA", "W1ABCDEFGHIJKLMNO") + field("FREQ", "14.0251234567");
            g.changed[call] = {"COMM", "SUBM", "QMGR", "FREQ"};
            break;
        case 2:
        case 3: // outside Windows-1252, counted both ways, one followed by a space
            qso += field("COMMENT", cyrillic + " " + greek, bytes);
            g.changed[call] = {"COMM"};
            break;
        case 4:
        case 5: // Latin text the log keeps, counted both ways
            qso += field("COMMENT", latin, bytes) + "<NAME:4>Jo\xC3\xABl ";
            break;
        case 6: // at the width in characters, past it in bytes
            qso += field("COMMENT", std::string(58, 'x') + "\xC3\xA4\xC3\xB6", bytes);
            break;
        default: // past the width and outside Windows-1252
            qso += field("COMMENT", std::string(60, 'y') + cyrillic, bytes);
            g.changed[call] = {"COMM"};
            break;
        }
        g.adif += qso + "<EOR>\n";
        ++g.qsos;
    }
    return g;
}

TEST_F(RoundTripTest, GeneratedLogKeepsEveryQsoAndListsEveryChangedValue)
{
    const Generated g = generateLog();
    const std::string in = writeFile("generated.adi", g.adif);
    const std::string direct = (home / "direct.adi").string();
    const std::string back = (home / "back.adi").string();
    const std::string all = std::to_string(g.qsos);
    convert({"--in", "45:" + in, "--out", "45:" + direct});
    const auto toLog = convert({"--in", "45:" + in, "--out", "42:generated", "--call", "DL0XX"});
    EXPECT_EQ(toLog[1], all + " QSOs read OK of " + all);
    size_t changes = 0;
    for (const auto& [call, fields] : g.changed)
        changes += fields.size();
    EXPECT_EQ(toLog[2], "         " + std::to_string(changes) +
                            " values changed to fit the log (see the error log).");

    // One warning line per changed value, naming the QSO and the field.
    const auto errorLines = readLines(home / "tmp" / "generated_error.txt");
    std::map<std::string, std::set<std::string>> warned;
    size_t warnings = 0;
    for (const std::string& line : errorLines) {
        const size_t at = line.find("|warning: ");
        if (at == std::string::npos)
            continue;
        ++warnings;
        warned[trimmed(line.substr(7, 16))].insert(line.substr(at + 10, 4));
    }
    EXPECT_EQ(warnings, changes);
    EXPECT_EQ(warned, g.changed);

    const auto fromLog = convert({"--in", "42:generated", "--out", "45:" + back});
    EXPECT_EQ(fromLog[1], all + " QSOs read OK of " + all);
    const auto before = records(direct);
    const auto after = records(back);
    ASSERT_EQ(before.size(), g.qsos);
    ASSERT_EQ(after.size(), g.qsos);
    for (const auto& [call, fields] : before) {
        const auto& came = after.at(call);
        for (const auto& [tag, value] : fields) {
            const bool cut = g.changed.count(call) != 0 && (tag == "comment" || tag == "submode" ||
                                                            tag == "qsl_via" || tag == "freq");
            if (!cut) {
                EXPECT_EQ(came.count(tag) ? came.at(tag) : "", value) << call << " " << tag;
            }
        }
    }
}

} // namespace
} // namespace qx7::test
