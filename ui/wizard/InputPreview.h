#pragma once
// The first QSOs of an input log as its reader and specification see them, with the
// problems the conversion's checks would report, so that a wrong specification shows
// before a long run.

#include "convert/specs/TQXLogSpec.h"

#include <string>
#include <vector>

namespace qx7 {

struct Settings;

struct PreviewRow
{
    std::string call, date, time, band, mode;
    std::string problem; // the error log's words; empty for a QSO that passes
};

// Reads at most `count` QSOs of `spec` without storing anything or asking anything (a
// reader stopped early is no failure worth a message).
std::vector<PreviewRow> previewLog(const Settings& settings, TQXLogSpec spec, int outputType,
                                   size_t count = 20);

} // namespace qx7
