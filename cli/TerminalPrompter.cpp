#include "cli/TerminalPrompter.h"

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

std::string oneLine(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += ' ';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

PromptButton TerminalPrompter::ask(PromptIcon icon, const std::string& text, PromptButton buttons)
{
    m_err << iconWord(icon) << ": " << oneLine(text) << '\n';
    PromptButton fallback = PromptButton::None;
    if (m_default != PromptButton::None && hasButton(buttons, m_default))
        fallback = m_default;
    for (const auto& n : kNames)
        if (fallback == PromptButton::None && hasButton(buttons, n.button))
            fallback = n.button;
    int choices = 0;
    for (const auto& n : kNames)
        choices += hasButton(buttons, n.button) ? 1 : 0;
    if (!m_interactive || choices <= 1)
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

} // namespace qx7::cli
