#pragma once
// Reads ADIF (log type 45): tags "<NAME:length[:type]>value", records closed by <EOR>.
// Only the fields QX keeps are taken, plus one field of the user's choice as comment.
// A value is cut at its line end; the rest of the line after it is skipped up to the
// next tag, so text between tags and the file header produce nothing.

#include "convert/engine/LogFormat.h"

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// The fields offered as the QSO comment ("ADIF Import Options"): a tag and what it holds.
const std::vector<std::string_view>& adifCommentChoices();
// The part of a choice that is stored as the comment tag: up to and including ">".
std::string commentTagOf(std::string_view choice);

class AdifReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;

    // Parses lines already loaded; false on a tag whose length is not a number.
    static bool readLines(const std::vector<std::string_view>& lines, TQXLogSpec& spec,
                          ReadContext& context);
};

} // namespace qx7
