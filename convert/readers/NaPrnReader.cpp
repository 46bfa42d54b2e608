#include "convert/readers/NaPrnReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"
#include "convert/readers/WordCursor.h"
#include "core/Text.h"

namespace qx7 {

namespace {

struct Header
{
    bool recognised = false;
    bool hasSent = false;
    bool sentFirst = false;
};

void lookForHeader(std::string_view line, Header& h)
{
    const std::string upper = toUpperAscii(line);
    const size_t sent = upper.find(" SENT ");
    const size_t call = upper.find(" CALLSIGN ");
    if (sent == std::string::npos && call == std::string::npos)
        return;
    h.recognised = true;
    h.hasSent = sent != std::string::npos;
    h.sentFirst = h.hasSent && call != std::string::npos && sent < call;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The position of the first "/" when it stands between two digits.
size_t qsoSlash(std::string_view line)
{
    const size_t slash = line.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 >= line.size())
        return std::string_view::npos;
    return isDigit(line[slash - 1]) && isDigit(line[slash + 1]) ? slash : std::string_view::npos;
}

void readQso(std::string_view text, const Header& h, FieldNormalizer& n)
{
    std::string rest = trimmed(text);
    if (rest.empty() || !isDigit(rest.front()))
        return;
    detail::WordCursor c(rest);
    n.setDate(FieldDate, c.takeChars(10), "mm/dd/yyyy");
    c.skipWord();
    c.dropSpaces();
    n.NormalizeBand(c.takeDigits());
    c.dropSpaces();
    n.NormalizeMode(c.takeWord());
    c.dropSpaces();
    n.setTime(c.takeChars(4));
    c.dropSpaces();
    if (h.sentFirst) {
        c.skipWord();
        c.dropSpaces();
    }
    n.setCall(c.takeChars(13));
    c.dropSpaces();
    c.skipWord();
    c.dropSpaces();
    const std::string first = c.takeChars(3);
    if (!h.hasSent || h.sentFirst) {
        n.setRstSent(first);
        n.setRstRcvd(first);
        return;
    }
    n.setRstSent(first);
    c.dropSpaces();
    c.skipWord();
    c.dropSpaces();
    n.setRstRcvd(c.takeChars(3));
}

} // namespace

bool NaPrnReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    Header header;
    return detail::readTextLog(spec, context, 0,
                               [&header](std::string_view line, FieldNormalizer& n) {
                                   if (!header.recognised)
                                       lookForHeader(line, header);
                                   const size_t slash = qsoSlash(line);
                                   if (slash == std::string_view::npos)
                                       return false;
                                   readQso(line.substr(slash >= 2 ? slash - 2 : 0), header, n);
                                   return true;
                               });
}

} // namespace qx7
