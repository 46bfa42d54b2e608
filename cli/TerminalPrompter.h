#pragma once
// Prompts on the terminal. Without a terminal each prompt takes the answer given on the
// command line (--yes / --no), so scripts never hang.

#include "core/Prompter.h"

#include <iosfwd>
#include <map>

namespace qx7::cli {

class TerminalPrompter : public Prompter
{
public:
    TerminalPrompter(std::ostream& err, bool interactive) : m_err(err), m_interactive(interactive)
    {}
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override;
    // The answer given when nobody can be asked; the first button when unset. When the
    // question does not offer it, a "no" falls back to the question's safe answer and a
    // "yes" to its affirmative one, else to the safe one: a refusal never turns into Yes.
    void setDefaultAnswer(PromptButton answer) { m_default = answer; }
    // An answer typed on the command line: questions are then answered without being
    // printed (unless verbose), and summary() tells how many got which answer.
    void setAnswerGivenOnCommandLine(bool given) { m_givenOnCommandLine = given; }
    void setVerbose(bool verbose) { m_verbose = verbose; }
    // One line about the questions answered silently; empty when there were none.
    std::string summary() const;
    int errorsShown() const { return m_errorsShown; }

private:
    PromptButton answerFor(PromptButton buttons) const;

    std::ostream& m_err;
    bool m_interactive;
    bool m_givenOnCommandLine = false;
    bool m_verbose = false;
    int m_errorsShown = 0;
    PromptButton m_default = PromptButton::None;
    std::map<std::string, long long> m_silentAnswers; // answer word -> count
};

} // namespace qx7::cli
