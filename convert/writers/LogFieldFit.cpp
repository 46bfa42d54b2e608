#include "convert/writers/LogFieldFit.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/writers/ExportField.h"
#include "core/BandModeTables.h"
#include "dbase/Codepage.h"
#include "store/LogSchema.h"

#include <cstdint>
#include <cstring>

namespace qx7 {

std::string storedLogText(int fieldNumber, std::string_view value)
{
    if (fieldNumber < 0 || fieldNumber >= FieldMark)
        return std::string(value);
    const auto width = static_cast<size_t>(kLogFields[static_cast<size_t>(fieldNumber)].width);
    std::string bytes = dbase::utf8ToCp1252(value);
    if (bytes.size() > width)
        bytes.resize(width);
    while (!bytes.empty() && bytes.back() == ' ')
        bytes.pop_back();
    return dbase::cp1252ToUtf8(bytes);
}

namespace {

// Plain ASCII within the field's width and without a trailing blank is stored as it is:
// the common case, decided without converting anything.
bool fitsAsItIs(std::string_view value, int fieldNumber)
{
    const auto width = static_cast<size_t>(kLogFields[static_cast<size_t>(fieldNumber)].width);
    if (value.size() > width || value.back() == ' ')
        return false;
    for (const char c : value)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

bool isAscii(std::string_view text)
{
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & 0x8080808080808080ull) != 0)
            return false;
    }
    for (; i < text.size(); ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

// In a record of ASCII text, a field held at a fixed place fits when that place does:
// its value is no longer and, trimmed, ends in no blank.
bool fixedPlaceFits(const RecordView& r, int fieldNumber)
{
    const auto fits = [fieldNumber](std::string_view raw) {
        return raw.size() <=
               static_cast<size_t>(kLogFields[static_cast<size_t>(fieldNumber)].width);
    };
    switch (fieldNumber) {
    case FieldCall:
        return fits(r.call());
    case FieldDate:
        return fits(r.date());
    case FieldTime:
        return fits(r.time());
    case FieldRstSent:
        return fits(r.rstSent());
    case FieldRstRcvd:
        return fits(r.rstRcvd());
    case FieldQslSent:
    case FieldQslRcvd:
        return true; // one character
    default:
        return false;
    }
}

} // namespace

std::vector<std::string> valuesChangedByLog(const RecordView& record)
{
    std::vector<std::string> changes;
    std::string scratch;
    const bool ascii = isAscii(record.text());
    for (int field = 0; field < FieldMark; ++field) {
        if (ascii && fixedPlaceFits(record, field))
            continue;
        const std::string_view value = exportValue(record, field, scratch);
        if (value.empty() || fitsAsItIs(value, field))
            continue;
        const std::string stored = storedLogText(field, value);
        if (stored == value)
            continue;
        if (field == FieldMode && storedModeIndex(stored) == modeIndexOfCode(record.mode()))
            continue;
        const std::string_view key = kImportFields[static_cast<size_t>(field)].key;
        const size_t width = static_cast<size_t>(kLogFields[static_cast<size_t>(field)].width);
        const std::string cp1252 = dbase::utf8ToCp1252(value);
        const bool cut = cp1252.size() > width;
        const bool lost = dbase::cp1252ToUtf8(cp1252) != value;
        std::string text(key);
        if (cut)
            text += " cut to " + std::to_string(width) + " characters";
        if (cut && lost)
            text += " and";
        if (lost)
            text += " characters without a Windows-1252 form stored as ?";
        text += ": \"" + std::string(value) + "\" stored as \"" + stored + "\"";
        changes.push_back(std::move(text));
    }
    return changes;
}

} // namespace qx7
