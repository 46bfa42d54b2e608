#pragma once
// One print run as the commands start it (designer, main window, qx7cli): the labels
// of the queue through a layout to a printer, a PDF file or preview pictures, then,
// for printing only, the after-print step that may empty the queue of printed labels.

#include "labels/LabelFlow.h"
#include "labels/render/LabelOutput.h"

#include <string>

namespace qx7 {

class Progress;
class Prompter;

struct AfterPrintPolicy
{
    bool run = true;         // false keeps every label in the queue (qx7cli --keep)
    bool autoDelete = false; // "AutoDeleteQXPQ": no question asked
    Prompter* prompter = nullptr;
};

struct PrintJobResult
{
    LabelRunResult run;
    bool refused = false; // the layout check failed; run.error names every fault
    int deleted = 0;      // -1: the printed labels could not be removed
    std::vector<std::string> imageProblems;
    std::vector<std::string> expressionProblems;
};

// `layout.Page` supplies the run values; afterwards they are back at their defaults
// when the run printed (a preview leaves them as they were). A print (not a preview)
// with a layout that fails the layout check (blank sheets, elements outside the label, a
// picture that cannot be read, an expression that does not evaluate) is refused before
// anything is drawn or marked.
PrintJobResult runPrintJob(LabelLayout& layout, const std::string& imageFolder, LabelSource& source,
                           const LabelOutputTarget& target, Progress& progress,
                           const AfterPrintPolicy& after);

} // namespace qx7
