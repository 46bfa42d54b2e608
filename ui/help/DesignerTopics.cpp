// Help pages of the label designer, its layout settings wizard, its options and the
// label print options.

#include "ui/help/HelpTopics.h"

namespace qx7::help {

const std::vector<Topic>& designerTopics()
{
    static const std::vector<Topic> topics = {
        {"qxdes_intro", "The label designer", R"(
<p>The label designer shows one label of the current layout, drawn as it will print; data
fields show the name of the print-queue field they print. Click an element to select it,
Shift+click to add more, drag it or its handles to move and size it, double-click it (or
press Enter) to edit its properties. The arrow keys move the selection by the grid step,
with Ctrl by a tenth of a millimetre, with Shift they make it wider or taller.</p>
<p><b>File</b>: new layouts, loading and saving ".qxd" files. <b>Layout</b>:
<b>Layout settings</b> (Ctrl+Y) opens the <a href="topic:qxdes_newlayout">layout wizard</a>
on the sheet and label size, <b>Analyze layout settings</b> (Ctrl+E) runs the layout
check.</p>
<p><b>The layout check</b> runs by itself whenever a layout is opened, created or its
settings change. It stays silent while all is well. Otherwise it names every element or
line at fault: an element outside the label, a picture that cannot be read, an
expression that does not evaluate, a label larger than its page. Nothing is printed and
no label is marked printed until the check passes. Headless:
<code>qx7cli layout check</code>.</p>)"},
        {"qxdes_newlayout", "How to create a label design", R"(
<p><b>File, New</b> starts the layout wizard. Choose <b>Print on QSL labels</b> for sheets
of labels or <b>Print on QSL cards</b> for whole cards.</p>
<p><b>Label Type</b>: pick the maker and the type of your label sheet; the sheet's paper,
margins, columns and rows are taken over. <b>Paper and Label Size</b>: check them or enter
a sheet of your own (Custom Type): paper, margins, label width and height, columns, rows
and the gaps between them. <b>&lt;&lt; Back</b> on this page returns to Label Type, also
when the wizard was opened from <b>Layout settings</b> on this page.</p>
<p><b>Finish</b>: the number of QSO lines and footer lines on each label, the space
between them and a description. <b>Create layout template</b> builds the standard label
(addressee, own call, column headings, the QSO lines and a closing line); <b>Add missing
fields</b> completes every QSO line like line A; <b>Adjust all QSO and footer lines</b>
aligns the lines under line A.</p>
<p><b>Example:</b> maker "Avery Zweckform", type "3424", 6 QSO lines, template ticked:
a label of 105 x 48 mm with six QSO lines, ready to print.</p>)"},
        {"qxdes_elements", "Layout elements", R"(
<p><b>Text field</b>: fixed text such as "To Radio" or "TNX for the QSO".
<b>Data field</b>: a field of the print queue: the call, the manager, your own call, a
column of a QSO line (A_DATE is the date of line 1, B_DATE of line 2) or a footer line.
<b>Expression</b>: fields and text joined, for example
<code>MYCALL+' confirms the following QSO(s):'</code> or <code>COPY(A_DATE, 1, 4)</code>;
<b>Validate</b> evaluates it. <b>Memo</b>: several lines of text. <b>Shape</b>: a frame,
circle or line. <b>Image</b>: a picture (jpg, bmp, ico) from a file.</p>
<p>Each element has a font, an alignment, a colour and a frame. A text longer than its
element is cut off at its edge: the preview frames such labels in red and printing asks
before it goes on.</p>)"},
        {"qxdes_options", "Designer options", R"(
<p><b>Grid size</b>: the step in millimetres that elements snap to when they are placed,
dragged or sized, and that the arrow keys move them by. The arrows of the field step
half a millimetre. <b>Snap to grid</b> off lets elements go anywhere.</p>
<p><b>Example:</b> grid 2.5 mm: an element dragged to 11.2 mm lands at 10 mm, and each
press of the right arrow moves it 2.5 mm further.</p>)"},
        {"f12", "Label print options", R"(
<p>Shows how many labels wait in the print queue, how many fit on one sheet and how many
sheets they fill. <b>All pages</b> prints every sheet; <b>Print pages from</b> prints a
range of them. <b>Start printing at label #</b> skips the used positions of a sheet that
was printed in part before (positions count down the first column, then the next);
click used labels on the sheet picture to leave them empty. <b>Reverse print order</b>
prints the last label of the queue first.</p>
<p><b>Preview</b> shows the sheets as they will print. Labels whose text would be cut by
its element are framed in red, and printing asks before it goes on.</p>)"},
    };
    return topics;
}

} // namespace qx7::help
