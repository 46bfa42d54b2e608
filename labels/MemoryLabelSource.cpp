#include "labels/MemoryLabelSource.h"

#include <algorithm>

namespace qx7 {

bool MemoryLabelSource::markPrinted(int index)
{
    if (index < 0 || index >= count())
        return false;
    ++m_markCalls;
    m_records[static_cast<size_t>(index)].set("XTRA3", kPrintedMark);
    return true;
}

int MemoryLabelSource::deletePrinted()
{
    const auto before = m_records.size();
    std::erase_if(m_records, [](const LabelRecord& r) { return r.value("XTRA3") == kPrintedMark; });
    return static_cast<int>(before - m_records.size());
}

} // namespace qx7
