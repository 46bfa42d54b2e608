#pragma once
// Writes the file set of the log-search applet (type 40): in a folder named after the
// own call, one file per first character of the calls ("0.TXT" ... "Z.TXT"), each line
// one QSO with the chosen fields separated by spaces.

#include "convert/engine/LogFormat.h"

#include <string>

namespace qx7 {

// The sub-folder of `folder` the files go to: the own call with "/" as "_".
std::string appletFolder(const std::string& folder, const std::string& ownCall);

bool WriteApplet(TQXLogSpec& output, WriteContext& context);

class AppletWriter : public LogWriter
{
public:
    bool write(TQXLogSpec& output, WriteContext& context) const override
    {
        return WriteApplet(output, context);
    }
};

} // namespace qx7
