// Help pages of the log file dialogs, the statistics and the footer lines.

#include "ui/help/HelpTopics.h"

namespace qx7::help {

const std::vector<Topic>& logFileTopics()
{
    static const std::vector<Topic> topics = {
        {"open_log", "Opening logs", R"(
<p>The list shows every log of your log folder with its own call, its number of QSOs and
the day it was last changed. Select one or more logs (Ctrl+click, Shift+click) and press
<b>Open</b>, Enter or double-click.</p>
<p><b>log in use</b>: another program (or a second QX) is writing that log; open it when
the other program has closed it. <b>***damaged***</b> or <b>damaged</b>: the log's files
are broken; restore them from a backup.</p>
<p>Click a column title to sort by it; a second click turns the order round.
<b>Delete</b> removes the selected log after two questions; a log open in a window or in
use elsewhere is not deleted.</p>)"},
        {"new_log", "Making a new log", R"(
<p>Type the name of the new log and your call sign (at least three characters). Choose an
ADIF file with <b>Browse</b> to take over its QSOs, or leave it empty for an empty log.
<b>Start Conversion</b> reads the file and writes the log; <b>Cancel</b> stops the reading.
A file without a single usable QSO makes no log and leaves an existing log of that name
as it was.</p>
<p><b>Example:</b> name "dl1abc", call DL1ABC, file "wsjtx_log.adi": the new log opens
with all QSOs of the file.</p>)"},
        {"log_statistics", "Log statistics", R"(
<p>Counts the QSOs of the log (or of the selected rows) by band and mode and the labels
printing them would need with the QSO lines of the current label layout. Esc or
<b>Cancel</b> stops the count. The <b>Chart</b> page shows the same numbers as bars; save
the report as a text file or the chart as a PNG picture.</p>)"},
        {"footer_lines", "Footer lines", R"(
<p>Up to nine lines printed at the foot of every label of this log, for example
"Tnx QSO, 73" or your QSL route. They are stored with the log. <b>Save as default</b>
keeps them for new logs, <b>Get default</b> brings the default lines back.</p>)"},
        {"log_grid_setup", "Log grid setup", R"(
<p>Chooses what every log window shows. The preview at the top shows the active log as it
will look.</p>
<p><b>Display</b>: column titles, the row indicator, the grid lines, the background colour
and how dates are shown: "Default" is yyyymmdd, "User defined" any format of the letters
d, m and y (yyyy-mm-dd, mm.dd.yy, ddmmyyyy); today's date shows the result.</p>
<p><b>Columns</b>: tick a field to show its column, drag it up or down to move the column,
and give the chosen column its title, width (in characters) and alignment.</p>
<p><b>Predefined Settings</b>: "Default" is the program's own layout, "QZ3QZ's favorite" a
compact one on black, "User settings" your own, which <b>OK</b> saves. Any change makes it
"User settings".</p>
<p><b>Example:</b> untick "Comment", tick "Sub-Mode" and drag it below "Mode", press OK:
every open log window shows the sub-mode next to the mode and no comment.</p>)"},
        {"tools30", "Import specifications", R"(
<p>A text or CSV log from another program needs a specification: which character separates
the columns (or where the columns of a fixed-width file break), whether the first line
names the columns, and which QX field every column holds.</p>
<p>Enter a new name, press <b>Next step</b>, then <b>Analyze file</b>: the editor guesses the
separator, the text qualifier and the header line from the first 20 lines. For fixed-width
files click into the sample to add a break, drag a break to move it, double-click it to
delete it. On the last page choose a QX field for every column you want; call, date, time,
band or frequency and mode are needed before <b>OK</b> saves the specification.</p>
<p>Headless: <code>qx7cli spec analyze FILE --save NAME</code>, then
<code>qx7cli convert --in 34:FILE --spec NAME ...</code>.</p>)"},
        {"tools31", "Date format", R"(
<p>Tells how the dates of a column are written: d and m (no leading zero), dd, mm and yy
(leading zero), yyyy (four digits), mmm (month name) and the separators - / . between
them. Examples: yyyy-mm-dd, mm.dd.yy, ddmmyyyy.</p>
<p>The window writes 31 December 2001 with your format and reads it back; "- Conversion
error -" means the import could not read dates written that way.</p>)"},
        {"tools33", "ADIF import options", R"(
<p>QX has a comment field of 60 characters. Choose the ADIF field whose value becomes the
comment of every imported QSO, for example &lt;NOTES&gt; or &lt;QSLMSG&gt;. The choice
counts at once; <b>OK</b> keeps it for the next start.</p>)"},
    };
    return topics;
}

} // namespace qx7::help
