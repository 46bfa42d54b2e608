#include "convert/writers/XmlWriter.h"

#include "convert/normalize/BandRules.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/specs/OutputSpecFile.h"
#include "convert/writers/ExportField.h"
#include "convert/writers/OutputFile.h"
#include "core/Text.h"

namespace qx7 {

namespace {

// The code point of the UTF-8 sequence at `pos`, and how many bytes it takes.
unsigned decodeAt(std::string_view s, size_t pos, size_t& length)
{
    const auto b = [&](size_t i) {
        return pos + i < s.size() ? static_cast<unsigned char>(s[pos + i]) : 0u;
    };
    const unsigned c = b(0);
    if (c < 0x80 || c < 0xC0) {
        length = 1;
        return c;
    }
    if (c < 0xE0) {
        length = 2;
        return (c & 0x1F) << 6 | (b(1) & 0x3F);
    }
    if (c < 0xF0) {
        length = 3;
        return (c & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
    }
    length = 4;
    return (c & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F);
}

} // namespace

std::string_view xmlTagOf(std::string_view key)
{
    static constexpr std::string_view tags[FieldCount] = {
        "CALL",     "QSO_DATE", "TIME_ON",  "BAND",     "MODE",    "SUBMODE",
        "RST_SENT", "RST_RCVD", "QSL_SENT", "QSL_RCVD", "QSL_VIA", "QSLSDATE",
        "QSLRDATE", "COMMENT",  "FREQ",     "DXCC",     "XBND",    "MARK"};
    const int number = importFieldNumber(key);
    return number < 0 ? std::string_view() : tags[number];
}

std::string xmlLatin1(std::string_view utf8)
{
    std::string out;
    for (size_t pos = 0; pos < utf8.size();) {
        size_t length = 1;
        const unsigned cp = decodeAt(utf8, pos, length);
        pos += length;
        if (cp == '&')
            out += "&amp;";
        else if (cp == '<')
            out += "&lt;";
        else if (cp == '>')
            out += "&gt;";
        else if (cp < 0x20 && cp != '\t')
            continue; // not allowed in XML 1.0
        else if (cp <= 0xFF)
            out += static_cast<char>(cp);
        else
            out += "&#" + std::to_string(cp) + ";";
    }
    return out;
}

bool WriteXml(TQXLogSpec& output, WriteContext& context)
{
    OutputFile file;
    if (!file.open(output.FileName))
        return false;
    file.write("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n<ADIF>\r\n<STN>\r\n");
    file.write("  <MYCALL>" + xmlLatin1(trimmed(output.CallSign)) + "</MYCALL>\r\n");
    file.write("  <DATA-SOURCE>QX7</DATA-SOURCE>\r\n</STN>\r\n<LOG>\r\n");
    const std::vector<std::string> keys = exportFieldKeys(output);
    const std::vector<std::string_view> records = context.bufferRecords();
    for (size_t i = 0; i < records.size() && file.good(); ++i) {
        const RecordView r(records[i], context.layout());
        std::string block = "<QSO>\r\n";
        for (const std::string& key : keys) {
            const std::string_view tag = xmlTagOf(key);
            std::string value = GetExportField(r, key, true, "yyyymmdd");
            if (tag == "FREQ") // ADIF's frequency is in MHz
                value = frequencyInMhz(value);
            block += "  <" + std::string(tag) + ">" + xmlLatin1(value) + "</" + std::string(tag) +
                     ">\r\n";
        }
        file.write(block + "</QSO>\r\n");
        context.WriteProgress(output, i);
    }
    file.write("</LOG>\r\n</ADIF>\r\n");
    return file.commit();
}

} // namespace qx7
