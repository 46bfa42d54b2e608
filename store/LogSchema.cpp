#include "store/LogSchema.h"

namespace qx7 {

std::vector<std::string> logFieldNames()
{
    std::vector<std::string> names;
    for (const auto& f : kLogFields)
        names.emplace_back(f.name);
    return names;
}

std::vector<std::string> logFieldTitles()
{
    std::vector<std::string> titles;
    for (const auto& f : kLogFields)
        titles.emplace_back(f.title);
    return titles;
}

} // namespace qx7
