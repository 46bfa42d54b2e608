#include "core/Prompter.h"

namespace qx7 {

namespace {

PromptButton firstButton(PromptButton buttons)
{
    for (unsigned bit = 1; bit <= static_cast<unsigned>(PromptButton::PrintLabels); bit <<= 1)
        if (static_cast<unsigned>(buttons) & bit)
            return static_cast<PromptButton>(bit);
    return PromptButton::Ok;
}

} // namespace

PromptButton SilentPrompter::ask(PromptIcon icon, const std::string& text, PromptButton buttons)
{
    shown.push_back({icon, text, buttons});
    return firstButton(buttons);
}

void ScriptedPrompter::expect(std::string text, PromptButton answer, bool dontShowAgain)
{
    m_script.push_back({std::move(text), answer, dontShowAgain});
}

ContinueChoice ScriptedPrompter::askContinue(const std::string& text)
{
    const bool dontShow = !m_script.empty() && m_script.front().dontShowAgain;
    return {ask(PromptIcon::Confirmation, text,
                PromptButton::Yes | PromptButton::No | PromptButton::Cancel |
                    PromptButton::PrintLabels),
            dontShow};
}

PromptButton ScriptedPrompter::ask(PromptIcon, const std::string& text, PromptButton buttons)
{
    shownTexts.push_back(text);
    if (m_script.empty()) {
        failures.push_back("unexpected prompt: " + text);
        return firstButton(buttons);
    }
    Step step = m_script.front();
    m_script.pop_front();
    if (step.text != text)
        failures.push_back("expected prompt \"" + step.text + "\", got \"" + text + "\"");
    return step.answer;
}

} // namespace qx7
