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

private:
    QWidget* m_parent;
};

} // namespace qx7
