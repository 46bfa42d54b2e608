#include "core/BandModeTables.h"

namespace qx7 {

namespace {

constexpr std::array<std::string_view, MaxBand + 1> kBands = {
    "???", "2190m", "160m", "80m",    "60m", "40m",   "30m",   "20m",  "17m",  "15m",
    "12m", "10m",   "6m",   "4m",     "2m",  "1.25m", "70cm",  "33cm", "23cm", "13cm",
    "9cm", "6cm",   "3cm",  "1.25cm", "6mm", "4mm",   "2.5mm", "2mm",  "1mm",  "SAT"};

constexpr std::array<std::string_view, MaxMode + 1> kModes = {
    "???",   "SSB",      "AM",           "FM",     "CW",    "RTTY",  "PSK",    "JT65",
    "JT9",   "FT8",      "MSK144",       "T10",    "ARDOP", "ATV",   "C4FM",   "CHIP",
    "CLO",   "CONTESTI", "DIGITALVOICE", "DOMINO", "DSTAR", "FAX",   "FSK441", "HELL",
    "ISCAT", "JT4",      "JT6M",         "JT44",   "MFSK",  "MT63",  "OLIVIA", "OPERA",
    "PAC",   "PAX",      "PKT",          "PSK2K",  "Q15",   "QRA64", "ROS",    "RTTYM",
    "SSTV",  "THOR",     "THRB",         "TOR",    "V4",    "VOI",   "WINMOR", "WSPR"};

constexpr std::array<std::string_view, MaxBand + 1> kFrequencies = {
    "",        ".136",    "1.8",      "3.5",      "5.",       "7.",       "10.1",    "14.",
    "18.",     "21.",     "24.9",     "28.",      "50.",      "70.",      "144 MHz", "222 MHz",
    "430 MHz", "902 MHz", "1240 MHz", "2300 MHz", "3300 MHz", "5650 MHz", "10 GHz",  "24 GHz",
    "47 GHz",  "75 GHz",  "120 GHz",  "142 GHz",  "241 GHz",  "SAT"};

} // namespace

std::string_view bandName(int index)
{
    return index >= 1 && index <= MaxBand ? kBands[static_cast<size_t>(index)] : kBands[0];
}

std::string_view modeName(int index)
{
    return index >= 1 && index <= MaxMode ? kModes[static_cast<size_t>(index)] : kModes[0];
}

int bandIndex(std::string_view name)
{
    for (int i = 1; i <= MaxBand; ++i)
        if (kBands[static_cast<size_t>(i)] == name)
            return i;
    return 0;
}

int modeIndex(std::string_view name)
{
    for (int i = 1; i <= MaxMode; ++i)
        if (kModes[static_cast<size_t>(i)] == name)
            return i;
    return 0;
}

int storedModeIndex(std::string_view stored)
{
    if (const int exact = modeIndex(stored); exact != 0 || stored.empty())
        return exact;
    int found = 0;
    for (int i = 1; i <= MaxMode; ++i) {
        if (kModes[static_cast<size_t>(i)].substr(0, stored.size()) != stored)
            continue;
        if (found != 0)
            return 0;
        found = i;
    }
    return found;
}

std::string_view defaultFrequencyText(int index)
{
    return index >= 1 && index <= MaxBand ? kFrequencies[static_cast<size_t>(index)] : "";
}

bool defaultBandVisible(int index)
{
    return index == 2 || index == 3 || (index >= 5 && index <= 11);
}

bool defaultModeVisible(int index)
{
    return index >= 1 && index <= 3;
}

} // namespace qx7
