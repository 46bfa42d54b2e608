#pragma once
// The "Print Formats" pages: dates, times and flag texts, bands or frequencies, and the
// slashed-zero character printed on labels.

#include "config/ConfigPage.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace qx7 {

class DatePage final : public ConfigPage
{
public:
    explicit DatePage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    QString problem() const override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    void showSample();
    QComboBox* m_presets;
    QLineEdit* m_format;
    QLabel* m_sample;
    QString m_held; // the format the data module holds
};

class OtherFormatsPage final : public ConfigPage
{
public:
    explicit OtherFormatsPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    QButtonGroup* m_time;
    QLineEdit *m_pse, *m_tnx, *m_manager;
    QCheckBox* m_dashes;
};

class FrequencyPage final : public ConfigPage
{
public:
    explicit FrequencyPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    QButtonGroup* m_choice;
    QTableWidget* m_table;
};

class SlashedZeroPage final : public ConfigPage
{
public:
    explicit SlashedZeroPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM& dm) const override;
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    // An empty entry or a code outside 32-255 falls back to the code in use.
    void settle();
    void showCharacter(int code);
    void fillGrid();
    QComboBox* m_code;
    QComboBox* m_font;
    QTableWidget* m_grid;
    QLabel* m_character;
    int m_inUse = 216;
};

} // namespace qx7
