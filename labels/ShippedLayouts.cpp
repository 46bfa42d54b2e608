#include "labels/ShippedLayouts.h"

#include "core/IniFile.h"
#include "labels/Resources.h"

#include <sys/stat.h>

namespace qx7 {

const std::vector<ShippedLayout>& shippedLayouts()
{
    static const std::vector<ShippedLayout> layouts = {
        {kSampleLayoutName, resources::sampleLayout},
        {kCardLayoutName, resources::cardLayout},
    };
    return layouts;
}

int installShippedLayouts(const std::string& layoutFolder)
{
    std::string folder = layoutFolder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    int written = 0;
    for (const ShippedLayout& l : shippedLayouts()) {
        const std::string path = folder + l.fileName;
        struct stat st
        {};
        if (::stat(path.c_str(), &st) == 0)
            continue;
        if (!writeFileAtomically(path, l.text))
            return -1;
        ++written;
    }
    return written;
}

} // namespace qx7
