// Help pages of the QSL manager database window and the SWL window.

#include "ui/help/HelpTopics.h"

namespace qx7::help {

const std::vector<Topic>& managerAndSwlTopics()
{
    static const std::vector<Topic> topics = {
        {"qsl_manager", "QSL Manager Database", R"(
<p>Many DX stations have their cards handled by a QSL manager, and the manager can change
over the years. This window shows the database that tells, for a DX call and a QSO date,
through whom the card goes. The log windows use it to propose the manager of a QSO.</p>
<p><b>Fields of a record:</b> <i>DX Call</i>, <i>Manager</i>, <i>valid from</i> (a date
"yyyymmdd" or only a year "yyyy"; empty means always), <i>valid till</i>, <i>Mode</i>,
<i>Band</i> and <i>Status</i> (kept for your information).</p>
<p><b>Finding.</b> Type the beginning of a call into <i>Find DX Call</i>: the grid shows all
calls beginning with it. <i>Find Manager Call</i> does the same for managers, for example
to see every station K1AAA handles. Only letters, digits and "/" can be typed; letters
become capitals. <i>Clear Find Fields</i> shows the whole database again.</p>
<p><b>Importing lists.</b> <i>Import text file</i> reads three kinds of lists, recognised by
their first line:</p>
<ul>
<li>separated by ";": <tt>W1AW;K1AAA;20000101;</tt> (call; manager; valid from; address flag)</li>
<li>DX4WIN: <tt>VP8XY,15/03/2001,G4ABC</tt> (call, date, manager)</li>
<li>QW6QW "qsl.txt": <tt>VP8XY   QSL VIA G4ABC 2001</tt></li>
</ul>
<p><i>Import Database</i> reads a QY1QY "qmgr.dbf" table. An entry with the same call,
date and manager as one already present replaces it; everything else is added. When a
list is damaged (for example binary data in the middle), QX names the line where it stopped
and leaves the database as it was.</p>
<p><b>Exporting.</b> <i>Export as text file</i> writes the database as a ";"-separated or a
DX4WIN list.</p>
<p><b>Housekeeping.</b> <i>Pack/Reindex</i> removes deleted records and rebuilds the
indexes. <i>Delete Database</i> empties it after asking twice.</p>
<p><b>Example:</b> the QSO with W1AW on 2005-06-15 and the entries W1AW&rarr;K2BBB valid from
20000101 and W1AW&rarr;K3CCC valid from 20100101: QX proposes K2BBB, because K3CCC took over
only in 2010.</p>)"},
        {"swl0", "Answering SWL reports", R"(
<p>Short-wave listeners (SWLs) send reports of stations they heard, often of your own QSOs.
This window collects such reports and prints labels addressed to the listener.</p>
<p><b>How to fill it.</b> Switch SWL mode on (Options menu), load a label design made for SWL
cards, then drag the QSOs the listener reports from your log window onto this grid. Each
QSO becomes one report: <i>Call heard</i> is the station you worked, with date, time,
band and mode. All reports in the window must belong to the same own call (<i>My call</i>);
a drop from a log of another own call is refused until you clear the window.</p>
<p><b>SWL Call</b>: the listener's call, printed as the addressee of the labels.</p>
<p><b>&gt;&gt; Print Queue</b> turns the reports into labels in the print queue, as many
reports on a label as your label design has QSO lines, and empties the window.
<b>Clear</b> empties the window without printing.</p>
<p><b>Example:</b> ONL12345 reports hearing your QSOs with JA1XYZ and VK2ABC on 20 m. Drag
both QSOs here, type ONL12345 as SWL Call and press <i>&gt;&gt; Print Queue</i>: one label
"ONL12345" with two lines goes into the queue.</p>)"},
    };
    return topics;
}

} // namespace qx7::help
