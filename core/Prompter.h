#pragma once
// Modal messages the user must see: an icon, a fixed text, fixed buttons, an answer.
// The desktop program shows them as message boxes, the CLI on the terminal, and tests
// answer them from a script that also checks the exact texts.

#include <deque>
#include <string>
#include <vector>

namespace qx7 {

enum class PromptIcon
{
    Error,
    Warning,
    Information,
    Confirmation
};

enum class PromptButton : unsigned
{
    None = 0,
    Ok = 1,
    Cancel = 2,
    Yes = 4,
    No = 8,
    Abort = 16,
    Retry = 32,
    Ignore = 64,
    All = 128,
    YesToAll = 256,
    NoToAll = 512,
    PrintLabels = 1024,
};

constexpr PromptButton operator|(PromptButton a, PromptButton b)
{
    return static_cast<PromptButton>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
constexpr bool hasButton(PromptButton set, PromptButton b)
{
    return (static_cast<unsigned>(set) & static_cast<unsigned>(b)) != 0;
}

// The answer of the "Continue?" question a scan asks at page boundaries.
struct ContinueChoice
{
    PromptButton answer = PromptButton::Yes; // Yes, No, Cancel or PrintLabels
    bool dontShowAgain = false;              // "Don't show this message"
};

class Prompter
{
public:
    virtual ~Prompter() = default;
    // The page prompt (caption "Confirm"): "&Yes", "&No", "&Cancel", "&Print Labels" and
    // a check box "Don't show this message".
    virtual ContinueChoice askContinue(const std::string& text)
    {
        return {ask(PromptIcon::Confirmation, text,
                    PromptButton::Yes | PromptButton::No | PromptButton::Cancel |
                        PromptButton::PrintLabels),
                false};
    }
    // Shows the message and returns the button chosen (the first of `buttons` when the
    // prompter cannot ask, e.g. a non-interactive run).
    virtual PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) = 0;

    void inform(const std::string& text) { ask(PromptIcon::Information, text, PromptButton::Ok); }
    void warn(const std::string& text) { ask(PromptIcon::Warning, text, PromptButton::Ok); }
    void error(const std::string& text) { ask(PromptIcon::Error, text, PromptButton::Ok); }
    bool confirm(const std::string& text)
    {
        return ask(PromptIcon::Confirmation, text, PromptButton::Yes | PromptButton::No) ==
               PromptButton::Yes;
    }
};

// Answers every prompt with the first of its buttons and keeps a record.
class SilentPrompter : public Prompter
{
public:
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override;
    struct Shown
    {
        PromptIcon icon;
        std::string text;
        PromptButton buttons;
    };
    std::vector<Shown> shown;
};

// For tests: each prompt must match the next scripted text; its answer is returned.
// A prompt that was not expected, or a different text, is recorded as a failure.
class ScriptedPrompter : public Prompter
{
public:
    void expect(std::string text, PromptButton answer, bool dontShowAgain = false);
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override;
    ContinueChoice askContinue(const std::string& text) override;

    std::vector<std::string> failures;
    std::vector<std::string> shownTexts;
    bool allAnswered() const { return m_script.empty(); }

private:
    struct Step
    {
        std::string text;
        PromptButton answer;
        bool dontShowAgain;
    };
    std::deque<Step> m_script;
};

} // namespace qx7
