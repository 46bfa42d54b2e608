#pragma once
// Prompts on the terminal. Without a terminal (or with --yes) each prompt takes its
// scripted default answer, so scripts never hang.

#include "core/Prompter.h"

#include <iosfwd>

namespace qx7::cli {

class TerminalPrompter : public Prompter
{
public:
    TerminalPrompter(std::ostream& err, bool interactive) : m_err(err), m_interactive(interactive)
    {}
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override;
    // The answer given when nobody can be asked; the first button when unset.
    void setDefaultAnswer(PromptButton answer) { m_default = answer; }

private:
    std::ostream& m_err;
    bool m_interactive;
    PromptButton m_default = PromptButton::None;
};

} // namespace qx7::cli
