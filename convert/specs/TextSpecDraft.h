#pragma once
// An import specification being made for a text or CSV log: the first lines of the file,
// the text options, the field breaks of a fixed-width file and the field of every
// column. The specification editor and qx7cli edit one of these; it splits the sample
// the way the text reader will, and gives the options and `FieldMap` to save.

#include "convert/specs/SampleAnalysis.h"
#include "convert/specs/TQXLogSpec.h"

#include <string>
#include <vector>

namespace qx7 {

class TextSpecDraft
{
public:
    static constexpr size_t kSampleLines = 20;

    TextSpecDraft() = default;
    explicit TextSpecDraft(std::vector<std::string> sample);
    // The first lines of the log file (as the text reader loads them); false when the file
    // cannot be read.
    bool loadSample(const std::string& fileName);
    const std::vector<std::string>& sample() const { return m_sample; }

    int textType = 0; // 0 delimited, 1 fixed width
    char delimiter = ';';
    char qualifier = 0;
    bool headerRow = false;
    std::string dateFormat;
    int bandMode = -1;

    // "Analyze file": applies the guesses, then proposes breaks, fields and date format.
    void analyze();
    // Breaks from the first line (or from the blank columns of a file without delimiter).
    void guessBreaks();
    // Proposes a field for every column that has none yet.
    void guessFields();
    // Forgets the mapping and proposes it anew (after the columns changed).
    void resetFields();

    const std::vector<int>& breaks() const { return m_breaks; }
    void setBreaks(std::vector<int> breaks);
    // Break editing keeps the breaks sorted and unique; positions must be above 0.
    bool addBreak(int position);
    bool removeBreak(int position);
    bool moveBreak(int from, int to);

    size_t columnCount() const;
    // "Field n", or the header texts when the first line names the columns.
    std::vector<std::string> columnNames() const;
    // The data lines (the header line left out), each split into columns.
    std::vector<std::vector<std::string>> rows() const;
    std::vector<std::string> columnValues(size_t column) const;

    // The field key of each column ("nil" for one not imported): one per column at least,
    // and a mapping read from a file keeps its columns even where the sample has fewer.
    std::vector<std::string> keys() const;
    void setKey(size_t column, const std::string& key); // empty or "nil": not imported
    bool isComplete() const { return mappingIsComplete(keys()); }

    // Widths as stored: 0 for delimited files.
    std::vector<int> widths() const;
    // "KEY;width" per column.
    std::vector<std::string> fieldMap() const;

    // From a log's specification (as read from its file) and back.
    void loadFrom(const TQXLogSpec& spec);
    void applyTo(TQXLogSpec& spec) const;

private:
    std::vector<std::string> split(const std::string& line) const;

    std::vector<std::string> m_sample;
    std::vector<int> m_breaks;
    std::vector<std::string> m_keys;
};

} // namespace qx7
