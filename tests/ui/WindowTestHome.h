#pragma once
// A fresh program folder with a started data module, for the window tests.

#include "datamodule/TQXDM.h"

#include <QTemporaryDir>

#include <fstream>
#include <functional>
#include <memory>

namespace qx7::testing {

class WindowTestHome
{
public:
    explicit WindowTestHome(Prompter& prompter)
    {
        DataModuleEnvironment env;
        env.programFolder = m_dir.path().toStdString() + "/";
        env.prompter = &prompter;
        dm = std::make_unique<TQXDM>(std::move(env));
    }
    std::string file(const std::string& name) const
    {
        return m_dir.path().toStdString() + "/" + name;
    }
    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(file(name), std::ios::binary) << text;
    }

private:
    QTemporaryDir m_dir;

public:
    std::unique_ptr<TQXDM> dm;
};

// A scripted prompter that also runs a check while each prompt is shown.
class WatchingPrompter : public ScriptedPrompter
{
public:
    std::function<void()> whileShown;
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override
    {
        if (whileShown)
            whileShown();
        return ScriptedPrompter::ask(icon, text, buttons);
    }
};

} // namespace qx7::testing
