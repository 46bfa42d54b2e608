#pragma once
// The data folders: the folder in use and a new one that takes effect at the next start.
// A new folder must exist and take files; nothing is moved into it.

#include "config/ConfigPage.h"

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;

namespace qx7 {

class Prompter;

// Empty when `folder` exists and a file can be created in it; else the message naming it.
QString folderProblem(const QString& folder);

class FoldersPage final : public ConfigPage
{
public:
    FoldersPage(Prompter& prompter, QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    QString problem() const override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM&, IniFile&) const override {} // written at exit

    void setNewFolder();

private:
    void showKind(int kind);

    Prompter& m_prompter;
    QListWidget* m_kinds;
    QLabel* m_old;
    QLabel* m_pending;
    QLineEdit* m_choice;
    std::array<QString, 5> m_inUse;
    std::array<QString, 5> m_new;
};

} // namespace qx7
