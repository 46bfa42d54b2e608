#pragma once
// The "Print Queue" pages: handling of F2/F3, which QSOs are confirmed, sorting, emptying.

#include "config/ConfigPage.h"

class QButtonGroup;
class QLineEdit;

namespace qx7 {

class HandlingPage final : public ConfigPage
{
public:
    explicit HandlingPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    QCheckBox* m_confirmF2;
    QLineEdit* m_pages;
    QCheckBox* m_clearSearch;
};

class ConfirmQsosPage final : public ConfigPage
{
public:
    explicit ConfirmQsosPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    void followAllExceptY();
    QCheckBox *m_again, *m_all, *m_newBands, *m_newModes, *m_allExceptY, *m_firstFirst;
};

class SortingPage final : public ConfigPage
{
public:
    explicit SortingPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    QButtonGroup* m_qsoOrder;
    QButtonGroup* m_queueOrder;
    QCheckBox* m_merge;
};

class EmptyPage final : public ConfigPage
{
public:
    explicit EmptyPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    QCheckBox* m_autoDelete;
};

} // namespace qx7
