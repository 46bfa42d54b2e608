#include "convert/readers/YpLogReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"
#include "core/Text.h"

namespace qx7 {

namespace {

std::vector<std::string> tabColumns(std::string_view line)
{
    std::vector<std::string> columns;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        columns.push_back(trimmed(line.substr(start, tab - start)));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    return columns;
}

bool isConfirmed(const std::string& value)
{
    return !value.empty() && (value.front() == 'C' || value.front() == 'c');
}

// Columns from 1: date "yyyy.mm.dd", time, mode, band or frequency, call, (two unused),
// manager, sent, received, mark "C", QSL sent "C", QSL received "C". A short line gives
// what it has; the checks then name what is missing.
void readLine(std::string_view line, FieldNormalizer& n)
{
    std::vector<std::string> c = tabColumns(line);
    c.resize(13);
    n.setDate(FieldDate, c[0], "yyyy.mm.dd");
    n.setTime(c[1]);
    n.NormalizeMode(c[2]);
    n.NormalizeBand(c[3]);
    n.setCall(c[4]);
    n.setManager(c[7]);
    n.setRstSent(c[8]);
    n.setRstRcvd(c[9]);
    if (isConfirmed(c[10]))
        n.setMark("Y");
    if (isConfirmed(c[11]))
        n.setQslSent("Y");
    if (isConfirmed(c[12]))
        n.setQslRcvd("Y");
}

} // namespace

bool YpLogReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    return detail::readTextLog(spec, context, 1, [](std::string_view line, FieldNormalizer& n) {
        readLine(line, n);
        return true;
    });
}

} // namespace qx7
