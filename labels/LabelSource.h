#pragma once
// Where the labels of a print run come from: the print queue in its current order,
// one record per label. The queue table is bound to this interface by the data module;
// tests and benchmarks use MemoryLabelSource.

#include "labels/LabelRecord.h"

#include "store/PrintQueue.h" // kPrintedMark, the XTRA3 value of a printed label
#include <vector>

namespace qx7 {

class LabelSource
{
public:
    virtual ~LabelSource() = default;
    // Labels in the queue's current order.
    virtual int count() = 0;
    // The record at `index` (0-based, in that order).
    virtual LabelRecord record(int index) = 0;
    // Writes "printed" into XTRA3 of the record and posts it at once; false when the
    // record could not be written.
    virtual bool markPrinted(int index) = 0;
    // Around the marking of labels that are printed for good: a source that can be
    // interrupted between two marks (a process killed) notes the whole set first, so
    // that it can finish the marks when it is opened next.
    virtual void beginMarking(const std::vector<int>& /*indexes*/) {}
    virtual void endMarking() {}
    // Deletes every record whose XTRA3 is "printed" and answers how many went; the
    // remaining records keep their order. -1 when the queue could not be changed.
    virtual int deletePrinted() = 0;
};

} // namespace qx7
