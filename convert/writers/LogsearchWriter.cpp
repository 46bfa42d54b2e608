#include "convert/writers/LogsearchWriter.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/writers/OutputFile.h"

namespace qx7 {

namespace {

std::string bandOf(char code)
{
    std::string band(bandTextOfCode(code));
    if (!band.empty() && band.back() == 'm')
        band.pop_back();
    return band;
}

std::string_view modeOf(char code)
{
    const std::string_view mode = modeTextOfCode(code);
    if (mode == "SSB")
        return "S";
    if (mode == "CW")
        return "C";
    if (mode == "FM")
        return "F";
    if (mode == "RTTY")
        return "R";
    return mode == "SSTV" ? "T" : mode;
}

} // namespace

std::string logsearchTimePart(std::string_view time, std::string_view last)
{
    if (time.size() != 4)
        return {};
    if (last.size() != 4 || time.substr(0, 2) != last.substr(0, 2))
        return " " + std::string(time);
    if (time[2] != last[2])
        return " " + std::string(time.substr(2));
    if (time[3] != last[3])
        return " " + std::string(time.substr(3));
    return {};
}

bool WriteLogsearch(TQXLogSpec& output, WriteContext& context)
{
    output.HeaderRows = output.LogType == 48 ? 1 : 0;
    const bool dated = output.HeaderRows == 1;
    OutputFile file;
    if (!file.open(output.FileName))
        return false;
    std::string lastDate, lastTime;
    const std::vector<std::string_view> records = context.bufferRecords();
    for (size_t i = 0; i < records.size() && file.good(); ++i) {
        const RecordView r(records[i], context.layout());
        std::string line =
            std::string(r.call()) + " " + bandOf(r.band()) + " " + std::string(modeOf(r.mode()));
        if (dated) {
            const std::string date(r.date().substr(2));
            if (date != lastDate) {
                file.write("DATE " + date + "\r\n");
                lastDate = date;
                // A new day starts with the full time: the digits left out would
                // otherwise be taken from the day before.
                lastTime.clear();
            }
            line += logsearchTimePart(r.time(), lastTime);
            lastTime = r.time();
        }
        file.write(line + "\r\n");
        context.WriteProgress(output, i);
    }
    return file.commit();
}

} // namespace qx7
