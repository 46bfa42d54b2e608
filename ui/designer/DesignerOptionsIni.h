#pragma once
// The designer options kept in qx7.ini from one start to the next ([Designer]).

#include "ui/designer/DesignerOptions.h"

namespace qx7 {

class IniFile;

// Missing or unreadable entries keep their defaults.
DesignerOptions readDesignerOptions(const IniFile& ini);
void writeDesignerOptions(IniFile& ini, const DesignerOptions& options);

} // namespace qx7
