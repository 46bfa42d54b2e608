#include "convert/readers/CtResReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"
#include "convert/readers/WordCursor.h"
#include "core/Text.h"

namespace qx7 {

namespace {

char charAt(std::string_view text, size_t position)
{
    return position <= text.size() && position > 0 ? text[position - 1] : ' ';
}

} // namespace

void readCtResLine(std::string_view original, FieldNormalizer& n)
{
    std::string line(original);
    if (!line.empty() && line.front() == ' ')
        line.front() = '0';
    const bool monthNames = charAt(line, 3) == '-';
    n.setDate(FieldDate, trimmed(detail::columns(line, 1, 9)),
              monthNames ? "dd-MMM-yy" : "mm/dd/yy");
    detail::WordCursor c(line);
    c.skipWord();
    n.setTime(c.takeChars(4));
    c.dropSpaces();
    c.skipWord(); // the QSO number
    c.dropSpaces();
    n.NormalizeBand(c.takeWord());
    c.dropSpaces();
    const char rstStart = charAt(c.rest(), 16);
    if (monthNames || rstStart < '1' || rstStart > '5') {
        n.NormalizeMode(c.takeWord());
    } else {
        const char third = charAt(c.rest(), 18);
        n.NormalizeMode(third == ' ' || third == '+' ? "SSB" : "CW");
    }
    c.dropSpaces();
    n.setCall(c.takeChars(13));
    c.dropSpaces();
    const std::string report = c.takeChars(3);
    n.setRstSent(report);
    n.setRstRcvd(report);
}

bool CtResReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    return detail::readTextLog(spec, context, 0, [](std::string_view line, FieldNormalizer& n) {
        readCtResLine(line, n);
        return true;
    });
}

} // namespace qx7
