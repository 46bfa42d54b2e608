#pragma once
// The logs opened at every start: the log descriptors of the log folder on the left, the
// chosen ones in order on the right, moved with the arrow buttons or by dragging them
// between the lists (and within the right one, to change the order).

#include "config/ConfigPage.h"

#include <QStringList>

class QListWidget;
class QPushButton;

namespace qx7 {

class LogNameList;

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
    // A drop of `names` from the list named `source` onto `to` before `row`.
    void dropNames(const QString& source, const QStringList& names, QListWidget* to, int row);
    bool takesDrop(const QString& source, QListWidget* to) const;
    void finishMove(QListWidget* from, int keepAt);
    void updateButtons();

    LogNameList* m_available;
    LogNameList* m_chosen;
    QPushButton *m_include, *m_includeAll, *m_exclude, *m_excludeAll;
};

} // namespace qx7
