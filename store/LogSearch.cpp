#include "store/LogSearch.h"

#include "core/Text.h"

namespace qx7 {

namespace {

const std::string kAboveEverything(18, '|'); // sorts after every letter and digit

bool hasWildcard(const std::string& s)
{
    return s.find_first_of("?*") != std::string::npos;
}

std::string flagTerm(const char* field, char filter)
{
    switch (filter) {
    case 'Y':
        return std::string(field) + " <> 'N'";
    case 'N':
    case 'B':
    case 'D':
    case 'I':
    case '!':
        return std::string(field) + " =  '" + filter + "'";
    default:
        return {};
    }
}

} // namespace

std::string buildSearchKeys(const SearchInputs& in, SearchState& state)
{
    std::string pattern;
    state.SearchMethod = 2;
    state.ExactMatch = false;
    state.IndexNumber = in.indexNumber;
    if (in.indexNumber == 1) {
        state.SearchMethod = 3;
        state.BeginKey = in.dateFrom + in.timeFrom;
        state.EndKey = in.dateTo + in.timeTo;
    } else if (in.indexNumber == 2) {
        state.SearchMethod = 3;
        state.BeginKey = in.manager;
        state.EndKey = in.manager.empty() ? state.BeginKey + kAboveEverything : in.manager;
    } else if (hasWildcard(in.callFrom)) {
        pattern = in.callFrom;
        const size_t q = in.callFrom.find('?');
        state.BeginKey = q == std::string::npos ? "" : in.callFrom.substr(0, q);
        state.EndKey = !in.callTo.empty() ? in.callTo : state.BeginKey + kAboveEverything;
        state.SearchMethod = 3;
    } else if (!in.callTo.empty()) {
        state.SearchMethod = 3;
        state.BeginKey = in.callFrom;
        state.EndKey = in.callTo;
    } else if (!in.callFrom.empty() && in.callFrom.back() == ' ') {
        state.BeginKey = trimmed(in.callFrom);
        state.EndKey = state.BeginKey + " ";
    } else {
        state.BeginKey = state.EndKey = in.callFrom;
    }
    return pattern;
}

std::string logFilterExpression(const std::string& band, const std::string& mode, bool markedOnly,
                                char qslsFilter, char qslrFilter)
{
    std::vector<std::string> terms;
    if (!band.empty())
        terms.push_back("BAND = '" + band + "' ");
    if (!mode.empty())
        terms.push_back("MODE = '" + mode + "' ");
    if (markedOnly)
        terms.emplace_back("MARK");
    if (auto t = flagTerm("QSLS", qslsFilter); !t.empty())
        terms.push_back(t);
    if (auto t = flagTerm("QSLR", qslrFilter); !t.empty())
        terms.push_back(t);
    std::string expr;
    for (const auto& t : terms)
        expr += (expr.empty() ? "" : " and ") + t;
    return expr;
}

bool callMatchesPattern(const std::string& call, const std::string& pattern)
{
    if (pattern.empty())
        return true;
    if (call.size() < pattern.size())
        return false;
    if (pattern.find('?') != std::string::npos) {
        if (call.size() != pattern.size())
            return false;
        for (size_t i = 0; i < call.size(); ++i)
            if (pattern[i] != '?' && pattern[i] != call[i])
                return false;
        return true;
    }
    std::string s;
    for (char ch : pattern)
        if (ch != '*')
            s += ch;
    if (pattern.find('*') == pattern.size() - 1)
        return call.find(s) != std::string::npos;
    return call.size() >= s.size() && call.compare(call.size() - s.size(), s.size(), s) == 0;
}

void SetLogFilter(dbase::Table& log, const std::string& callPattern, const std::string& band,
                  const std::string& mode, bool markedOnly, char qslsFilter, char qslrFilter)
{
    if (callPattern.empty() && band.empty() && mode.empty() && !markedOnly && qslsFilter == ' ' &&
        qslrFilter == ' ') {
        log.setFilter("");
        log.setRecordFilter({});
        return;
    }
    log.setFilter(logFilterExpression(band, mode, markedOnly, qslsFilter, qslrFilter));
    if (callPattern.empty())
        log.setRecordFilter({});
    else
        log.setRecordFilter([callPattern](const dbase::Table& t) {
            return callMatchesPattern(t.text("CALL"), callPattern);
        });
}

void ApplySearchKeys(dbase::Table& log, const SearchState& state, int indexNumber)
{
    log.suspendNotifications();
    switch (state.SearchMethod) {
    case 1:
        log.findKey(state.BeginKey);
        break;
    case 2:
        log.cancelRange();
        log.findNearest(state.BeginKey);
        break;
    default:
        if (indexNumber == 1) {
            log.cancelRange();
            log.setRange(state.BeginKey.substr(0, 12), state.EndKey.substr(0, 12));
        } else {
            log.setRange(state.BeginKey, state.EndKey);
        }
        break;
    }
    log.resumeNotifications();
}

bool CheckExactMatch(dbase::Table& log, SearchState& state)
{
    state.ExactMatch = false;
    if (!log.isOpen() || log.isEmpty() || log.recNo() == 0)
        return false;
    if (log.text("CALL") != state.BeginKey)
        return false;
    log.setRange(state.BeginKey, state.EndKey);
    state.ExactMatch = true;
    return true;
}

void LogSearchChange(const std::vector<dbase::Table*>& logs, const SearchInputs& in,
                     SearchState& state)
{
    const std::string pattern = buildSearchKeys(in, state);
    for (size_t i = logs.size(); i-- > 0;) {
        dbase::Table& log = *logs[i];
        SetLogFilter(log, in.indexNumber == 0 ? pattern : "", in.band, in.mode, in.markedOnly,
                     in.qslsFilter, in.qslrFilter);
        ApplySearchKeys(log, state, in.indexNumber);
        if (in.indexNumber == 0 && state.SearchMethod == 2 && !hasWildcard(in.callFrom) &&
            !state.ExactMatch && CheckExactMatch(log, state)) {
            state.SearchMethod = 3;
            i = logs.size(); // again from the last log, now restricted to that call
        }
    }
}

} // namespace qx7
