#pragma once
// The logs opened at every start: the log descriptors of the log folder on the left, the
// chosen ones in order on the right, moved with the arrow buttons.

#include "config/ConfigPage.h"

class QListWidget;
class QPushButton;

namespace qx7 {

class AutoOpenLogsPage final : public ConfigPage
{
public:
    static constexpr int kMaxLogs = 16;

    explicit AutoOpenLogsPage(QWidget* parent = nullptr);
    void load(const TQXDM& dm, const IniFile& ini) override;
    void apply(TQXDM&) const override {} // the list lives in the ini only
    void write(const TQXDM& dm, IniFile& ini) const override;

private:
    void move(QListWidget* from, QListWidget* to, bool all);
    void updateButtons();

    QListWidget* m_available;
    QListWidget* m_chosen;
    QPushButton *m_include, *m_includeAll, *m_exclude, *m_excludeAll;
};

} // namespace qx7
