#pragma once
// The drag format of QSO rows taken from a log grid. A log grid puts the QSOs it drags
// and the log's own call into the drag with makeQsoDrag() (beside the rows marker the
// print queue takes); windows that take QSOs themselves (the SWL window) read them back
// with readQsoDrag().

#include <QString>

#include <optional>
#include <vector>

class QMimeData;

namespace qx7 {

inline constexpr const char* kQsoMimeType = "application/x-qx7-qsos";

struct DraggedQso
{
    QString call, date, time, band, mode, subMode; // as stored in the log table
};

struct QsoDrag
{
    QString ownCall; // the own call of the log the QSOs come from
    std::vector<DraggedQso> qsos;
};

QMimeData* makeQsoDrag(const QsoDrag& drag);
// Nothing when the data holds no QSO drag or it cannot be read.
std::optional<QsoDrag> readQsoDrag(const QMimeData* data);

// The SWL table takes reports of one own call at a time: a drop is taken when the table
// is empty or its current report is for the dragged log's own call.
bool swlTakesDropOf(bool tableEmpty, const QString& currentMyCall, const QString& dragOwnCall);

} // namespace qx7
