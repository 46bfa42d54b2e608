#pragma once
// Reads Cabrillo contest logs (type 27). QSO lines are split into white-space separated
// fields rather than read by columns, because contest programs pad the fields their own
// way: frequency, mode, date, time, own call, the sent exchange, the received call, the
// received exchange, and an optional transmitter number. Both exchanges have the same
// number of fields, which tells where the received call stands.

#include "convert/engine/LogFormat.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

struct CabrilloQso
{
    std::string frequency, mode, date, time, ownCall, call;
    std::vector<std::string> sent, received;
};

// The fields of a line beginning "QSO:" (any case, leading blanks allowed); nothing for
// any other line.
std::optional<CabrilloQso> parseCabrilloQso(std::string_view line);
// The band as the normalizer reads it with frequencies in MHz: kHz become MHz, band
// designators ("144", "2.3G", and the writer's "2M", "70C"...) their MHz value.
std::string cabrilloBandAsMhz(std::string_view frequency);

class CabrilloReader : public LogReader
{
public:
    bool read(TQXLogSpec& spec, ReadContext& context) const override;
};

} // namespace qx7
