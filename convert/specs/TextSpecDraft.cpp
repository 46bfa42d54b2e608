#include "convert/specs/TextSpecDraft.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/readers/LineLoader.h"
#include "convert/readers/TextSpecReader.h"
#include "core/IniFile.h"
#include "core/Text.h"

#include <algorithm>
#include <cstdlib>

namespace qx7 {

namespace {

bool isNil(const std::string& key)
{
    return key.empty() || equalsIgnoreCase(key, "nil");
}

} // namespace

TextSpecDraft::TextSpecDraft(std::vector<std::string> sample) : m_sample(std::move(sample)) {}

bool TextSpecDraft::loadSample(const std::string& fileName)
{
    TQXLogSpec probe;
    probe.FileName = fileName;
    probe.LogType = 34;
    LogLines lines;
    if (!LoadLogLines(probe, lines, kSampleLines))
        return false;
    m_sample.assign(lines.lines.begin(), lines.lines.end());
    return true;
}

void TextSpecDraft::analyze()
{
    const TextGuess guess = analyzeSample(m_sample);
    if (guess.delimiter)
        delimiter = *guess.delimiter;
    if (guess.qualifier)
        qualifier = *guess.qualifier;
    headerRow = guess.headerRow;
    textType = guess.fixedWidth ? 1 : 0;
    guessBreaks();
    resetFields();
}

void TextSpecDraft::guessBreaks()
{
    m_breaks = qx7::guessBreaks(m_sample, delimiter);
}

void TextSpecDraft::guessFields()
{
    std::vector<std::string> current = keys();
    const std::vector<std::string> names = columnNames();
    for (size_t c = 0; c < current.size(); ++c) {
        if (!isNil(current[c]))
            continue;
        const std::string header = headerRow && c < names.size() ? names[c] : std::string();
        const std::string key = guessFieldKey(header, columnValues(c), current);
        if (!key.empty())
            current[c] = key;
    }
    m_keys = current;
    for (size_t c = 0; c < m_keys.size(); ++c)
        if (m_keys[c] == "DATE" && dateFormat.empty())
            dateFormat = guessDateFormat(columnValues(c));
}

void TextSpecDraft::resetFields()
{
    m_keys.assign(columnCount(), "nil");
    guessFields();
}

void TextSpecDraft::setBreaks(std::vector<int> breaks)
{
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
    breaks.erase(std::remove_if(breaks.begin(), breaks.end(), [](int b) { return b <= 0; }),
                 breaks.end());
    m_breaks = std::move(breaks);
}

bool TextSpecDraft::addBreak(int position)
{
    if (position <= 0 || std::count(m_breaks.begin(), m_breaks.end(), position))
        return false;
    m_breaks.insert(std::upper_bound(m_breaks.begin(), m_breaks.end(), position), position);
    return true;
}

bool TextSpecDraft::removeBreak(int position)
{
    const auto it = std::find(m_breaks.begin(), m_breaks.end(), position);
    if (it == m_breaks.end())
        return false;
    m_breaks.erase(it);
    return true;
}

bool TextSpecDraft::moveBreak(int from, int to)
{
    if (to <= 0 || from == to || std::count(m_breaks.begin(), m_breaks.end(), to) ||
        !removeBreak(from))
        return false;
    return addBreak(to);
}

size_t TextSpecDraft::columnCount() const
{
    if (textType == 1) {
        size_t longest = 0;
        for (const std::string& line : m_sample)
            longest = std::max(longest, line.size());
        const bool beyond = !m_breaks.empty() && longest > static_cast<size_t>(m_breaks.back());
        return m_breaks.size() + (beyond ? 1 : 0);
    }
    size_t count = 0;
    for (const std::string& line : m_sample)
        count = std::max(count, split(line).size());
    return count;
}

std::vector<std::string> TextSpecDraft::split(const std::string& line) const
{
    if (textType == 1)
        return splitFixed(line, widths(), delimiter, qualifier);
    return splitDelimited(line, delimiter, qualifier);
}

std::vector<std::string> TextSpecDraft::columnNames() const
{
    std::vector<std::string> names;
    const size_t count = columnCount();
    const std::vector<std::string> header =
        headerRow && !m_sample.empty() ? split(m_sample.front()) : std::vector<std::string>{};
    for (size_t c = 0; c < count; ++c)
        names.push_back(c < header.size() && !header[c].empty() ? header[c]
                                                                : "Field " + std::to_string(c + 1));
    return names;
}

std::vector<std::vector<std::string>> TextSpecDraft::rows() const
{
    std::vector<std::vector<std::string>> out;
    for (size_t i = headerRow ? 1 : 0; i < m_sample.size(); ++i) {
        std::vector<std::string> values = split(m_sample[i]);
        values.resize(columnCount());
        out.push_back(std::move(values));
    }
    return out;
}

std::vector<std::string> TextSpecDraft::columnValues(size_t column) const
{
    std::vector<std::string> values;
    for (const auto& row : rows())
        values.push_back(column < row.size() ? row[column] : std::string());
    return values;
}

std::vector<std::string> TextSpecDraft::keys() const
{
    std::vector<std::string> k = m_keys;
    k.resize(std::max(columnCount(), m_keys.size()), "nil");
    return k;
}

void TextSpecDraft::setKey(size_t column, const std::string& key)
{
    if (m_keys.size() <= column)
        m_keys.resize(column + 1, "nil");
    m_keys[column] = isNil(key) ? std::string("nil") : toUpperAscii(key);
}

std::vector<int> TextSpecDraft::widths() const
{
    std::vector<int> w;
    if (textType != 1)
        return std::vector<int>(columnCount(), 0);
    w = widthsFromBreaks(m_breaks, delimiter);
    // A column beyond the last break reads nothing.
    size_t longest = 0;
    for (const std::string& line : m_sample)
        longest = std::max(longest, line.size());
    if (!m_breaks.empty() && longest > static_cast<size_t>(m_breaks.back()))
        w.push_back(0);
    return w;
}

std::vector<std::string> TextSpecDraft::fieldMap() const
{
    std::vector<std::string> map;
    const std::vector<std::string> k = keys();
    const std::vector<int> w = widths();
    for (size_t c = 0; c < k.size(); ++c)
        map.push_back(k[c] + ";" + std::to_string(c < w.size() ? w[c] : 0));
    return map;
}

void TextSpecDraft::loadFrom(const TQXLogSpec& spec)
{
    textType = spec.TextType == 1 ? 1 : 0;
    delimiter = spec.Delimiter;
    qualifier = spec.Qualifier;
    headerRow = spec.HeaderRows > 0;
    dateFormat = spec.DateFormat;
    bandMode = spec.BandMode;
    m_keys.clear();
    std::vector<int> breaks;
    int position = 0;
    for (const std::string& line : spec.FieldMap) {
        const size_t semicolon = line.find(';');
        m_keys.push_back(trimmed(line.substr(0, semicolon)));
        const int width = semicolon == std::string::npos
                              ? 0
                              : std::max(0, std::atoi(line.c_str() + semicolon + 1));
        if (textType == 1 && width > 0) {
            position += width + (breaks.empty() || delimiter == 0 ? 0 : 1);
            breaks.push_back(position);
        }
    }
    if (textType == 1)
        m_breaks = breaks;
    else
        guessBreaks();
}

void TextSpecDraft::applyTo(TQXLogSpec& spec) const
{
    spec.TextType = textType;
    spec.Delimiter = delimiter;
    spec.Qualifier = qualifier;
    spec.HeaderRows = headerRow ? 1 : 0;
    spec.DateFormat = dateFormat;
    spec.BandMode = bandMode;
    spec.FieldMap = fieldMap();
}

} // namespace qx7
