// The label flow: which record lands where, which are marked printed, and what the
// after-print step does with the queue.

#include "labels/LabelFlow.h"
#include "core/Progress.h"
#include "core/Prompter.h"
#include "labels/MemoryLabelSource.h"

#include <gtest/gtest.h>

namespace qx7 {
namespace {

MemoryLabelSource queueOf(int n)
{
    std::vector<LabelRecord> records(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        records[static_cast<size_t>(i)].set("HISCALL", "CALL" + std::to_string(i + 1));
    return MemoryLabelSource(std::move(records));
}

TQRPage sheetOf(int columns, int rows)
{
    TQRPage p;
    p.Columns = columns;
    p.Rows = rows;
    return p;
}

// Records what a run draws; can fail or be told that the device refused. A label
// shows text when its HISCALL is not empty.
class RecordingOutput : public LabelSheetOutput
{
public:
    explicit RecordingOutput(bool printer = true) : m_printer(printer) {}
    bool beginSheet(int sheet) override
    {
        sheets.push_back(sheet);
        return !refuseSheet;
    }
    bool drawLabel(const LabelRecord& record, const LabelPlacement& p) override
    {
        calls.push_back(record.value("HISCALL"));
        placements.push_back(p);
        return !calls.back().empty();
    }
    bool endSheet() override { return ++ended != failAtEndOfSheet; }
    bool finish() override { return !failAtFinish; }
    bool marksPrinted() const override { return m_printer; }
    bool sheetFinalWhenEnded() const override { return sheetPerJob; }

    std::vector<int> sheets;
    std::vector<std::string> calls;
    std::vector<LabelPlacement> placements;
    int ended = 0;
    bool refuseSheet = false;
    bool failAtFinish = false;
    int failAtEndOfSheet = 0;
    bool sheetPerJob = false;

private:
    bool m_printer;
};

class StopAfter : public Progress
{
public:
    explicit StopAfter(int steps) : m_left(steps) {}
    bool step(long long done) override
    {
        last = done;
        return --m_left > 0;
    }
    long long last = -1;

private:
    int m_left;
};

int printedCount(MemoryLabelSource& q)
{
    int n = 0;
    for (const auto& r : q.records())
        n += r.value("XTRA3") == kPrintedMark;
    return n;
}

TEST(LabelFlow, StartPositionFillsTheFirstSheetDownTheColumns)
{
    TQRPage page = sheetOf(2, 6);
    page.StartAt = 5;
    EXPECT_EQ(sheetsNeeded(30, 5, 12), 3);
    const auto plan = planLabels(30, page);
    ASSERT_EQ(plan.size(), 30u);
    const struct
    {
        int index, sheet, position, column, row;
    } expected[] = {
        {0, 1, 5, 0, 4}, {1, 1, 6, 0, 5},   {2, 1, 7, 1, 0},  {7, 1, 12, 1, 5},
        {8, 2, 1, 0, 0}, {19, 2, 12, 1, 5}, {20, 3, 1, 0, 0}, {29, 3, 10, 1, 3},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.index);
        const LabelPlacement& p = plan[static_cast<size_t>(e.index)];
        EXPECT_EQ(p.record, e.index);
        EXPECT_EQ(p.sheet, e.sheet);
        EXPECT_EQ(p.position, e.position);
        EXPECT_EQ(p.column, e.column);
        EXPECT_EQ(p.row, e.row);
    }
    EXPECT_EQ(page.StartAt, 5) << "the run leaves the page as it was";
}

TEST(LabelFlow, PageRangePrintsAndMarksOnlyItsSheets)
{
    MemoryLabelSource q = queueOf(30);
    TQRPage page = sheetOf(2, 6);
    page.PageFrom = 2;
    page.PageTo = 2;
    RecordingOutput out;
    NullProgress progress;
    const LabelRunResult r = runLabels(q, page, out, progress);
    EXPECT_EQ(r.labelsDrawn, 12);
    EXPECT_EQ(r.marked, 12);
    EXPECT_EQ(out.sheets, std::vector<int>{2});
    EXPECT_EQ(out.calls.front(), "CALL13");
    EXPECT_EQ(out.calls.back(), "CALL24");
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(q.records()[static_cast<size_t>(i)].value("XTRA3") == kPrintedMark,
                  i >= 12 && i < 24)
            << i;
}

TEST(LabelFlow, StartPositionBelongsToTheFirstPrintedSheet)
{
    TQRPage page = sheetOf(2, 6);
    page.StartAt = 5;
    page.PageFrom = 2;
    const auto plan = planLabels(30, page);
    ASSERT_FALSE(plan.empty());
    EXPECT_EQ(plan.front().record, 12);
    EXPECT_EQ(plan.front().position, 5);
    EXPECT_EQ(plan.size(), 18u); // 8 on sheet 2, 10 on sheet 3
}

// A sheet fed again with labels missing here and there: the run leaves exactly the
// used positions (and those before the start) empty on the first printed sheet only.
TEST(LabelFlow, UsedPositionsOfTheFirstPrintedSheetAreSkipped)
{
    TQRPage page = sheetOf(2, 6);
    page.StartAt = 2;
    page.UsedPositions = {3, 4, 8, 12, 40, -1};
    const auto plan = planLabels(14, page);
    std::vector<int> positions;
    for (const LabelPlacement& p : plan)
        positions.push_back(p.sheet * 100 + p.position);
    EXPECT_EQ(positions, (std::vector<int>{102, 105, 106, 107, 109, 110, 111, 201, 202, 203, 204,
                                           205, 206, 207}));
    EXPECT_EQ(plan[2].column, 0);
    EXPECT_EQ(plan[2].row, 5);
    EXPECT_EQ(plan[3].column, 1);
    EXPECT_EQ(plan[3].row, 0);

    // Every position used: the run begins on the next sheet.
    page.StartAt = 1;
    page.UsedPositions = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const auto next = planLabels(2, page);
    ASSERT_EQ(next.size(), 2u);
    EXPECT_EQ(next[0].sheet, 2);
    EXPECT_EQ(next[0].position, 1);

    // A later first sheet (a page range) carries them, the sheets before do not.
    page.UsedPositions = {1, 2};
    page.PageFrom = 2;
    const auto later = planLabels(20, page);
    ASSERT_FALSE(later.empty());
    EXPECT_EQ(later.front().record, 12);
    EXPECT_EQ(later.front().position, 3);
    page.resetRun();
    EXPECT_TRUE(page.UsedPositions.empty());
}

// The page count the print options show: the first sheet takes only its free positions
// from the start on. It must agree with where the flow really puts the labels.
TEST(LabelFlow, SheetCountAllowsForUsedPositions)
{
    EXPECT_EQ(sheetsNeeded(12, 1, {}, 12), 1);
    EXPECT_EQ(sheetsNeeded(12, 1, {3}, 12), 2);
    EXPECT_EQ(sheetsNeeded(10, 3, {3, 4}, 12), 2); // 8 free: 3 and 4 count once with the start
    EXPECT_EQ(sheetsNeeded(8, 3, {1, 3, 4}, 12), 1);
    EXPECT_EQ(sheetsNeeded(1, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 12), 2);
    EXPECT_EQ(sheetsNeeded(0, 1, {1}, 12), 0);
    EXPECT_EQ(sheetsNeeded(30, 5, {}, 12), sheetsNeeded(30, 5, 12));

    const std::vector<std::vector<int>> usedSets = {
        {}, {1}, {12}, {2, 5, 7}, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}};
    for (const auto& used : usedSets)
        for (int start = 1; start <= 12; ++start)
            for (int labels = 1; labels <= 40; ++labels) {
                TQRPage page = sheetOf(2, 6);
                page.StartAt = static_cast<std::uint16_t>(start);
                page.UsedPositions = used;
                const auto plan = planLabels(labels, page);
                ASSERT_EQ(int(plan.size()), labels);
                EXPECT_EQ(sheetsNeeded(labels, start, used, 12), plan.back().sheet)
                    << "start " << start << ", labels " << labels << ", used " << used.size();
            }
}

TEST(LabelFlow, ReverseStartsWithTheLastRecord)
{
    MemoryLabelSource q = queueOf(5);
    TQRPage page = sheetOf(1, 3);
    page.Reverse = true;
    RecordingOutput out;
    StopAfter progress(100);
    runLabels(q, page, out, progress);
    EXPECT_EQ(out.calls, (std::vector<std::string>{"CALL5", "CALL4", "CALL3", "CALL2", "CALL1"}));
    EXPECT_EQ(out.sheets, (std::vector<int>{1, 2}));
    EXPECT_EQ(out.ended, 2);
    EXPECT_EQ(progress.last, 100);
}

TEST(LabelFlow, PreviewMarksNothingAndAsksNothing)
{
    MemoryLabelSource q = queueOf(30);
    RecordingOutput preview(false);
    NullProgress progress;
    const LabelRunResult r = runLabels(q, sheetOf(2, 6), preview, progress);
    EXPECT_EQ(r.labelsDrawn, 30);
    EXPECT_EQ(r.marked, 0);
    EXPECT_EQ(q.markCalls(), 0);
}

TEST(LabelFlow, FailedOutputMarksNothingAndCancelKeepsWhatWasDrawn)
{
    {
        MemoryLabelSource q = queueOf(30);
        RecordingOutput out;
        out.failAtFinish = true;
        NullProgress progress;
        const LabelRunResult r = runLabels(q, sheetOf(2, 6), out, progress);
        EXPECT_TRUE(r.failed);
        EXPECT_EQ(printedCount(q), 0);
    }
    {
        MemoryLabelSource q = queueOf(30);
        RecordingOutput out;
        out.refuseSheet = true;
        NullProgress progress;
        const LabelRunResult r = runLabels(q, sheetOf(2, 6), out, progress);
        EXPECT_TRUE(r.failed);
        EXPECT_TRUE(out.calls.empty());
        EXPECT_EQ(printedCount(q), 0);
    }
    {
        MemoryLabelSource q = queueOf(30);
        RecordingOutput out;
        StopAfter progress(7);
        const LabelRunResult r = runLabels(q, sheetOf(2, 6), out, progress);
        EXPECT_TRUE(r.cancelled);
        EXPECT_EQ(r.labelsDrawn, 7);
        EXPECT_EQ(printedCount(q), 7);
        EXPECT_EQ(out.ended, 1);
    }
}

// A printer takes every sheet as a job of its own: what it has taken is printed even
// when the run stops later (killed, failed), so it is marked at once. One file is out
// only when it is complete.
TEST(LabelFlow, SheetsHandedOverAreMarkedAsTheyEnd)
{
    struct MarksSeen : MemoryLabelSource
    {
        using MemoryLabelSource::MemoryLabelSource;
        RecordingOutput* out = nullptr;
        std::vector<int> endedAtMark;
        bool markPrinted(int index) override
        {
            endedAtMark.push_back(out->ended);
            return MemoryLabelSource::markPrinted(index);
        }
    };
    MarksSeen q(queueOf(30).records());
    RecordingOutput printer;
    printer.sheetPerJob = true;
    printer.failAtEndOfSheet = 3;
    q.out = &printer;
    NullProgress progress;
    const LabelRunResult r = runLabels(q, sheetOf(2, 6), printer, progress);
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.marked, 24) << "two sheets were taken before the third failed";
    EXPECT_EQ(printedCount(q), 24);
    ASSERT_EQ(q.endedAtMark.size(), 24u);
    EXPECT_EQ(q.endedAtMark.front(), 1) << "sheet 1 marked right after it was taken";
    EXPECT_EQ(q.endedAtMark.back(), 2);

