// Help pages of the main window and the log windows.

#include "ui/help/HelpTopics.h"

namespace qx7::help {

const std::vector<Topic>& mainTopics()
{
    static const std::vector<Topic> topics = {
        {"contents", "QX help contents", R"(
<p>QX answers your QSL cards: it keeps your logs, collects the QSOs to confirm into the
<b>print queue</b> (one label per station, up to 18 QSOs on a label) and prints the queue on
label sheets or as complete QSL cards.</p>
<ul>
<li><a href="topic:step0">The log window</a>: find QSOs, mark them, send them to the queue.</li>
<li><a href="topic:logsearch5">Searching a log</a> by call, date or manager.</li>
<li><a href="topic:qsl_manager">The QSL manager database</a>: who handles whose cards.</li>
<li><a href="topic:swl0">Answering SWL reports</a> of short-wave listeners.</li>
<li><a href="topic:config00">Configuration</a>: how QSOs are chosen and printed, folders.</li>
<li><a href="topic:qxdes_intro">The label designer</a>: your own labels and cards.</li>
</ul>
<p><b>A typical evening at the QSL desk:</b> open your log (File menu), type the call of
the card you hold into the search field, press F2 to put the station's QSOs into the print
queue, repeat for the next card, then print the queue. QX marks the QSOs as "QSL sent" with
today's date.</p>)"},
        {"step0", "The log window", R"(
<p>A log window shows one log as a grid, one QSO per line: call, date, time (UTC), band,
mode, the reports, the QSL status sent (QSLS) and received (QSLR), the QSL manager
(QMGR) and a comment.</p>
<p><b>Order.</b> The log is shown in call, date or manager order; the search bar of the
main window narrows every open log to the calls you type.</p>
<p><b>Sending QSOs to the print queue.</b> F2 puts the QSOs shown in the active log into
the queue, F3 those of all open logs. Selected rows can also be dragged onto the print
queue window, or onto the SWL window when you answer listener reports.</p>
<p><b>QSL status letters:</b> N no, Y yes, B bureau, D direct, I Internet, ! never.</p>
<p><b>Example:</b> a card from DL1ABC arrives. Type DL1ABC in the search field: the log
shows his three QSOs. Press F2: one label with the three QSOs goes into the queue and the
QSOs show QSLS "Y" with today's date.</p>)"},
        {"logsearch5", "Searching a log", R"(
<p>The search fields narrow all open log windows at once. Type the beginning of a call:
only calls beginning with that text are shown. Tick <i>exact</i> to see only that very
call. Searching by date or by manager works the same way in the date or manager order.</p>
<p>The search runs half a second after you stop typing, so you can type a whole call
without waiting.</p>
<p><b>Example:</b> typing "VP8" shows VP8ABC, VP8XY and all other VP8 calls; typing
"VP8XY" with <i>exact</i> ticked shows only VP8XY, not VP8XYZ.</p>)"},
    };
    return topics;
}

} // namespace qx7::help
