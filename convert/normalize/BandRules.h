#pragma once
// The lookup tables behind band normalization: band texts, whole-MHz and metre values,
// and the frequency ranges in MHz and kHz. Each answers a band code or ' ' for none.

#include <string>
#include <string_view>

namespace qx7 {

// Exact match with a band-table text upper-cased ("20M", "70CM", "SAT").
char bandCodeFromTableText(std::string_view upper);
// Band or frequency logs: "14" is 20 m, ranges such as "144"-"148" compare as text.
char bandCodeFromWholeMhz(std::string_view value);
// Band or frequency logs: "20" is 20 m (the ambiguous "10" and "30" are not here).
char bandCodeFromMetres(std::string_view value);
// Logs whose band column holds metres only.
char bandCodeMetresOnly(std::string_view value);
// Logs whose band column holds whole MHz only.
char bandCodeMhzOnly(std::string_view value);
// A frequency with "." as decimal point: MHz first, then kHz.
char bandCodeFromFrequency(std::string_view value);
// The frequency in MHz: a value that falls in a band only when read as kHz ("14025")
// has its point moved three places ("14.025"); any other value stays as it is.
std::string frequencyInMhz(std::string_view value);

} // namespace qx7
