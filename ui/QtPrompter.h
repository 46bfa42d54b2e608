#pragma once
// Message boxes for the data module's prompts.

#include "core/Prompter.h"

class QWidget;

namespace qx7 {

class QtPrompter : public Prompter
{
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    PromptButton ask(PromptIcon icon, const std::string& text, PromptButton buttons) override;
    // The page prompt of a scan (`TQXContinueDlg`): caption "Confirm", "&Yes" (default),
    // "&No", "&Cancel", "&Print Labels" and "Don't show this message".
    ContinueChoice askContinue(const std::string& text) override;

private:
    QWidget* m_parent;
};

} // namespace qx7
