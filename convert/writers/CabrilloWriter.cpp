#include "convert/writers/CabrilloWriter.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/writers/ExportField.h"
#include "convert/writers/OutputFile.h"
#include "core/Text.h"

namespace qx7 {

namespace {

std::string_view bandText(char code)
{
    switch (code) {
    case 'B':
        return " 1800";
    case 'C':
        return " 3500";
    case 'E':
        return " 7000";
    case 'F':
        return "10100";
    case 'G':
        return "14000";
    case 'H':
        return "18068";
    case 'I':
        return "21000";
    case 'J':
        return "24890";
    case 'K':
        return "28000";
    case 'L':
        return "50100";
    case 'M':
        return "   4M";
    case 'N':
        return "   2M";
    case 'P':
        return "  70C";
    case 'R':
        return "  20C";
    case 'S':
        return "  10C";
    case ']':
        return "  SAT";
    default:
        return "     ";
    }
}

// Cabrillo knows five mode words: phone (AM as well), FM, CW, RTTY and any other
// digital mode. A line without one cannot be read by field.
std::string_view modeText(std::string_view mode)
{
    if (mode == "SSB" || mode == "AM")
        return "PH ";
    if (mode == "FM")
        return "FM ";
    if (mode == "CW")
        return "CW ";
    if (mode == "RTTY" || mode == "RTTYM")
        return "RY ";
    return "DG ";
}

std::string firstThree(std::string_view report)
{
    return padRight(utf8Prefix(report, 3), 3);
}

} // namespace

std::string cabrilloQsoLine(const RecordView& r, std::string_view ownCall)
{
    const std::string date(r.date());
    std::string line = "QSO: ";
    line += bandText(r.band());
    line += ' ';
    line += modeText(modeTextOfCode(r.mode()));
    line += date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
    line += ' ';
    line += r.time();
    line += ' ';
    line += padRight(ownCall, 13);
    line += ' ';
    line += firstThree(r.rstSent());
    line += "        ";
    // A call longer than its column is written whole: a cut call is another station's.
    line += padRight(r.call(), 13);
    line += ' ';
    line += firstThree(r.rstRcvd());
    line += "        0";
    return line;
}

bool WriteCabrillo(TQXLogSpec& output, WriteContext& context)
{
    const std::string call = trimmed(output.CallSign);
    OutputFile file;
    if (!file.open(output.FileName))
        return false;
    for (const std::string& line :
         {std::string("START-OF-LOG: "), std::string("ARRL-SECTION: DX"), std::string("CONTEST: "),
          "CALLSIGN: " + call, std::string("CATEGORY: "), std::string("CLAIMED-SCORE: "),
          "OPERATORS: " + call, std::string("CLUB: "), std::string("NAME: "),
          std::string("ADDRESS: "), std::string("ADDRESS: "), std::string("ADDRESS: "),
          std::string("ADDRESS: "), std::string("SOAPBOX: ")})
        file.write(line + "\r\n");
    const std::vector<std::string_view> records = context.bufferRecords();
    for (size_t i = 0; i < records.size() && file.good(); ++i) {
        file.write(cabrilloQsoLine(RecordView(records[i], context.layout()), call) + "\r\n");
        context.WriteProgress(output, i);
    }
    file.write("END-OF-LOG: \r\n");
    return file.commit();
}

} // namespace qx7
