#pragma once
// A program home in a temporary folder with a data module, and logs made for the
// window tests: the shipped sample log, or a small log of chosen calls.

#include "convert/engine/ConvertCommandLine.h"
#include "core/Prompter.h"
#include "datamodule/TQXDM.h"
#include "store/LogTable.h"
#include "ui/log/LogTableModel.h"
#include "ui/log/TMDIChild.h"
#include "ui/main/PrintQueueWindow.h"
#include "ui/main/SearchToolbar.h"
#include "ui/main/TQXForm.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace qx7::uitest {

// Answers Yes where it may (else the first button) and keeps what it was asked.
class YesPrompter : public SilentPrompter
{
public:
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override
    {
        SilentPrompter::ask(icon, text, buttons);
        return hasButton(buttons, PromptButton::Yes)        ? PromptButton::Yes
               : shown.back().buttons == PromptButton::None ? PromptButton::None
                                                            : PromptButton::Ok;
    }
};

struct Qso
{
    Qso(std::string c) : call(std::move(c)) {}
    Qso(std::string c, std::string d, std::string b, std::string m, std::string s = "N",
        std::string mgr = "", bool marked = false)
        : call(std::move(c)), date(std::move(d)), band(std::move(b)), mode(std::move(m)),
          qsls(std::move(s)), qmgr(std::move(mgr)), mark(marked)
    {}
    std::string call;
    std::string date = "20240101";
    std::string band = "20m";
    std::string mode = "SSB";
    std::string qsls = "N";
    std::string qmgr;
    bool mark = false;
};

struct UiHome
{
    QTemporaryDir dir;
    std::unique_ptr<TQXDM> dm;

    explicit UiHome(Prompter& prompter)
    {
        DataModuleEnvironment env;
        env.programFolder = dir.path().toStdString() + "/";
        env.prompter = &prompter;
        dm = std::make_unique<TQXDM>(std::move(env));
    }

    // The shipped sample ADIF log as the QX7 log `name` with the own call DL0QX.
    bool makeSampleLog(const std::string& name = "sample")
    {
        std::ostringstream out, err;
        SilentPrompter quiet;
        const int code =
            runNewLogArgs(dm->conversion(), *dm, quiet,
                          {dm->QXTmpPath + "/sample.adi", name, "--call", "DL0QX"}, out, err);
        dm->LogCount = 1;
        return code == 0;
    }

    void makeLog(const std::string& name, const std::vector<Qso>& qsos)
    {
        CreateLogTable(dm->QXLogPath, name);
        const LogPaths p = logPaths(dm->QXLogPath, name);
        CreateLogDescriptor(p.table);
        writeLogDescriptor(p.descriptor, {"DL0QX", {"Tnx QSO"}});
        dbase::Table log;
        openLog(log, p.table, 0);
        int minute = 0;
        for (const Qso& q : qsos) {
            log.append();
            log.setText("CALL", q.call);
            log.setText("DATE", q.date);
            char time[16];
            std::snprintf(time, sizeof time, "%02d%02d", 10 + minute / 60, minute % 60);
            ++minute;
            log.setText("TIME", time);
            log.setText("BAND", q.band);
            log.setText("MODE", q.mode);
            log.setText("RSTS", "59");
            log.setText("RSTR", "59");
            log.setText("QSLS", q.qsls);
            log.setText("QSLR", "N");
            log.setText("QMGR", q.qmgr);
            log.setBoolean("MARK", q.mark);
            log.post();
        }
        ensureQmgrIndex(log);
        log.close();
        dm->LogCount = 1;
    }
};

// A main window shown on the home with the named logs opened.
inline std::unique_ptr<TQXForm> showForm(TQXDM& dm, const std::vector<std::string>& logs)
{
    for (const std::string& l : logs)
        dm.addPendingLog(l);
    auto form = std::make_unique<TQXForm>(dm);
    form->searchToolbar()->setDebounce(0);
    form->resize(1000, 700);
    form->show();
    QCoreApplication::processEvents();
    return form;
}

// The calls a log window shows, top to bottom.
inline std::vector<std::string> shownCalls(TMDIChild& w)
{
    std::vector<std::string> calls;
    QAbstractItemModel* m = w.model();
    for (int r = 0; r < m->rowCount(); ++r)
        calls.push_back(m->data(m->index(r, 0)).toString().toStdString());
    return calls;
}

} // namespace qx7::uitest
