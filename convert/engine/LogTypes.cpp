#include "convert/engine/LogTypes.h"

#include "core/Text.h"

#include <algorithm>

namespace qx7 {

const std::vector<TQXLogDescType>& logTypeTable()
{
    using K = SpecKind;
    static const std::vector<TQXLogDescType> table = {
        {24, "QX Logs (Version 6)", "qxc", true, false, true, K::None},
        {2, "QX Logs (Version 4)", "QX1", true, false, true, K::None},
        {1, "QX Logs (Version 3)", "SRT", true, false, false, K::None},
        {3, "ASCII Text Files", "txt", true, false, false, K::Text},
        {19, "ASCII Format - sorted by date", "txt", false, true, false, K::Text},
        {20, "ASCII Format - sorted by calls", "txt", false, true, false, K::Text},
        {45, "ADIF (Amateur Data Interchange Format)", "adi", true, true, false, K::None},
        {4, "CT by QV2QV (*.RES Files)", "RES", true, false, false, K::None},
        {7, "RTTY by QU2QU Contest Software", "BIN", true, false, false, K::None},
        {12, "NA by QT2QT (PRN Files)", "PRN", true, false, false, K::None},
        {10, "TRLog by QS2QS", "DAT", true, false, false, K::None},
        {11, "LOGPlus! by QR2QR (QP2QP)", "DBF", true, false, false, K::Dbase},
        {8, "QN2QN (QM2QM) Log Database", "DBF", true, false, false, K::Dbase},
        {16, "DXBase (SDF Files)", "SDF", true, false, false, K::None},
        {9, "Swisslog (DOS Version)", "DAT", true, false, false, K::None},
        {13, "Toplog by QL2QL (Version 3)", "DBF", true, false, false, K::Dbase},
        {34, "Comma separated files (Excel)", "csv", true, false, false, K::Text},
        {25, "DXLog by QK2QK (ASCII Format)", "LOG", false, false, false, K::None},
        {26, "Ham System by QJ2QJ", "ASC", true, false, false, K::None},
        {27, "Cabrillo Format", "LOG", true, true, true, K::None},
        {28, "ARMAP99 (CSV - Comma separated files)", "txt", false, false, false, K::Text},
        {29, "HAM-LOG", "dbf", true, false, false, K::None},
        {30, "YPLog by QH2QH", "log", true, false, false, K::None},
        {31, "QG2QG (.ASC Files)", "ASC", true, false, false, K::None},
        {32, "FINTEST (.TXT Files)", "TXT", true, false, false, K::None},
        {33, "QW by QF2QF (.BIN Files)", "BIN", true, false, false, K::None},
        {35, "LOGic", "DBF", false, false, false, K::Dbase},
        {36, "SPLog", "SPL", false, false, false, K::None},
        {37, "R25Log", "DBF", true, false, false, K::Dbase},
        {38, "Generic dBase Import", "DBF", true, false, false, K::Dbase},
        {39, "Kenwood HamWindows", "DBF", false, false, false, K::Dbase},
        {40, "QE2QE Log Search Applet", "txt", false, true, true, K::None},
        {41, "CT by QV2QV (*.ALL Files)", "ALL", false, false, false, K::None},
        {42, "QX Logs (Version 7)", "qx7", true, true, true, K::None},
        {43, "SPRINT by QD2QD (*.ASC Files)", "ASC", true, false, true, K::None},
        {46, "XML", "xml", false, false, true, K::None},
        {47, "Logsearch (without date and time)", "log", false, true, false, K::None},
        {48, "Logsearch (with date and time)", "log", false, true, false, K::None},
    };
    return table;
}

std::optional<TQXLogDescType> findLogType(int code)
{
    for (const auto& row : logTypeTable())
        if (row.code == code)
            return row;
    return std::nullopt;
}

std::vector<TQXLogDescType> inputLogTypes()
{
    std::vector<TQXLogDescType> rows;
    for (const auto& row : logTypeTable())
        if (row.import)
            rows.push_back(row);
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return toUpperAscii(a.description) < toUpperAscii(b.description);
    });
    return rows;
}

std::vector<TQXLogDescType> outputLogTypes()
{
    std::vector<TQXLogDescType> rows;
    for (const auto& row : logTypeTable())
        if (row.exportable)
            rows.push_back(row);
    return rows;
}

std::string_view builtInDbaseSpecName(int code)
{
    switch (code) {
    case 8:
        return "QN2QN";
    case 11:
        return "LogPlus!";
    case 13:
        return "Toplog";
    case 37:
        return "R25Log";
    case 39:
        return "Kenwood";
    default:
        return {};
    }
}

} // namespace qx7
