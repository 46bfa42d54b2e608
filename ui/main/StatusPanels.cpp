// The status bar's clickable panels, the print-time QSL flags they show, and the main
// window's activation work (the offer of the sample log on a start without logs).

#include "datamodule/TQXDM.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/TQXForm.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace qx7 {

namespace {

struct PrintFlagDef
{
    int tag;
    char flag;
    const char* name;
    const char* sentCaption;
    const char* rcvdCaption;
};

// Menu order: Y, B, D, I, N, then (after a separator) no change.
const PrintFlagDef kPrintFlags[] = {
    {1, 'Y', "YMarkAction", "\"QSL &sent\"", "\"QSL &received\""},
    {2, 'B', "BMarkAction", "\"QSL sent via &bureau\"", "\"QSL received via &bureau\""},
    {3, 'D', "DMarkAction", "\"QSL sent &direct\"", "\"QSL received &direct\""},
    {5, 'I', "IMarkAction", "\"QSL sent via &Internet\"", "\"QSL received via &Internet\""},
    {4, 'N', "NMarkAction", "\"QSL &not sent\"", "\"QSL &not received\""},
    {6, '-', "NoMarkAction", "No &changes", "No &changes"},
};

char flagOfTag(int tag)
{
    for (const PrintFlagDef& d : kPrintFlags)
        if (d.tag == tag % 10)
            return d.flag;
    return '-';
}

// "x" (an old way of saying "no change") and anything unknown count as "-".
char shownFlag(const std::string& stored)
{
    const char c = stored.empty() ? '-' : stored.front();
    for (const PrintFlagDef& d : kPrintFlags)
        if (d.flag == c)
            return c;
    return '-';
}

} // namespace

void TQXForm::buildPrintFlagMenus()
{
    QMenu* options = menu("OptionsMenu");
    for (const bool sent : {true, false}) {
        auto* sub = new QMenu(sent ? tr("Set \"QSL sent\" &status...")
                                   : tr("Set \"QSL recei&ved\" status..."),
                              options);
        sub->setObjectName(sent ? "MenuQSLsMark" : "MenuQSLrMark");
        options->insertMenu(action("QSLDateAction"), sub);
        QAction* heading = sub->addAction(sent ? tr("When QSO is printed, set \"QSL sent flag\"...")
                                               : tr("When QSO is printed, set \"QSL received "
                                                    "flag\"..."));
        heading->setEnabled(false);
        sub->addSeparator();
        for (const PrintFlagDef& d : kPrintFlags) {
            if (d.flag == '-')
                sub->addSeparator();
            const int tag = (sent ? 100 : 110) + d.tag;
            auto* a = new QAction(tr(sent ? d.sentCaption : d.rcvdCaption), this);
            a->setObjectName(QLatin1String(sent ? "QSLs" : "QSLr") + QLatin1String(d.name));
            a->setCheckable(true);
            a->setData(tag);
            addAction(a);
            sub->addAction(a);
            connect(a, &QAction::triggered, this, [this, tag] { setPrintFlag(tag); });
        }
    }
    // A received flag "x" is "no change".
    m_dm.QSLsFlag = std::string(1, shownFlag(m_dm.QSLsFlag));
    m_dm.QSLrFlag = std::string(1, shownFlag(m_dm.QSLrFlag));
    showPrintFlags();
}

void TQXForm::showPrintFlags()
{
    const char sent = shownFlag(m_dm.QSLsFlag);
    const char rcvd = shownFlag(m_dm.QSLrFlag);
    for (const PrintFlagDef& d : kPrintFlags) {
        if (QAction* a = action((std::string("QSLs") + d.name).c_str()))
            a->setChecked(d.flag == sent);
        if (QAction* a = action((std::string("QSLr") + d.name).c_str()))
            a->setChecked(d.flag == rcvd);
    }
    m_panels[2]->setText(tr(" QSL sent: ") + QChar::fromLatin1(sent));
    m_panels[3]->setText(tr(" QSL rcvd: ") + QChar::fromLatin1(rcvd));
}

void TQXForm::setPrintFlag(int tag)
{
    const std::string flag(1, flagOfTag(tag));
    (tag < 110 ? m_dm.QSLsFlag : m_dm.QSLrFlag) = flag;
    showPrintFlags();
}

void TQXForm::cyclePrintFlag(bool sent)
{
    static const char kCycle[] = "-NYBDI";
    std::string& stored = sent ? m_dm.QSLsFlag : m_dm.QSLrFlag;
    const char now = shownFlag(stored);
    const char* at = std::char_traits<char>::find(kCycle, 6, now);
    const size_t next = at ? static_cast<size_t>(at - kCycle + 1) % 6 : 0;
    stored = std::string(1, kCycle[next]);
    showPrintFlags();
}

void TQXForm::statusPanelClicked(int number)
{
    switch (number) {
    case 1:
        action("F5Action")->trigger(); // enabled only with a log window
        break;
    case 2:
        action("F4Action")->trigger();
        break;
    case 3:
        cyclePrintFlag(true);
        break;
    case 4:
        cyclePrintFlag(false);
        break;
    case 5:
        action("PrintQueueAction")->trigger(); // as Ctrl+Q, when it is enabled
        break;
    default:
        return;
    }
    ReturnToSearchField();
}

void TQXForm::FormActivate()
{
    // A run that processes events between records lets activations through; the
    // activation work waits for the next one.
    if (m_dm.Printing || m_filling)
        return;
    if (m_dm.ShutDown) {
        close();
        return;
    }
    OpenPendingLogs();
    SetActions();
    if (m_dm.FormActivated == -1) {
        m_dm.FormActivated = 0;
    } else if (m_dm.FormActivated == 1) {
        m_dm.FormActivated = 2;
        if (m_dm.Maximize)
            if (QMdiSubWindow* s = m_mdi->currentSubWindow())
                s->showMaximized();
        if (m_dm.LogCount == 0)
            offerSampleLog();
    } else if (m_dm.FormActivated == 20) {
        m_dm.FormActivated = 10;
        openDesigner();
    } else if (m_dm.FormActivated != 0) {
        if (m_dm.FormActivated > 2)
            m_dm.FormActivated = 10;
        ReturnToSearchField();
    }
    SetActions();
}

void TQXForm::offerSampleLog()
{
    if (m_dm.prompter().ask(PromptIcon::Confirmation,
                            "There are no logs yet.\r\n"
                            "Do you want to let QX create a sample log file?",
                            PromptButton::Yes | PromptButton::No | PromptButton::Cancel) !=
        PromptButton::Yes)
        return;
    if (makeAndOpenLog(QString::fromStdString(m_dm.QXTmpPath + "/sample.adi")))
        SetActions();
}

} // namespace qx7
