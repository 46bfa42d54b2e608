#include "convert/readers/DbaseSpecReader.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/readers/TextSpecReader.h"
#include "core/IniFile.h"
#include "core/Prompter.h"
#include "core/Text.h"
#include "dbase/Table.h"

namespace qx7 {

namespace {

struct Mapping
{
    int column;
    std::string field; // the dBase field name, upper case
    std::string key;
    char type;
};

std::vector<Mapping> mappingsOf(const dbase::Table& table, const std::vector<std::string>& map)
{
    std::vector<Mapping> out;
    for (const std::string& line : map) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = toUpperAscii(trimmed(line.substr(0, eq)));
        const std::string key = trimmed(line.substr(eq + 1));
        if (name.empty() || key.empty())
            continue;
        if (const auto column = table.findField(name))
            out.push_back({*column, name, key, table.field(*column).type});
    }
    return out;
}

// "yyyy-mm-dd hh:mm:ss" as the engine shows date-time fields.
std::string dateOfDateTime(const std::string& text)
{
    if (text.size() < 10)
        return {};
    return text.substr(0, 4) + text.substr(5, 2) + text.substr(8, 2);
}

void readRecord(const dbase::Table& table, const std::vector<Mapping>& mappings,
                const TQXLogSpec& spec, FieldNormalizer& n)
{
    for (const Mapping& m : mappings) {
        if (spec.LogType == 11 && m.field == "DATE") {
            n.SetImportField(m.key, table.text(m.column), spec.DateFormat);
        } else if (m.type == 'L') {
            n.SetImportField(m.key, table.boolean(m.column) ? "Y" : "Nc", spec.DateFormat);
        } else if (m.type == 'D') {
            n.SetImportField(m.key, table.text(m.column), "yyyymmdd");
        } else if (m.type == 'T' || m.type == '@') {
            const std::string text = table.text(m.column);
            // A date-time mapped to the time gives its time of day.
            if (equalsIgnoreCase(m.key, "TIME"))
                n.SetImportField(m.key, text.size() >= 16 ? text.substr(11, 5) : "", "");
            else
                n.SetImportField(m.key, dateOfDateTime(text), "yyyymmdd");
        } else if (spec.LogType == 8 && m.field == "NAME_QTH") {
            const std::string text = table.text(m.column);
            n.setManagerFromViaText(text);
            n.setComment(text);
        } else {
            n.SetImportField(m.key, table.text(m.column), spec.DateFormat);
        }
    }
}

} // namespace

bool DbaseSpecReader::read(TQXLogSpec& spec, ReadContext& context) const
{
    if (!context.logSizeOnly() && spec.FieldMap.empty()) {
        context.prompter().error(kNoSpecification + std::string("\r\n") + spec.FileName);
        return false;
    }
    dbase::Table table;
    try {
        table.open(spec.FileName, {dbase::OpenMode::ReadOnly, {}});
    } catch (const dbase::Error&) {
        return false;
    }
    spec.LogSize = table.recordCount();
    if (context.logSizeOnly())
        return true;
    try {
        const std::vector<Mapping> mappings = mappingsOf(table, spec.FieldMap);
        FieldNormalizer& normalizer = context.normalizer();
        for (table.first(); !table.eof() && !context.abortRequested(); table.next()) {
            readRecord(table, mappings, spec, normalizer);
            context.QsoComplete(spec);
        }
        return true;
    } catch (const dbase::Error&) {
        context.prompter().error("Error while reading " + spec.FileName);
        return false;
    }
}

} // namespace qx7
