#pragma once
// How the labels of the queue fall onto sheets, for preview and print alike: queue
// order (or reverse), the sheets PageFrom..PageTo, the first printed sheet starting at
// position StartAt, positions counted down each column and then across. Labels that
// reach the printer are marked "printed"; after printing the run values go back to
// their defaults and the printed labels may leave the queue.

#include "labels/LabelSource.h"
#include "labels/TQRPage.h"

#include <string>
#include <vector>

namespace qx7 {

class Progress;
class Prompter;

inline constexpr const char* kEmptyQueueQuestion = "Empty label print queue now?";

struct LabelPlacement
{
    int record = 0;   // index in the source
    int sheet = 1;    // sheet number of the run, from 1
    int position = 1; // on the sheet, from 1, down the first column first
    int column = 0;   // from 0
    int row = 0;      // from 0
};

// Where each label of a run goes, in printing order. `page` supplies the grid and
// the run values; nothing in it changes.
std::vector<LabelPlacement> planLabels(int labelCount, const TQRPage& page);
// Sheets a run needs when the first starts at `startAt`: ceil((startAt + Q - 1) / N).
int sheetsNeeded(int labelCount, int startAt, int labelsPerSheet);
// The same for a first sheet whose `used` positions are skipped as well: it takes the
// positions from `startAt` on that are not used, every later sheet all of them. A first
// sheet with no free position still counts (it is sheet 1 of the run, left empty).
int sheetsNeeded(int labelCount, int startAt, const std::vector<int>& used, int labelsPerSheet);

// What a run draws on: the printer, a PDF file, preview pictures.
class LabelSheetOutput
{
public:
    virtual ~LabelSheetOutput() = default;
    // False when the output cannot take the sheet; the run then ends as failed.
    virtual bool beginSheet(int sheet) = 0;
    // True when the label put some text on the sheet; a label whose texts are all blank
    // or off the paper was not printed and is not marked.
    virtual bool drawLabel(const LabelRecord& record, const LabelPlacement& placement) = 0;
    // False when the sheet could not be completed; the run then ends as failed.
    virtual bool endSheet() = 0;
    // Completes the output (closes the file, hands the job to the printer); true when
    // everything drawn has arrived.
    virtual bool finish() = 0;
    // Printers and PDF files mark labels "printed"; a preview marks nothing.
    virtual bool marksPrinted() const = 0;
    // True when an ended sheet has left the program for good (a printer job per
    // sheet): its labels are marked at once, so a run that is stopped or killed later
    // does not print them again. Otherwise (one PDF file) nothing is out before finish().
    virtual bool sheetFinalWhenEnded() const { return false; }
    virtual std::string errorText() const { return {}; }
};

struct LabelRunResult
{
    int labelsDrawn = 0;
    int blankLabels = 0; // drawn without any text: not marked
    int sheets = 0;
    int marked = 0;
    int markFailures = 0;
    bool cancelled = false; // the user stopped the run; what was drawn is kept
    bool failed = false;    // the output failed; nothing of it counts as printed
    std::string error;
};

// Runs the flow. Labels are marked only once the output has taken them for good: each
// sheet when it is ended for outputs whose sheets are final then, else all at once when
// finish() succeeded. So a failed file or job never leaves labels marked that did not
// arrive; a cancelled run keeps and marks what was drawn before the stop.
LabelRunResult runLabels(LabelSource& source, const TQRPage& page, LabelSheetOutput& output,
                         Progress& progress);

// After a print run (never after a preview): the run values return to their defaults,
// and the printed labels leave the queue when `autoDelete` is set or the user answers
// Yes to "Empty label print queue now?". Answers the number deleted (0 if kept, -1
// when the queue could not be changed).
int afterPrint(TQRPage& page, LabelSource& source, bool autoDelete, Prompter& prompter);

} // namespace qx7
