#include "labels/FieldNames.h"

#include "core/Text.h"

namespace qx7 {

const std::vector<std::string>& qsoItemSuffixes()
{
    static const std::vector<std::string> items = {"DATE", "TIME", "BAND", "MODE", "SUBM", "RSTS",
                                                   "RSTR", "COMM", "FREQ", "PSEQ", "HRDC"};
    return items;
}

const std::vector<std::string>& headerFieldNames()
{
    static const std::vector<std::string> names = {"HISCALL", "MANAGER", "MYCALL", "NUMQSOS"};
    return names;
}

const std::vector<std::string>& printQueueFieldNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n = {"INDEXB",  "INDEXD", "HISCALL",
                                      "MANAGER", "MYCALL", "NUMQSOS"};
        for (int line = 1; line <= kMaxQsoLines; ++line) {
            for (const char* s : {"DATE", "TIME", "BAND", "MODE", "SUBM", "RSTS", "RSTR", "COMM",
                                  "FREQ", "PSEQ", "HRDC", "XTRA"})
                n.push_back(qsoFieldName(line, s));
        }
        for (int f = 1; f <= kMaxFooterLines; ++f)
            n.push_back(footerFieldName(f));
        for (const char* x : {"XTRA1", "XTRA2", "XTRA3"})
            n.emplace_back(x);
        return n;
    }();
    return names;
}

int qsoLineOf(std::string_view field)
{
    if (field.size() < 2 || field[1] != '_')
        return 0;
    const char letter = static_cast<char>(toUpperAscii(field.substr(0, 1))[0]);
    const int line = letter - 'A' + 1;
    return line >= 1 && line <= kMaxQsoLines ? line : 0;
}

int footerOf(std::string_view field)
{
    const std::string upper = toUpperAscii(field);
    if (upper.size() < 7 || upper.compare(0, 6, "FOOTER") != 0)
        return 0;
    const char digit = upper[6];
    return digit >= '1' && digit <= '9' ? digit - '0' : 0;
}

std::string lineSuffixOf(std::string_view field)
{
    return field.size() > 2 ? toUpperAscii(field.substr(2, 4)) : std::string();
}

std::string qsoFieldName(int line, std::string_view suffix)
{
    return std::string(1, static_cast<char>('A' + line - 1)) + "_" + std::string(suffix);
}

std::string footerFieldName(int footer)
{
    return "FOOTER" + std::to_string(footer);
}

FieldChoice decodeFieldName(std::string_view rawField)
{
    const std::string field = toUpperAscii(trimmed(rawField));
    FieldChoice c;
    if (field.empty())
        return c; // HISCALL
    for (size_t i = 0; i < headerFieldNames().size(); ++i)
        if (field == headerFieldNames()[i]) {
            c.header = static_cast<int>(i);
            return c;
        }
    if (field.size() >= 2 && field[1] == '_') {
        c.group = FieldChoice::Group::QsoLine;
        c.line = qsoLineOf(field) > 0 ? qsoLineOf(field) : 1;
        for (size_t i = 0; i < qsoItemSuffixes().size(); ++i)
            if (field.find(qsoItemSuffixes()[i], 2) != std::string::npos) {
                c.item = static_cast<int>(i);
                break;
            }
        return c;
    }
    if (field.compare(0, 6, "FOOTER") == 0) {
        c.group = FieldChoice::Group::Footer;
        c.footer = footerOf(field) > 0 ? footerOf(field) : 1;
        return c;
    }
    c.group = FieldChoice::Group::QsoLine; // anything else: line A, "QSO Date"
    return c;
}

std::string fieldNameOf(const FieldChoice& c)
{
    switch (c.group) {
    case FieldChoice::Group::Header:
        return headerFieldNames().at(static_cast<size_t>(c.header));
    case FieldChoice::Group::QsoLine:
        return qsoFieldName(c.line, qsoItemSuffixes().at(static_cast<size_t>(c.item)));
    case FieldChoice::Group::Footer:
        return footerFieldName(c.footer);
    }
    return "HISCALL";
}

} // namespace qx7
