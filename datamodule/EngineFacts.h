#pragma once
// The table engine's facts for this session, as the configuration dialog's "BDE" page and
// `qx7cli engine` show them: caption and value, in the order the page lists them.

#include <string>
#include <vector>

namespace qx7 {

class TQXDM;

struct EngineFact
{
    std::string caption; // "BDE version:", "Default driver:", ...
    std::string value;
};

// The version number as its first digit, ".", and the next two digits (500 gives "5.00").
std::string engineVersionText(int version);
// "dBASE 4.0" for 4 and the other levels the engine knows; the number for any other.
std::string dBaseLevelName(int level);
std::vector<EngineFact> engineFacts(const TQXDM& dm);

} // namespace qx7
