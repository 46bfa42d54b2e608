#include "cli/TerminalPrompter.h"

#include "core/Text.h"

#include <initializer_list>
#include <iostream>
#include <string>

namespace qx7::cli {

namespace {

struct Named
{
    PromptButton button;
    const char* word;
};

constexpr Named kNames[] = {
    {PromptButton::Yes, "yes"},
    {PromptButton::No, "no"},
    {PromptButton::Ok, "ok"},
    {PromptButton::Cancel, "cancel"},
    {PromptButton::Abort, "abort"},
    {PromptButton::Retry, "retry"},
    {PromptButton::Ignore, "ignore"},
    {PromptButton::All, "all"},
    {PromptButton::YesToAll, "yestoall"},
    {PromptButton::NoToAll, "notoall"},
};

const char* iconWord(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Error:
        return "Error";
    case PromptIcon::Warning:
        return "Warning";
    case PromptIcon::Information:
        return "Information";
    case PromptIcon::Confirmation:
        return "Confirm";
    }
    return "";
}

const char* wordOf(PromptButton button)
{
    for (const auto& n : kNames)
        if (n.button == button)
            return n.word;
    return "?";
}

int choiceCount(PromptButton buttons)
{
    int choices = 0;
    for (const auto& n : kNames)
        choices += hasButton(buttons, n.button) ? 1 : 0;
    return choices;
}

// The first of `order` that the question offers; None when it offers none of them.
PromptButton firstOffered(PromptButton buttons, std::initializer_list<PromptButton> order)
{
    for (PromptButton b : order)
        if (hasButton(buttons, b))
            return b;
    return PromptButton::None;
}

bool isRefusal(PromptButton b)
{
    return b == PromptButton::No || b == PromptButton::Cancel || b == PromptButton::Abort ||
           b == PromptButton::NoToAll;
}

} // namespace

PromptButton TerminalPrompter::answerFor(PromptButton buttons) const
{
    if (m_default == PromptButton::None) {
        for (const auto& n : kNames)
            if (hasButton(buttons, n.button))
                return n.button;
        return PromptButton::Ok;
    }
    if (hasButton(buttons, m_default))
        return m_default;
    const PromptButton safe =
        firstOffered(buttons, {PromptButton::Cancel, PromptButton::No, PromptButton::Abort,
                               PromptButton::NoToAll, PromptButton::Ok});
    if (isRefusal(m_default))
        return safe != PromptButton::None ? safe : PromptButton::Ok;
    const PromptButton agree =
        firstOffered(buttons, {PromptButton::Ok, PromptButton::YesToAll, PromptButton::All});
    if (agree != PromptButton::None)
        return agree;
    return safe != PromptButton::None ? safe : PromptButton::Ok;
}

PromptButton TerminalPrompter::ask(PromptIcon icon, const std::string& text, PromptButton buttons)
{
    const PromptButton fallback = answerFor(buttons);
    const bool question = choiceCount(buttons) > 1;
    if (question && m_givenOnCommandLine && !m_verbose) {
        ++m_silentAnswers[wordOf(fallback)];
        return fallback;
    }
    if (icon == PromptIcon::Error)
        ++m_errorsShown;
    // Some fixed texts carry their own "Error: "; it is not repeated.
    const std::string prefix = std::string(iconWord(icon)) + ": ";
    m_err << (text.rfind(prefix, 0) == 0 ? "" : prefix) << oneLineText(text) << '\n';
    if (!m_interactive || !question)
        return fallback;
    for (;;) {
        m_err << "  [";
        bool first = true;
        for (const auto& n : kNames)
            if (hasButton(buttons, n.button)) {
                m_err << (first ? "" : "/") << n.word;
                first = false;
            }
        m_err << "] " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer))
            return fallback;
        for (const auto& n : kNames)
            if (hasButton(buttons, n.button) && answer == n.word)
                return n.button;
    }
}

std::string TerminalPrompter::summary() const
{
    if (m_silentAnswers.empty())
        return {};
    std::string line = "Questions answered from the command line:";
    bool first = true;
    for (const auto& [word, count] : m_silentAnswers) {
        line += (first ? " " : ", ") + std::to_string(count) + " x " + word;
        first = false;
    }
    return line + " (--verbose shows them)";
}

} // namespace qx7::cli
