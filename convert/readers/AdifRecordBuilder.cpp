#include "convert/readers/AdifRecordBuilder.h"

#include "convert/normalize/FieldCodes.h"
#include "convert/normalize/ImportRecord.h"

#include <cstdint>
#include <cstring>

namespace qx7 {

namespace {

// Whether `text` holds an ASCII small letter. Eight bytes a step while they are ASCII:
// calls, bands and modes are upper-case in nearly every log, and need no copy then.
bool hasSmallLetter(std::string_view text)
{
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if ((word & kHigh) != 0)
            break; // no carry may cross a byte below: the rest one by one
        // A byte's high bit turns on at 'a' in the first sum and past 'z' in the second.
        const uint64_t fromA = word + kOnes * (0x80 - 'a');
        const uint64_t pastZ = word + kOnes * (0x80 - 'z' - 1);
        if ((fromA & ~pastZ & kHigh) != 0)
            return true;
    }
    for (; i < text.size(); ++i)
        if (text[i] >= 'a' && text[i] <= 'z')
            return true;
    return false;
}

} // namespace

void AdifRecordBuilder::field(AdifField field, std::string_view value, bool upper)
{
    if (!upper || !hasSmallLetter(value))
        return apply(field, value);
    // Nearly every value fits on the stack, which saves a string's bookkeeping per field.
    char shortValue[64];
    char* data = shortValue;
    if (value.size() > sizeof shortValue) {
        m_upper.resize(value.size());
        data = m_upper.data();
    }
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        data[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    }
    apply(field, std::string_view(data, value.size()));
}

void AdifRecordBuilder::endRecord()
{
    if (!m_hasBand && !m_bandRx.empty())
        m_normalizer.NormalizeBand(m_bandRx);
    if (!m_hasFreq && !m_freqRx.empty())
        m_normalizer.FrequencyToBand(m_freqRx);
    m_outlet.complete(m_normalizer);
    m_hasBand = m_hasFreq = false;
    m_bandRx.clear();
    m_freqRx.clear();
}

void AdifRecordBuilder::applyDate(int fieldNumber, std::string_view value)
{
    const size_t length = utf8Length(value);
    if (length == 6)
        m_normalizer.setDate(fieldNumber, value, "yymmdd");
    else if (length == 8)
        m_normalizer.setDate(fieldNumber, value, "yyyymmdd");
}

void AdifRecordBuilder::apply(AdifField target, std::string_view value)
{
    FieldNormalizer& n = m_normalizer;
    const char first = value.empty() ? '\0' : value.front();
    switch (target) {
    case AdifField::Call:
        n.setCall(value);
        break;
    case AdifField::Date:
        applyDate(FieldDate, value);
        break;
    case AdifField::Time:
        n.setTime(value);
        break;
    case AdifField::Band:
        m_hasBand = true;
        n.NormalizeBand(value);
        break;
    case AdifField::BandRx:
        m_bandRx.assign(value);
        break;
    case AdifField::FreqRx:
        m_freqRx.assign(value);
        break;
    case AdifField::Mode:
        n.NormalizeMode(value);
        break;
    case AdifField::SubMode:
        n.setSubMode(value);
        break;
    case AdifField::RstSent:
        n.setRstSent(value);
        break;
    case AdifField::RstRcvd:
        n.setRstRcvd(value);
        break;
    case AdifField::QslSent:
        if (first == '!' || first == 'I')
            n.setQslSent("!");
        else if (first == 'T' || first == 'Y')
            n.setQslSent("Y");
        else if (first == 'R')
            n.setMark("Y");
        break;
    case AdifField::QslRcvd:
        if (first == '!' || first == 'I')
            n.setQslRcvd("!");
        else if (first == 'R' || first == 'T' || first == 'Y')
            n.setQslRcvd("Y");
        break;
    case AdifField::DateSent:
        applyDate(FieldDateSent, value);
        break;
    case AdifField::DateRcvd:
        applyDate(FieldDateRcvd, value);
        break;
    case AdifField::Dxcc:
        n.setDigitsSegment(FieldDxcc, value);
        break;
    case AdifField::Freq:
        m_hasFreq = true;
        n.FrequencyToBand(value);
        break;
    case AdifField::Manager:
        n.setManager(value);
        break;
    case AdifField::Comment:
        n.setComment(value);
        break;
    case AdifField::Skip:
        break;
    }
}

} // namespace qx7
