#include "store/TableHelpers.h"

namespace qx7 {

dbase::Level tableLevel(int setting)
{
    switch (setting) {
    case 5:
        return dbase::Level::DBase5;
    case 7:
        return dbase::Level::DBase7;
    default:
        return dbase::Level::DBase4;
    }
}

std::string padToWidth(std::string_view utf8, size_t width)
{
    std::string out;
    size_t chars = 0;
    for (const char c : utf8) {
        const bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (lead && chars == width)
            break;
        chars += lead ? 1 : 0;
        out += c;
    }
    out.append(width - chars, ' ');
    return out;
}

} // namespace qx7
