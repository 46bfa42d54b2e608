#pragma once
// The search that narrows every open log to a key range and a filter: the keys built
// from the search inputs of the current sort order, the filter expression and call
// pattern, positioning, and the exact-call restriction. The log windows and qx7cli both
// run it; the scan reads the state it leaves.

#include "dbase/Table.h"
#include "store/LogScan.h"

#include <string>
#include <vector>

namespace qx7 {

struct SearchInputs
{
    int indexNumber = 0; // 0 call, 1 date and time, 2 manager
    std::string callFrom, callTo;
    std::string dateFrom, timeFrom, dateTo, timeTo; // "yyyymmdd", "hhmm"
    std::string manager;
    std::string band, mode; // empty: any
    bool markedOnly = false;
    char qslsFilter = ' ';
    char qslrFilter = ' ';
};

// Fills `state` (SearchMethod, keys, ExactMatch false) and returns the call pattern.
std::string buildSearchKeys(const SearchInputs& in, SearchState& state);

// The filter expression of band, mode, marked-only and the QSL filter characters.
std::string logFilterExpression(const std::string& band, const std::string& mode, bool markedOnly,
                                char qslsFilter, char qslrFilter);
// Whether a call matches a pattern with "?" (one character) or "*".
bool callMatchesPattern(const std::string& call, const std::string& pattern);

void SetLogFilter(dbase::Table& log, const std::string& callPattern, const std::string& band,
                  const std::string& mode, bool markedOnly, char qslsFilter, char qslrFilter);
void ApplySearchKeys(dbase::Table& log, const SearchState& state, int indexNumber);
// Restricts to the call when the current QSO's call is exactly BeginKey.
bool CheckExactMatch(dbase::Table& log, SearchState& state);

// The whole search over a set of open logs, last to first, restarting when an exact
// call was found so that every log is restricted to it.
void LogSearchChange(const std::vector<dbase::Table*>& logs, const SearchInputs& in,
                     SearchState& state);

} // namespace qx7
