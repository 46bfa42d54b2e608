#include "convert/normalize/FieldCodes.h"

#include "core/BandModeTables.h"
#include "core/IniFile.h"

namespace qx7 {

int importFieldNumber(std::string_view key)
{
    for (size_t i = 0; i < kImportFields.size(); ++i)
        if (equalsIgnoreCase(kImportFields[i].key, key))
            return static_cast<int>(i);
    return -1;
}

int bandIndexOfCode(char code)
{
    const int index = static_cast<unsigned char>(code) - 64;
    return index >= 1 && index <= MaxBand ? index : 0;
}

int modeIndexOfCode(char code)
{
    const int index = static_cast<unsigned char>(code) - 64;
    return index >= 1 && index <= MaxMode ? index : 0;
}

std::string_view bandTextOfCode(char code)
{
    const int index = bandIndexOfCode(code);
    return index == 0 ? std::string_view() : bandName(index);
}

std::string_view modeTextOfCode(char code)
{
    const int index = modeIndexOfCode(code);
    return index == 0 ? std::string_view() : modeName(index);
}

int reportLength(char modeCodeValue)
{
    switch (modeIndexOfCode(modeCodeValue)) {
    case 1: // SSB
    case 2: // AM
    case 3: // FM
        return 2;
    case 4: // CW
    case 5: // RTTY
        return 3;
    default:
        return 0;
    }
}

} // namespace qx7
