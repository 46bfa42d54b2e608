#include "store/BatchCheck.h"

#include "store/BatchInput.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>

namespace qx7 {

namespace {

constexpr long kNoTime = std::numeric_limits<long>::min();

std::string digitsOf(std::string_view s)
{
    std::string d;
    for (const char c : s)
        if (std::isdigit(static_cast<unsigned char>(c)))
            d += c;
    return d;
}

int number(std::string_view digits)
{
    int n = 0;
    for (const char c : digits)
        n = n * 10 + (c - '0');
    return n;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool validDate(int y, int m, int d)
{
    if (y < 1900 || y > 2200 || m < 1 || m > 12 || d < 1)
        return false;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= days[m - 1] + (m == 2 && leap ? 1 : 0);
}

// Minutes since 1970 of a date and time as logs and request lists write them.
long minutesOf(std::string_view date, std::string_view time)
{
    const std::string dd = digitsOf(date);
    if (dd.size() != 8)
        return kNoTime;
    int y = number(std::string_view(dd).substr(0, 4));
    int m = number(std::string_view(dd).substr(4, 2));
    int d = number(std::string_view(dd).substr(6, 2));
    // "dd.mm.yyyy": the year comes last.
    if (date.find('.') != std::string_view::npos && !validDate(y, m, d)) {
        d = number(std::string_view(dd).substr(0, 2));
        m = number(std::string_view(dd).substr(2, 2));
        y = number(std::string_view(dd).substr(4, 4));
    }
    if (!validDate(y, m, d))
        return kNoTime;
    std::string td = digitsOf(time);
    if (td.size() == 6)
        td.resize(4); // seconds do not matter at this window
    if (td.size() == 3)
        td.insert(0, "0");
    if (td.size() != 4)
        return kNoTime;
    const int hh = number(std::string_view(td).substr(0, 2));
    const int mm = number(std::string_view(td).substr(2, 2));
    if (hh > 23 || mm > 59)
        return kNoTime;
    return daysFromCivil(y, m, d) * 1440 + hh * 60 + mm;
}

std::string upperNoBlanks(std::string_view s)
{
    std::string r;
    for (const char c : s)
        if (!std::isspace(static_cast<unsigned char>(c)))
            r += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

bool sameBand(std::string_view a, std::string_view b)
{
    return upperNoBlanks(a) == upperNoBlanks(b);
}

std::string modeFamily(std::string_view mode)
{
    std::string m = upperNoBlanks(mode);
    if (m == "USB" || m == "LSB")
        return "SSB";
    return m;
}

bool sameMode(std::string_view a, std::string_view b)
{
    return modeFamily(a) == modeFamily(b);
}

void setStatusIfDifferent(dbase::Table& t, const char* status)
{
    if (t.text("STATUS") == status)
        return;
    t.edit();
    t.setText("STATUS", status);
    t.post();
}

std::vector<dbase::Bookmark> visibleRecords(dbase::Table& t)
{
    std::vector<dbase::Bookmark> marks;
    for (t.first(); !t.isEmpty() && !t.eof(); t.next())
        marks.push_back(t.bookmark());
    return marks;
}

} // namespace

std::vector<BatchLogQso> logQsosOfCall(dbase::Table& log, const std::string& call)
{
    std::vector<BatchLogQso> qsos;
    if (call.empty())
        return qsos;
    const int fCall = log.fieldIndex("CALL");
    const int fDate = log.fieldIndex("DATE");
    const int fTime = log.fieldIndex("TIME");
    const int fBand = log.fieldIndex("BAND");
    const int fMode = log.fieldIndex("MODE");
    log.setRange(call, call);
    for (; !log.isEmpty() && !log.eof(); log.next())
        if (log.text(fCall) == call)
            qsos.push_back({log.bookmark(), log.text(fDate), log.text(fTime), log.text(fBand),
                            log.text(fMode)});
    log.cancelRange();
    return qsos;
}

BatchQsoVerdict judgeBatchQso(const std::vector<BatchLogQso>& qsosOfCall, std::string_view date,
                              std::string_view time, std::string_view band, std::string_view mode)
{
    BatchQsoVerdict v;
    if (qsosOfCall.empty())
        return v;
    const long claimed = minutesOf(date, time);
    if (claimed == kNoTime) {
        v.miss = BatchMiss::UnreadableClaim;
        // Still point at something: the first QSO on the claimed band and mode.
        for (const BatchLogQso& q : qsosOfCall)
            if (sameBand(q.band, band) && sameMode(q.mode, mode)) {
                v.nearest = q;
                break;
            }
        return v;
    }
    // Candidates ranked by (differences near the time, distance): the best one decides.
    const BatchLogQso* nearBest = nullptr;
    int nearDiffs = 3;
    long nearDistance = 0;
    const BatchLogQso* sameBest = nullptr; // nearest on the claimed band and mode
    long sameDistance = 0;
    const BatchLogQso* anyBest = nullptr; // nearest at all
    long anyDistance = 0;
    for (const BatchLogQso& q : qsosOfCall) {
        const long at = minutesOf(q.date, q.time);
        if (at == kNoTime)
            continue;
        const long distance = std::labs(at - claimed);
        const bool bandOk = sameBand(q.band, band);
        const bool modeOk = sameMode(q.mode, mode);
        if (distance <= kBatchQsoWindowMinutes) {
            const int diffs = (bandOk ? 0 : 1) + (modeOk ? 0 : 1);
            if (!nearBest || diffs < nearDiffs || (diffs == nearDiffs && distance < nearDistance)) {
                nearBest = &q;
                nearDiffs = diffs;
                nearDistance = distance;
            }
        }
        if (bandOk && modeOk && (!sameBest || distance < sameDistance)) {
            sameBest = &q;
            sameDistance = distance;
        }
        if (!anyBest || distance < anyDistance) {
            anyBest = &q;
            anyDistance = distance;
        }
    }
    const BatchLogQso* chosen = nullptr;
    if (nearBest) {
        chosen = nearBest;
        const bool bandOk = sameBand(nearBest->band, band);
        const bool modeOk = sameMode(nearBest->mode, mode);
        v.miss = bandOk && modeOk ? BatchMiss::None
                 : bandOk         ? BatchMiss::OtherMode
                 : modeOk         ? BatchMiss::OtherBand
                                  : BatchMiss::OtherBandAndMode;
    } else {
        v.miss = BatchMiss::OutsideTime;
        chosen = sameBest ? sameBest : anyBest;
        if (!chosen) // no logged QSO has a readable time
            chosen = &qsosOfCall.front();
    }
    v.nearest = *chosen;
    const long at = minutesOf(chosen->date, chosen->time);
    v.minutesApart = at == kNoTime ? 0 : at - claimed;
    return v;
}

std::string describeMinutesApart(long minutes)
{
    if (minutes == 0)
        return "same time";
    const long m = std::labs(minutes);
    const long days = m / 1440;
    const long hours = m % 1440 / 60;
    const long mins = m % 60;
    std::string s;
    if (days > 0) {
        s = std::to_string(days) + " d";
        if (hours > 0)
            s += " " + std::to_string(hours) + " h";
    } else if (hours > 0) {
        s = std::to_string(hours) + " h";
        if (mins > 0)
            s += " " + std::to_string(mins) + " min";
    } else {
        s = std::to_string(mins) + " min";
    }
    return s + (minutes > 0 ? " later" : " earlier");
}

std::string describeBatchVerdict(const BatchQsoVerdict& v)
{
    const auto qso = [&v] {
        const BatchLogQso& q = *v.nearest;
        return q.date + " " + q.time + " " + q.band + " " + q.mode;
    };
    const auto nearest = [&] {
        return "nearest " + qso() + " (" + describeMinutesApart(v.minutesApart) + ")";
    };
    switch (v.miss) {
    case BatchMiss::None:
        return "found: " + qso();
    case BatchMiss::NoSuchCall:
        return "no such call in the log";
    case BatchMiss::OutsideTime:
        return "no QSO within \xC2\xB1" + std::to_string(kBatchQsoWindowMinutes) + " min; " +
               nearest();
    case BatchMiss::OtherBand:
        return "other band: " + nearest();
    case BatchMiss::OtherMode:
        return "other mode: " + nearest();
    case BatchMiss::OtherBandAndMode:
        return "other band and mode: " + nearest();
    case BatchMiss::UnreadableClaim:
        return std::string("the claimed date or time cannot be read") +
               (v.nearest ? "; on that band and mode: " + qso() : std::string());
    }
    return {};
}

const BatchQsoCheck* BatchCheckReport::claimAt(dbase::Bookmark line) const
{
    for (const BatchCallCheck& c : calls)
        for (const BatchQsoCheck& q : c.claims)
            if (q.line.recno == line.recno)
                return &q;
    return nullptr;
}

BatchCheckReport checkBatchRequests(BatchInput& batch, dbase::Table& log,
                                    const std::string& ownCall)
{
    BatchCheckReport report;
    batch.FilterBatchTablesForLog(ownCall);
    dbase::Table& stations = batch.BatchInputTable1();
    dbase::Table& claims = batch.BatchInputTable2();
    // Everything is addressed by bookmark and read before it is written: a grid on the
    // tables may move their cursors whenever a status is posted.
    for (const dbase::Bookmark& mark : visibleRecords(stations)) {
        if (!stations.gotoBookmark(mark))
            continue;
        BatchCallCheck call;
        call.record = mark;
        call.myCall = stations.text("MYCALL");
        call.call = stations.text("HISCALL");
        const bool printed = stations.text("STATUS") == kBatchPrinted;
        // Table 2 shows this station's claims through its master link; a call imported
        // for this log and for every log has claims under both own calls.
        std::vector<bool> claimPrinted;
        for (const dbase::Bookmark& line : visibleRecords(claims)) {
            if (!claims.gotoBookmark(line) || claims.text("MYCALL") != call.myCall)
                continue;
            BatchQsoCheck claim;
            claim.line = line;
            claim.date = claims.text("DATE");
            claim.time = claims.text("TIME");
            claim.band = claims.text("BAND");
            claim.mode = claims.text("MODE");
            claimPrinted.push_back(claims.text("STATUS") == kBatchPrinted);
            call.claims.push_back(std::move(claim));
        }
        const std::vector<BatchLogQso> qsos = logQsosOfCall(log, call.call);
        call.qsosInLog = qsos.size();
        if (printed) {
            ++report.printedBefore;
            call.status = kBatchPrinted;
        } else {
            call.status = qsos.empty() ? kBatchNotInLog : kBatchChecked;
            if (stations.gotoBookmark(mark))
                setStatusIfDifferent(stations, call.status.c_str());
            ++(qsos.empty() ? report.notInLog : report.found);
        }
        for (size_t i = 0; i < call.claims.size(); ++i) {
            BatchQsoCheck& claim = call.claims[i];
            claim.verdict = judgeBatchQso(qsos, claim.date, claim.time, claim.band, claim.mode);
            const bool found = claim.verdict.miss == BatchMiss::None;
            ++(found ? report.claimsFound : report.claimsMissed);
            if (!claimPrinted[i] && stations.gotoBookmark(mark) && claims.gotoBookmark(claim.line))
                setStatusIfDifferent(claims, found ? kBatchChecked : kBatchNotInLog);
        }
        report.calls.push_back(std::move(call));
    }
    if (!stations.isEmpty())
        stations.first();
    return report;
}

} // namespace qx7
