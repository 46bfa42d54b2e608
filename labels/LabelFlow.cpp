#include "labels/LabelFlow.h"

#include "core/Progress.h"
#include "core/Prompter.h"

#include <algorithm>

namespace qx7 {

namespace {

struct RunShape
{
    int perSheet;
    int rows;
    int startAt;
    int pageFrom;
    int pageTo;
};

RunShape shapeOf(const TQRPage& page)
{
    RunShape s{};
    s.rows = std::max(page.Rows, 1);
    s.perSheet = std::max(page.Columns, 1) * s.rows;
    // Positions beyond the sheet cannot be fed; they would leave no room at all.
    s.startAt = std::clamp<int>(page.StartAt, 1, s.perSheet);
    s.pageFrom = std::max<int>(page.PageFrom, 1);
    s.pageTo = page.PageTo;
    return s;
}

} // namespace

int sheetsNeeded(int labelCount, int startAt, int labelsPerSheet)
{
    if (labelsPerSheet < 1 || labelCount < 1)
        return 0;
    const int used = std::max(startAt, 1) + labelCount - 1;
    return (used + labelsPerSheet - 1) / labelsPerSheet;
}

int sheetsNeeded(int labelCount, int startAt, const std::vector<int>& used, int labelsPerSheet)
{
    if (labelsPerSheet < 1 || labelCount < 1)
        return 0;
    const int from = std::clamp(startAt, 1, labelsPerSheet);
    std::vector<bool> taken(size_t(labelsPerSheet) + 1, false);
    for (int p : used)
        if (p >= from && p <= labelsPerSheet)
            taken[size_t(p)] = true;
    const int free = int(std::count(taken.begin() + from, taken.end(), false));
    if (labelCount <= free)
        return 1;
    return 1 + (labelCount - free + labelsPerSheet - 1) / labelsPerSheet;
}

std::vector<LabelPlacement> planLabels(int labelCount, const TQRPage& page)
{
    const RunShape s = shapeOf(page);
    std::vector<bool> used(size_t(s.perSheet) + 1, false);
    for (int p : page.UsedPositions)
        if (p >= 1 && p <= s.perSheet)
            used[size_t(p)] = true;
    std::vector<LabelPlacement> plan;
    int sheet = 1;
    int position = 1;
    // The first printed sheet leaves empty what was used before the start position and
    // what the user marked as used.
    const auto skipUsed = [&] {
        if (sheet == s.pageFrom)
            while (position <= s.perSheet && (position < s.startAt || used[size_t(position)]))
                ++position;
    };
    skipUsed();
    for (int k = 0; k < labelCount; ++k) {
        while (position > s.perSheet) {
            ++sheet;
            position = 1;
            skipUsed();
        }
        if (sheet > s.pageTo)
            break;
        if (sheet >= s.pageFrom) {
            LabelPlacement p;
            p.record = page.Reverse ? labelCount - 1 - k : k;
            p.sheet = sheet;
            p.position = position;
            p.column = (position - 1) / s.rows;
            p.row = (position - 1) % s.rows;
            plan.push_back(p);
        }
        ++position;
        skipUsed();
    }
    return plan;
}

namespace {

// Marks the records and forgets them; counts what could not be written.
void markPrinted(LabelSource& source, std::vector<int>& records, LabelRunResult& result)
{
    if (records.empty())
        return;
    source.beginMarking(records);
    for (int record : records) {
        if (source.markPrinted(record))
            ++result.marked;
        else
            ++result.markFailures;
    }
    source.endMarking();
    records.clear();
}

} // namespace

LabelRunResult runLabels(LabelSource& source, const TQRPage& page, LabelSheetOutput& output,
                         Progress& progress)
{
    LabelRunResult result;
    const int count = source.count();
    const std::vector<LabelPlacement> plan = planLabels(count, page);
    const bool marks = output.marksPrinted();
    progress.start("Printing progress", 100);
    std::vector<int> onSheet; // labels with text on the open sheet
    std::vector<int> waiting; // on ended sheets that are out only when the output is finished
    const auto endSheet = [&] {
        if (!output.endSheet())
            return false;
        if (marks && output.sheetFinalWhenEnded())
            markPrinted(source, onSheet, result);
        waiting.insert(waiting.end(), onSheet.begin(), onSheet.end());
        onSheet.clear();
        return true;
    };
    int openSheet = 0;
    for (const LabelPlacement& p : plan) {
        if (p.sheet != openSheet) {
            if (openSheet != 0 && !endSheet()) {
                result.failed = true;
                openSheet = 0;
                break;
            }
            openSheet = 0;
            if (!output.beginSheet(p.sheet)) {
                result.failed = true;
                break;
            }
            openSheet = p.sheet;
            ++result.sheets;
        }
        ++result.labelsDrawn;
        if (output.drawLabel(source.record(p.record), p))
            onSheet.push_back(p.record);
        else
            ++result.blankLabels;
        // Records passed over on earlier sheets count as done too.
        const int done = p.record + 1;
        const int doneInOrder = page.Reverse ? count - p.record : done;
        if (!progress.step(static_cast<long long>(doneInOrder) * 100 / std::max(count, 1))) {
            result.cancelled = true;
            break;
        }
    }
    if (openSheet != 0 && !endSheet())
        result.failed = true;
    const bool arrived = output.finish() && !result.failed;
    if (!arrived) {
        result.failed = true;
        result.error = output.errorText();
    } else if (marks) {
        markPrinted(source, waiting, result);
    }
    progress.step(100);
    progress.finish();
    return result;
}

int afterPrint(TQRPage& page, LabelSource& source, bool autoDelete, Prompter& prompter)
{
    page.resetRun();
    if (!autoDelete && prompter.ask(PromptIcon::Confirmation, kEmptyQueueQuestion,
                                    PromptButton::Yes | PromptButton::No | PromptButton::Cancel) !=
                           PromptButton::Yes)
        return 0;
    return std::max(source.deletePrinted(), -1);
}

} // namespace qx7
