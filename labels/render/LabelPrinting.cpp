#include "labels/render/LabelPrinting.h"

#include "labels/LayoutOperations.h"
#include "labels/render/LayoutFindings.h"
#include "labels/render/PainterSheetOutput.h"

namespace qx7 {

PrintJobResult runPrintJob(LabelLayout& layout, const std::string& imageFolder, LabelSource& source,
                           const LabelOutputTarget& target, Progress& progress,
                           const AfterPrintPolicy& after)
{
    PrintJobResult result;
    const bool printing = target.kind != LabelOutputTarget::Kind::Pictures;
    // Checked before every print: labels printed from a faulty layout (blank sheets, a
    // cut element, a missing picture) would leave the queue as printed all the same.
    if (printing) {
        const std::vector<LayoutFinding> findings = findLayoutProblems(layout, imageFolder);
        if (!findings.empty()) {
            result.run.error = printRefusedText(findings);
            result.run.failed = true;
            result.refused = true;
            return result;
        }
    }
    const std::unique_ptr<LabelSheetOutput> output = makeSheetOutput(layout, imageFolder, target);
    if (auto* painted = dynamic_cast<PainterSheetOutput*>(output.get())) {
        result.imageProblems = painted->renderer().imageProblems();
        result.expressionProblems = painted->renderer().expressionProblems();
    }
    result.run = runLabels(source, layout.Page, *output, progress);
    if (!output->marksPrinted())
        return result;
    // A job that never arrived marked nothing, so there is nothing to remove; sheets a
    // failed run had already handed over are printed and may leave the queue.
    if (after.run && (!result.run.failed || result.run.marked > 0) && after.prompter)
        result.deleted = afterPrint(layout.Page, source, after.autoDelete, *after.prompter);
    else
        layout.Page.resetRun();
    return result;
}

} // namespace qx7
