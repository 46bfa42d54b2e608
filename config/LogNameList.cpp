#include "config/LogNameList.h"

#include <QDataStream>
#include <QDropEvent>
#include <QMimeData>

namespace qx7 {

LogNameList::LogNameList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

QStringList LogNameList::mimeTypes() const
{
    return {QString::fromLatin1(kLogNamesMimeType)};
}

QMimeData* LogNameList::mimeData(const QList<QListWidgetItem*>& items) const
{
    QStringList names;
    for (const QListWidgetItem* item : items)
        names << item->text();
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << objectName() << names;
    auto* drag = new QMimeData;
    drag->setData(QString::fromLatin1(kLogNamesMimeType), bytes);
    return drag;
}

bool LogNameList::readDrag(const QMimeData* drag, QString& source, QStringList& names)
{
    if (!drag || !drag->hasFormat(QString::fromLatin1(kLogNamesMimeType)))
        return false;
    QDataStream in(drag->data(QString::fromLatin1(kLogNamesMimeType)));
    in >> source >> names;
    return in.status() == QDataStream::Ok && !names.isEmpty();
}

bool LogNameList::takes(const QMimeData* drag) const
{
    QString source;
    QStringList names;
    return readDrag(drag, source, names) && m_rule && m_rule(source, names);
}

void LogNameList::dragEnterEvent(QDragEnterEvent* event)
{
    if (takes(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void LogNameList::dragMoveEvent(QDragMoveEvent* event)
{
    // The base class draws the drop indicator; whether the drop is taken is ours to say.
    QListWidget::dragMoveEvent(event);
    if (takes(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void LogNameList::dropEvent(QDropEvent* event)
{
    QString source;
    QStringList names;
    if (!takes(event->mimeData()) || !readDrag(event->mimeData(), source, names)) {
        event->ignore();
        return;
    }
    // Before the entry under the pointer, after it when the pointer is in its lower half.
    const QPoint at = event->position().toPoint();
    int row = count();
    if (const QModelIndex index = indexAt(at); index.isValid()) {
        row = index.row();
        if (at.y() > visualRect(index).center().y())
            ++row;
    }
    // The page moves the entries; the view must not remove them from the source itself.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit namesDropped(source, names, row);
}

} // namespace qx7
