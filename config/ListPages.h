#pragma once
// Pages of lists: the duplicate switch of imports, the bands and modes the selection lists
// offer, and the facts of the table engine.

#include "config/ConfigPage.h"

class QListWidget;

namespace qx7 {

class ImportExportPage final : public ConfigPage
{
public:
    explicit ImportExportPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    QCheckBox* m_dupes;
};

// 29 bands or 47 modes, each ticked when the selection lists offer it.
class VisibilityPage final : public ConfigPage
{
public:
    enum class Kind
    {
        Bands,
        Modes
    };
    VisibilityPage(Kind kind, QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;
    void checkDefaults();

private:
    Kind m_kind;
    QListWidget* m_list;
};

class EngineFactsPage final : public ConfigPage
{
public:
    explicit EngineFactsPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM&) const override {}
    void write(const TQXDM&, IniFile&) const override {}

private:
    QWidget* m_form;
};

} // namespace qx7
