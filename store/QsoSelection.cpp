#include "store/QsoSelection.h"

#include "core/BandModeTables.h"
#include "store/TableHelpers.h"

#include <algorithm>
#include <cstdio>

namespace qx7 {

namespace {

constexpr size_t kManagerWidth = 16;
constexpr size_t kOrderKeyWidth = 14;

char tableLetter(int index)
{
    return static_cast<char>(64 + index);
}

std::string orderKey(const QsoFields& q, int band, int mode, int sortTyp)
{
    const std::string dateTime = padToWidth(q.date, 8) + padToWidth(q.time, 4);
    switch (sortTyp) {
    case 1:
        return std::string{tableLetter(band), tableLetter(mode)} + dateTime;
    case 2:
        return std::string{tableLetter(mode), tableLetter(band)} + dateTime;
    case 3:
        return dateTime + tableLetter(band) + tableLetter(mode);
    default:
        return padToWidth(dateTime, kOrderKeyWidth); // keeps the record number in place
    }
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// The manager part compares without regard to case; the order key byte by byte, since
// its band and mode letters above "Z" would otherwise collide with lower ones.
bool entryLess(const QsoEntry& a, const QsoEntry& b)
{
    for (size_t i = 0; i < kManagerWidth; ++i) {
        const char x = upper(a.text[i]), y = upper(b.text[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.text.compare(kManagerWidth, std::string::npos, b.text, kManagerWidth,
                          std::string::npos) < 0;
}

} // namespace

std::string labelManager(std::string_view qmgr)
{
    return qmgr.empty() || qmgr.front() == '-' ? std::string() : std::string(qmgr);
}

bool makeQsoEntry(const QsoFields& q, int sortTyp, bool exceptY, QsoEntry& out)
{
    if (q.qsls == "!" || (exceptY && q.qsls == "Y"))
        return false;
    out.band = bandIndex(q.band);
    out.mode = modeIndex(q.mode);
    out.recno = q.recno;
    out.manager = labelManager(q.qmgr);
    std::string mgr = out.manager.substr(0, kManagerWidth);
    mgr.resize(kManagerWidth, '.');
    char recno[16];
    std::snprintf(recno, sizeof recno, "%6u", static_cast<unsigned>(q.recno % 1000000));
    out.text = mgr + orderKey(q, out.band, out.mode, sortTyp) + recno + (q.qsls == "N" ? 'N' : 'Y');
    return true;
}

void sortEntries(std::vector<QsoEntry>& entries)
{
    std::stable_sort(entries.begin(), entries.end(), entryLess);
}

void selectEntries(std::vector<QsoEntry>& entries, const SelectionRules& rules)
{
    if (rules.cfmAllQ && !rules.cfmAllExceptY) {
        if (!rules.cfmAgnQ)
            for (auto& e : entries)
                if (e.status() != 'N')
                    e.leaveOut();
        return;
    }
    bool confirmed[MaxBand + 1][MaxMode + 1] = {};
    bool chosen[MaxBand + 1][MaxMode + 1] = {};
    for (const auto& e : entries)
        if (e.status() == 'Y')
            confirmed[e.band][e.mode] = true;
    auto visit = [&](QsoEntry& e) {
        if (rules.cfmNewB && confirmed[e.band][e.mode])
            e.leaveOut();
        else if (chosen[e.band][e.mode])
            e.leaveOut();
        else if (!rules.cfmAgnQ && e.status() == 'Y')
            e.leaveOut();
        else
            chosen[e.band][e.mode] = true;
    };
    if (rules.priFiFo)
        std::for_each(entries.begin(), entries.end(), visit);
    else
        std::for_each(entries.rbegin(), entries.rend(), visit);
}

bool pagePromptDue(long labelsInQueue, long labelsPerPage, int pageConf, bool continueAsk)
{
    if (!continueAsk || pageConf <= 0 || labelsPerPage <= 0 || labelsInQueue <= 0)
        return false;
    if (labelsInQueue % labelsPerPage != 0)
        return false;
    return (labelsInQueue / labelsPerPage) % pageConf == 0;
}

} // namespace qx7
