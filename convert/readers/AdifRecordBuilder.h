#pragma once
// The QSO an ADIF record becomes: the fields the tag scanner finds are put into a field
// normalizer, and each finished QSO goes to an outlet, which checks and keeps it at once
// (the engine) or passes it to the thread that does (a reader working in two threads).

#include "convert/normalize/FieldNormalizer.h"

#include <string>
#include <string_view>

namespace qx7 {

// The fields the ADIF reader takes; Skip is read past, its value never used.
enum class AdifField
{
    Call,
    Date,
    Time,
    Band,
    Mode,
    SubMode,
    RstSent,
    RstRcvd,
    QslSent,
    QslRcvd,
    DateSent,
    DateRcvd,
    Dxcc,
    Freq,
    Manager,
    Comment,
    BandRx,
    FreqRx,
    Skip
};

class QsoOutlet
{
public:
    // True once no more QSOs are wanted; looked at after each QSO and each line.
    virtual bool stopped() const = 0;
    // The normalizer holds a finished QSO; the outlet takes it and starts a fresh one.
    virtual void complete(FieldNormalizer& normalizer) = 0;
    // A note on a value of the QSO being read, for the error log.
    virtual void problem(std::string_view text) = 0;

    virtual ~QsoOutlet() = default;
};

class AdifRecordBuilder
{
public:
    AdifRecordBuilder(FieldNormalizer& normalizer, QsoOutlet& outlet)
        : m_normalizer(normalizer), m_outlet(outlet)
    {}

    bool stopped() const { return m_outlet.stopped(); }
    // `upper` asks for the value's ASCII letters upper-cased first.
    void field(AdifField field, std::string_view value, bool upper);
    void endRecord();
    void problem(std::string_view text) { m_outlet.problem(text); }

private:
    void apply(AdifField field, std::string_view value);
    void applyDate(int fieldNumber, std::string_view value);

    FieldNormalizer& m_normalizer;
    QsoOutlet& m_outlet;
    // Of the record being read: whether it has its own band and frequency, and the
    // receive band and frequency that stand in when it has not.
    bool m_hasBand = false;
    bool m_hasFreq = false;
    std::string m_bandRx;
    std::string m_freqRx;
    std::string m_upper;
};

} // namespace qx7
