#pragma once
// One of the two lists of the auto-open page. Its entries (log file names) can be dragged
// to the other list; the chosen list also takes its own entries to reorder them. The
// list only reports a drop; the page moves the names, so that its limits hold for drops
// as for the arrow buttons.

#include <QListWidget>
#include <QStringList>

#include <functional>

namespace qx7 {

inline constexpr const char* kLogNamesMimeType = "application/x-qx7-log-names";

class LogNameList final : public QListWidget
{
    Q_OBJECT
public:
    // Asked while a drag from `source` hovers: may these names land here?
    using DropRule = std::function<bool(const QString& source, const QStringList& names)>;

    explicit LogNameList(QWidget* parent = nullptr);
    void setDropRule(DropRule rule) { m_rule = std::move(rule); }

    // The names a drag holds and the list it came from; false when it is no such drag.
    static bool readDrag(const QMimeData* drag, QString& source, QStringList& names);

signals:
    // Names dragged from the list named `source` were dropped before `row` (count(): at
    // the end).
    void namesDropped(const QString& source, const QStringList& names, int row);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool takes(const QMimeData* drag) const;

    DropRule m_rule;
};

} // namespace qx7
