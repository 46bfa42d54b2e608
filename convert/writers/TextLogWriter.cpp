#include "convert/writers/TextLogWriter.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/FieldNormalizer.h"
#include "convert/specs/OutputSpecFile.h"
#include "convert/writers/ExportField.h"
#include "convert/writers/OutputFile.h"

namespace qx7 {

namespace {

struct Column
{
    std::string key;
    size_t width;
};

class LineBuilder
{
public:
    explicit LineBuilder(const TQXLogSpec& output)
        : m_fixed(output.TextType == 1), m_delimiter(output.Delimiter),
          m_qualifier(output.Qualifier)
    {}

    std::string line(const std::vector<Column>& columns,
                     const std::vector<std::string>& values) const
    {
        std::string text;
        for (size_t i = 0; i < columns.size(); ++i) {
            if (m_fixed) {
                // A longer value would push every later column out of place.
                if (m_qualifier != 0)
                    text += m_qualifier;
                text += padRight(utf8Prefix(values[i], columns[i].width), columns[i].width);
                if (m_qualifier != 0)
                    text += m_qualifier;
            } else {
                appendDelimited(text, values[i]);
            }
            if (m_delimiter != 0 && i + 1 < columns.size())
                text += m_delimiter;
        }
        return text;
    }

    bool fixed() const { return m_fixed; }

private:
    // A value that holds the delimiter is enclosed (in double quotes when no qualifier
    // is set) and its own qualifiers doubled, so that it stays one column.
    void appendDelimited(std::string& text, std::string_view value) const
    {
        const bool holdsDelimiter =
            m_delimiter != 0 && value.find(m_delimiter) != std::string_view::npos;
        const char qualifier = m_qualifier != 0 ? m_qualifier : (holdsDelimiter ? '"' : '\0');
        if (qualifier == 0) {
            text += value;
            return;
        }
        text += qualifier;
        for (char c : value) {
            if (c == qualifier)
                text += qualifier;
            text += c;
        }
        text += qualifier;
    }

    bool m_fixed;
    char m_delimiter;
    char m_qualifier;
};

} // namespace

size_t fixedWidthOf(std::string_view key)
{
    static constexpr size_t widths[FieldCount] = {16, 8,  4, 6, 8,  12, 6, 6, 4,
                                                  4,  16, 8, 8, 60, 12, 6, 4, 4};
    const int number = importFieldNumber(key);
    return number < 0 ? 0 : widths[number];
}

bool WriteTextLog(TQXLogSpec& output, WriteContext& context)
{
    std::vector<Column> columns;
    for (const std::string& key : exportFieldKeys(output))
        columns.push_back({key, fixedWidthOf(key)});
    const LineBuilder builder(output);
    const std::string dateFormat = output.DateFormat.empty() ? "yyyymmdd" : output.DateFormat;
    OutputFile file;
    if (!file.open(output.FileName))
        return false;
    std::vector<std::string> values(columns.size());
    if (output.HeaderRows == 1) {
        for (size_t i = 0; i < columns.size(); ++i)
            values[i] = columns[i].key;
        file.write(builder.line(columns, values) + "\r\n");
    }
    const std::vector<std::string_view> records = context.bufferRecords();
    for (size_t i = 0; i < records.size() && file.good(); ++i) {
        const RecordView r(records[i], context.layout());
        for (size_t k = 0; k < columns.size(); ++k)
            values[k] = GetExportField(r, columns[k].key, !builder.fixed(), dateFormat);
        const std::string line = builder.line(columns, values);
        if (!line.empty())
            file.write(line + "\r\n");
        context.WriteProgress(output, i);
    }
    return file.commit();
}

} // namespace qx7
