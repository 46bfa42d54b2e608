#pragma once
// Finds the fields of ADIF lines: "<NAME:length[:type]>value", records closed by <EOR>.
// Only the fields QX keeps are handed on, plus one field of the user's choice as the
// comment. A value is cut at its line end; the rest of the line after it is skipped up
// to the next tag, so text between tags and the file header produce nothing.

#include "convert/readers/AdifRecordBuilder.h"

#include <memory>
#include <string>
#include <string_view>

namespace qx7 {

class AdifTagScanner
{
public:
    // `commentTag` as stored in the settings, "<COMMENT>" for example.
    explicit AdifTagScanner(const std::string& commentTag);
    ~AdifTagScanner();

    // Hands the fields of one line to `builder`; a record may go on over the next line.
    // False when a tag's length is not a number, which ends the read.
    bool scanLine(std::string_view line, AdifRecordBuilder& builder);

private:
    class Names;
    std::unique_ptr<Names> m_names;
};

} // namespace qx7
