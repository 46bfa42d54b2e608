#include "convert/readers/HamLogReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/ReaderSupport.h"
#include "core/Text.h"
#include "dbase/Table.h"

namespace qx7 {

namespace {

std::string textOf(const dbase::Table& table, std::string_view field)
{
    const auto column = table.findField(field);
    return column ? trimmed(table.text(*column)) : std::string();
}

// The MHz field holds a band ("14") or a frequency ("14.025").
void setBandText(FieldNormalizer& n, const std::string& value)
{
    n.NormalizeBand(value);
    if (value.size() > 3)
        n.FrequencyToBand(value);
}

void readOldLayout(const dbase::Table& t, FieldNormalizer& n)
{
    n.setCall(textOf(t, "CALL"));
    n.setDate(FieldDate, textOf(t, "DATE"), "yyyymmdd");
    n.setTime(textOf(t, "UTC"));
    setBandText(n, textOf(t, "MHZ"));
    n.NormalizeMode(textOf(t, "MODE"));
    const std::string report = textOf(t, "RST");
    n.setRstSent(report);
    n.setRstRcvd(report);
    const std::string qsl = textOf(t, "QSL");
    const std::string note = textOf(t, "NOTE");
    const char status = qsl.empty() ? ' ' : qsl.front();
    switch (status) {
    case ' ':
        n.setQslSent("!");
        n.setComment(note);
        break;
    case 'R':
        n.setQslSent("Y");
        n.setQslRcvd("Y");
        n.setComment(note);
        break;
    case 'S':
    case 'X':
        n.setQslSent("N");
        n.setComment(note);
        n.setMark("Y");
        break;
    case 'V':
        n.setQslSent("N");
        n.setManager(note);
        n.setMark("Y");
        break;
    case 'W':
        n.setQslSent("Y");
        n.setQslRcvd("N");
        n.setComment(note);
        break;
    case 'Z':
        n.setQslSent("N");
        n.setQslRcvd("Y");
        n.setComment(note);
        n.setMark("Y");
        break;
    default:
        break;
    }
}

// "B", "D", or "J"/"Y" (as "Y"); anything else leaves the flag.
std::string qslFlag(const std::string& value)
{
    const char c = value.empty() ? ' ' : value.front();
    if (c == 'B' || c == 'D')
        return std::string(1, c);
    return c == 'J' || c == 'Y' ? "Y" : "";
}

void readNewLayout(const dbase::Table& t, FieldNormalizer& n)
{
    n.setCall(textOf(t, "CALLSIGN"));
    n.setDate(FieldDate, textOf(t, "DATUM"), "yyyymmdd");
    n.setTime(textOf(t, "AZEIT"));
    setBandText(n, textOf(t, "FREQ"));
    n.NormalizeMode(textOf(t, "MODE"));
    n.setRstSent(textOf(t, "GRPT"));
    n.setRstRcvd(textOf(t, "ERPT"));
    n.setQslSent(qslFlag(textOf(t, "GQSL")));
    n.setQslRcvd(qslFlag(textOf(t, "EQSL")));
    n.setComment(textOf(t, "BEM"));
    n.setManager(textOf(t, "QSLMGR"));
}

} // namespace

bool HamLogReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    // The band fields hold MHz ("14", "3.5"): read as metres they would lose most bands.
    detail::useBandMode(spec, context, -1);
    try {
        dbase::Table table;
        table.open(spec.FileName, {dbase::OpenMode::ReadOnly, {}});
        spec.LogSize = table.recordCount();
        if (context.logSizeOnly())
            return true;
        const bool newLayout = table.findField("CALLSIGN").has_value();
        FieldNormalizer& n = context.normalizer();
        for (table.first(); !table.eof() && !context.abortRequested(); table.next()) {
            if (newLayout)
                readNewLayout(table, n);
            else
                readOldLayout(table, n);
            context.QsoComplete(spec);
        }
        return true;
    } catch (const dbase::Error&) {
        return false;
    }
}

} // namespace qx7
