#pragma once
// The data module's print queue as the source of a label run: its labels in the order
// the queue is shown, read as the layouts see them, marked "printed" one by one.

#include "labels/LabelSource.h"

#include <memory>

namespace qx7 {

class TQXDM;

inline constexpr const char* kLeaveOutPrintedQuestion =
    " label(s) in the print queue are marked \"printed\" already: an earlier run was "
    "stopped before the queue was emptied, or they were kept after printing.\r\n\r\n"
    "Leave them out of this run?";

// The open print queue in its current order, or null when it cannot be opened.
std::unique_ptr<LabelSource> openQueueLabelSource(TQXDM& dm);

// The queue for a print run. Labels marked "printed" that are still in the queue were
// printed by a run that stopped (killed, failed) before its after-print step, or kept
// by the user: when there are some, the user is asked whether to leave them out
// (the number, then kLeaveOutPrintedQuestion; Yes, No). `leftOut` receives how many were.
std::unique_ptr<LabelSource> openQueueForPrinting(TQXDM& dm, int* leftOut = nullptr);

} // namespace qx7
