#include "datamodule/EngineFacts.h"

#include "datamodule/TQXDM.h"

namespace qx7 {

std::string engineVersionText(int version)
{
    const std::string digits = std::to_string(version);
    return digits.substr(0, 1) + "." + digits.substr(1, 2);
}

std::string dBaseLevelName(int level)
{
    switch (level) {
    case 3:
        return "dBASE dBASE III and dBASE III PLUS";
    case 4:
        return "dBASE 4.0";
    case 5:
        return "dBASE 5.0";
    case 7:
        return "dBASE 7.0";
    case 25:
        return "FoxPro";
    default:
        return std::to_string(level);
    }
}

std::vector<EngineFact> engineFacts(const TQXDM& dm)
{
    return {{"BDE version:", engineVersionText(dm.BDEVersion)},
            {"Default driver:", dm.BDEDefaultDriver},
            {"dBase level:", dBaseLevelName(dm.BDEDBaseLevel)},
            {"Language driver:", dm.BDELangDriver},
            {"Description:", dm.BDELangDriverDesc},
            {"Code page:", std::to_string(dm.BDECodePage)}};
}

} // namespace qx7