    MarksSeen whole(queueOf(30).records());
    RecordingOutput file;
    whole.out = &file;
    EXPECT_EQ(runLabels(whole, sheetOf(2, 6), file, progress).marked, 30);
    EXPECT_EQ(whole.endedAtMark.front(), 3) << "one file: marked only when complete";
}

// Labels that put no text on the paper were not printed: a run of blank labels marks
// nothing, and a blank label among others stays in the queue.
TEST(LabelFlow, LabelsWithoutTextAreNotMarked)
{
    MemoryLabelSource q = queueOf(5);
    q.records()[1].set("HISCALL", "");
    RecordingOutput out;
    NullProgress progress;
    LabelRunResult r = runLabels(q, sheetOf(2, 6), out, progress);
    EXPECT_EQ(r.marked, 4);
    EXPECT_EQ(r.blankLabels, 1);
    EXPECT_NE(q.records()[1].value("XTRA3"), kPrintedMark);

    MemoryLabelSource blank(std::vector<LabelRecord>(7));
    r = runLabels(blank, sheetOf(2, 6), out, progress);
    EXPECT_EQ(r.labelsDrawn, 7);
    EXPECT_EQ(r.marked, 0);
    EXPECT_EQ(blank.markCalls(), 0);
}

TEST(LabelFlow, StartBeyondTheSheetIsHeldToTheLastPosition)
{
    TQRPage page = sheetOf(2, 6);
    page.StartAt = 40;
    const auto plan = planLabels(3, page);
    ASSERT_EQ(plan.size(), 3u);
    EXPECT_EQ(plan[0].position, 12);
    EXPECT_EQ(plan[1].sheet, 2);
}

