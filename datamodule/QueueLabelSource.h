#pragma once
// The data module's print queue as the source of a label run: its labels in the order
// the queue is shown, read as the layouts see them, marked "printed" one by one.

#include "labels/LabelSource.h"

#include <memory>

namespace qx7 {

class TQXDM;

// The open print queue in its current order, or null when it cannot be opened.
std::unique_ptr<LabelSource> openQueueLabelSource(TQXDM& dm);

} // namespace qx7
