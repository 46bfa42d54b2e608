// Help pages of the configuration dialog, one per page.

#include "ui/help/HelpTopics.h"

namespace qx7::help {

const std::vector<Topic>& configTopics()
{
    static const std::vector<Topic> topics = {
        {"config00", "Configuration", R"(
<p>The configuration dialog holds the settings that apply to the whole program. Click a
node of the tree on the left to see its page. <b>Apply</b> puts the changes into effect for
this session; <b>OK</b> also saves them in "qx7.ini"; <b>Cancel</b> saves nothing.</p>
<p><b>Print Queue</b> groups how QSOs are chosen and sorted on labels; <b>Print Formats</b>
how dates, times, bands and zeros look on the labels.</p>)"},
        {"config01", "Print queue: Handling", R"(
<ul><li><b>Confirmation prompt before F2/F3</b>: QX asks before it puts all calls of a log
into the queue.</li>
<li><b>Continue/discontinue prompt after # pages</b>: after that many label pages QX asks
whether to go on (0: never ask). With 3 &times; 8 labels a page, 2 asks after 48 labels.</li>
<li><b>Clear search fields after F2/F3</b>: ready for the next card at once.</li></ul>)"},
        {"config02", "Print queue: Confirm QSOs", R"(
<p>Which QSOs of a station F2 puts on a label.</p>
<ul><li><b>Confirm QSOs again</b>: also QSOs already marked as sent.</li>
<li><b>Confirm all QSOs</b>: regardless of the QSL sent status.</li>
<li><b>Only new bands / new modes</b>: one QSO per band (or mode) you never confirmed.</li>
<li><b>All QSOs with no QSL sent status "Y"</b>: overrides the four boxes above.</li>
<li><b>Print first QSOs first</b>: of several QSOs on one band, the earliest.</li></ul>)"},
        {"config03", "Print queue: Sorting", R"(
<p>How the QSOs on one label are ordered (by band, by mode or by time) and the order of the
labels in the queue: <b>first in, first out</b> suits cards answered direct, <b>alphabetical</b>
(bureau order) suits outgoing bureau cards. <b>Merge</b> puts QSOs from several logs or runs
for the same station onto one label.</p>)"},
        {"config04", "Print queue: Empty", R"(
<p><b>Automatically delete Print Queue after printing</b>: printed labels leave the queue
without asking.</p>)"},
        {"config05", "Print formats: Date", R"(
<p>How dates are printed on labels, with the letters d, dd, mm, mmm, yy and yyyy. Example:
"yyyy-mm-dd" prints 2024-03-15; "dd mmm yy" prints 15 Mar 24.</p>)"},
        {"config06", "Print formats: Other", R"(
<ul><li><b>Time</b>: 23:59 or 2359.</li>
<li><b>PSE/TNX QSL flag text</b> (up to 6 characters): printed when you ask for or thank
for a card, e.g. "PSE" and "TNX".</li>
<li><b>Manager text</b> (up to 16 characters) before the manager's call, e.g. "via: ".</li>
<li><b>Fill empty QSO lines with dashes</b>, so nobody can add a QSO to the card.</li></ul>)"},
        {"config15", "Print formats: Bands/Frequencies", R"(
<p>Print the band ("80m") or the frequency ("3.5"). The table gives the text printed for
each band when frequencies are chosen; for example 2m may print as "144 MHz".</p>)"},
        {"config07", "Print formats: Slashed Zero", R"(
<p>Many QSL cards print the digit zero slashed (&Oslash;) to tell it from the letter O. Choose
the character code (32&ndash;255) that your label font shows as a slashed zero; 216 is
&Oslash; in most Windows fonts.</p>)"},
        {"config13", "Import/Export", R"(
<p><b>Import duplicate contacts</b>: when converting a log, QSOs already present are
imported again. Leave it off to skip them.</p>)"},
        {"config08", "Bands", R"(
<p>Tick the bands the band lists of the main window and the QSO editor offer. <b>Default</b>
ticks the HF bands 160 m to 10 m.</p>)"},
        {"config09", "Modes", R"(
<p>Tick the modes the mode lists offer. <b>Default</b> ticks SSB, CW, RTTY, PSK and JT65.</p>)"},
        {"config10", "Auto Open Logs", R"(
<p>The logs in the right-hand list open by themselves at every start, in the order of the
list. Move logs between the lists with the arrow buttons or drag them from one list to the
other; drag a log within the right-hand list to change the order. Up to 16 logs can be
chosen.</p>
<p><b>Example:</b> drag "dl1abc-2024.qx7" to the right, then drag "contest.qx7" onto it: the
contest log now opens first, and both open at the next start after you press <i>OK</i>.</p>)"},
        {"config11", "Folders", R"(
<p>Where QX keeps layouts, logs, the manager database, temporary files and your own
files. A new folder must exist and be writable; it takes effect at the next start, and
no files are moved for you.</p>
<p><b>Example:</b> to keep logs on a backup drive, choose "Logs", pick the folder, press
<i>Set new folder</i>, then copy your logs there before you restart QX.</p>)"},
        {"config12", "Table engine", R"(
<p>Facts about the table engine that stores your logs, for this session. Read only.</p>
<p><b>BDE version</b>: the engine's version; QX needs 5.00 or later.
<b>Default driver</b>: the table type new tables get (DBASE).
<b>dBase level</b>: the dBase format of new tables, from the "BDEDBaseLevel" key of qx7.ini
(4 to 7; dBASE 4.0 unless you changed it).
<b>Language driver</b>, <b>Description</b> and <b>Code page</b>: how text is stored in the
tables; DBWINUS0 stores Windows-1252, so other dBase programs read your logs correctly.</p>
<p>The same facts are printed by <i>qx7cli engine</i>.</p>)"},
    };
    return topics;
}

} // namespace qx7::help