TEST(AfterPrint, EmptiesTheQueueWhenToldOrAsked)
{
    const struct
    {
        bool autoDelete;
        PromptButton answer;
        bool asks;
        int remaining;
    } cases[] = {
        {true, PromptButton::No, false, 24},
        {false, PromptButton::Yes, true, 24},
        {false, PromptButton::No, true, 30},
        {false, PromptButton::Cancel, true, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        MemoryLabelSource q = queueOf(30);
        TQRPage page = sheetOf(2, 6);
        page.PageTo = 1;
        page.StartAt = 7;
        RecordingOutput out;
        NullProgress progress;
        runLabels(q, page, out, progress);
        ScriptedPrompter prompter;
        if (c.asks)
            prompter.expect("Empty label print queue now?", c.answer);
        const int deleted = afterPrint(page, q, c.autoDelete, prompter);
        EXPECT_TRUE(prompter.failures.empty());
        EXPECT_TRUE(prompter.allAnswered());
        EXPECT_EQ(q.count(), c.remaining);
        EXPECT_EQ(deleted, 30 - c.remaining);
        EXPECT_EQ(page.StartAt, 1);
        EXPECT_EQ(page.PageFrom, 1);
        EXPECT_EQ(page.PageTo, 9999);
        if (c.remaining == 24) { // the first sheet held positions 7..12
            EXPECT_EQ(q.records().front().value("HISCALL"), "CALL7");
        }
    }
}

} // namespace
} // namespace qx7
