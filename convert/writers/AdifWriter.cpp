#include "convert/writers/AdifWriter.h"

#include "convert/normalize/BandRules.h"
#include "convert/normalize/FieldCodes.h"
#include "convert/writers/ExportField.h"
#include "convert/writers/OutputFile.h"
#include "core/BandModeTables.h"
#include "core/Text.h"

#include <array>

namespace qx7 {

namespace {

void addField(std::string& line, std::string_view tag, std::string_view value)
{
    line += '<';
    line += tag;
    line += ':';
    line += std::to_string(utf8Length(value));
    line += '>';
    line += value;
    line += ' ';
}

void addIfPresent(std::string& line, std::string_view tag, std::string_view value)
{
    if (!value.empty())
        addField(line, tag, value);
}

void addIfEight(std::string& line, std::string_view tag, std::string_view value)
{
    if (value.size() == 8)
        addField(line, tag, value);
}

// "20M", "70CM", "SAT": the band texts as ADIF writes them.
std::string_view upperBandText(char code)
{
    static const std::array<std::string, MaxBand + 1> texts = [] {
        std::array<std::string, MaxBand + 1> t;
        for (int i = 1; i <= MaxBand; ++i)
            t[static_cast<size_t>(i)] = toUpperAscii(bandName(i));
        return t;
    }();
    return texts[static_cast<size_t>(bandIndexOfCode(code))];
}

} // namespace

std::string adifRecordLine(const RecordView& r)
{
    std::string line;
    appendAdifRecord(line, r);
    return line;
}

void appendAdifRecord(std::string& line, const RecordView& r)
{
    std::string scratch;
    auto value = [&](int field) { return exportValue(r, field, scratch); };
    addIfPresent(line, "call", value(FieldCall));
    addIfEight(line, "qso_date", value(FieldDate));
    if (const std::string_view time = value(FieldTime); time.size() == 4)
        addField(line, "time_on", time);
    addIfPresent(line, "band", upperBandText(r.band()));
    addIfPresent(line, "mode", value(FieldMode));
    addIfPresent(line, "submode", value(FieldSubMode));
    addIfPresent(line, "rst_sent", value(FieldRstSent));
    addIfPresent(line, "rst_rcvd", value(FieldRstRcvd));
    addField(line, "qsl_sent", r.qslSent() == 'N' ? "N" : "Y");
    addField(line, "qsl_rcvd", r.qslRcvd() == 'N' ? "N" : "Y");
    addIfPresent(line, "qsl_via", value(FieldManager));
    addIfEight(line, "qslsdate", value(FieldDateSent));
    addIfEight(line, "qslrdate", value(FieldDateRcvd));
    addIfPresent(line, "comment", value(FieldComment));
    // Logs that give the frequency in kHz keep it so; ADIF's FREQ is in MHz.
    if (const std::string_view freq = value(FieldFreq); !freq.empty())
        addField(line, "freq", frequencyInMhz(freq));
    addIfPresent(line, "dxcc", value(FieldDxcc));
    line += "<eor>";
}

bool WriteAdifLog(TQXLogSpec& output, WriteContext& context)
{
    OutputFile file;
    if (!file.open(output.FileName))
        return false;
    file.write(adifHeader());
    const std::vector<std::string_view> records = context.bufferRecords();
    std::string line;
    for (size_t i = 0; i < records.size() && file.good(); ++i) {
        line.clear();
        appendAdifRecord(line, RecordView(records[i], context.layout()));
        line += "\r\n";
        file.write(line);
        context.WriteProgress(output, i);
    }
    return file.commit();
}

} // namespace qx7
