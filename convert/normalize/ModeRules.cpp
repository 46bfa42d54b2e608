#include "convert/normalize/ModeRules.h"

#include "convert/normalize/FieldCodes.h"
#include "core/BandModeTables.h"

#include <vector>

namespace qx7 {

namespace {

struct Alias
{
    std::vector<std::string_view> equals;
    std::vector<std::string_view> beginsWith;
    char code;
    bool subMode;
};

const std::vector<Alias>& aliases()
{
    static const std::vector<Alias> table = {
        {{"LSB", "USB", "SB", "PH", "PHO", "PHONE", "J3E"}, {}, 'A', false},
        {{"A1A", "PCW"}, {}, 'D', false},
        {{"RTY", "FSK", "RY", "ASCI"}, {}, 'E', false},
        {{"FSK31", "SIM31"}, {"PSK", "QPSK"}, 'F', true},
        {{}, {"JT65"}, 'G', true},
        {{}, {"JT9"}, 'H', true},
        {{"CHIP64", "CHIP128"}, {}, 'O', true},
        {{}, {"CLO"}, 'P', false},
        {{"DOMINOEX", "DOMINOF"}, {}, 'S', true},
        {{"FMHELL", "FSKHELL", "HELL80", "HFSK", "PSKHELL"}, {}, 'W', true},
        {{}, {"ISCAT"}, 'X', true},
        {{}, {"JT4"}, 'Y', true},
        {{"FSQCALL"}, {"MFSK"}, '\\', true},
        {{}, {"MT"}, ']', false},
        {{}, {"OLIVIA"}, '^', true},
        {{}, {"OPERA"}, '_', true},
        {{}, {"PAC"}, '`', true},
        {{}, {"PAX"}, 'a', true},
        {{"PACKET", "PACK", "PR", "PCK"}, {}, 'b', true},
        {{}, {"QRA64"}, 'e', true},
        {{}, {"ROS"}, 'f', true},
        {{"STV"}, {}, 'h', false},
        {{}, {"THRB"}, 'j', true},
        {{"AMTORFEC", "GTOR", "AMTOR", "AMTO", "AMT", "ATOR"}, {}, 'k', true},
    };
    return table;
}

} // namespace

ModeMatch matchMode(std::string_view upper)
{
    for (int i = 1; i <= MaxMode; ++i)
        if (modeName(i) == upper)
            return {modeCode(i), false};
    for (const Alias& alias : aliases())
        for (std::string_view word : alias.equals)
            if (word == upper)
                return {alias.code, alias.subMode};
    for (const Alias& alias : aliases())
        for (std::string_view prefix : alias.beginsWith)
            if (upper.starts_with(prefix))
                return {alias.code, alias.subMode};
    return {};
}

} // namespace qx7
