#include "ui/log/QsoDragData.h"

#include <QMimeData>

namespace qx7 {

// One line per field group, tab-separated: "OWN\t<call>", then "QSO\t<6 fields>" per QSO.
// Tabs and line ends cannot occur in log fields of these kinds.
QMimeData* makeQsoDrag(const QsoDrag& drag)
{
    QStringList lines{QStringLiteral("OWN\t") + drag.ownCall};
    for (const DraggedQso& q : drag.qsos)
        lines
            << QStringList{QStringLiteral("QSO"), q.call, q.date, q.time, q.band, q.mode, q.subMode}
                   .join(u'\t');
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kQsoMimeType), lines.join(u'\n').toUtf8());
    return data;
}

std::optional<QsoDrag> readQsoDrag(const QMimeData* data)
{
    if (!data || !data->hasFormat(QString::fromLatin1(kQsoMimeType)))
        return std::nullopt;
    const QStringList lines =
        QString::fromUtf8(data->data(QString::fromLatin1(kQsoMimeType))).split(u'\n');
    QsoDrag drag;
    bool ownSeen = false;
    for (const QString& line : lines) {
        const QStringList f = line.split(u'\t');
        if (f.size() == 2 && f[0] == QLatin1String("OWN")) {
            drag.ownCall = f[1].trimmed();
            ownSeen = true;
        } else if (f.size() == 7 && f[0] == QLatin1String("QSO")) {
            drag.qsos.push_back({f[1], f[2], f[3], f[4], f[5], f[6]});
        } else {
            return std::nullopt;
        }
    }
    if (!ownSeen || drag.qsos.empty())
        return std::nullopt;
    return drag;
}

bool swlTakesDropOf(bool tableEmpty, const QString& currentMyCall, const QString& dragOwnCall)
{
    return tableEmpty ||
           currentMyCall.trimmed().compare(dragOwnCall.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace qx7
