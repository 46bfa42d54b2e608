#pragma once
// Turns the raw field texts of any foreign log into the import record: call upper-cased
// and cut, dates "yyyymmdd", time "hhmm", band and mode as one-letter codes, reports,
// QSL flags, and the rest as appended segments. Every reader feeds fields through here.
// A value that cannot be used is dropped; the run's checks then find what is missing.

#include "convert/normalize/ImportRecord.h"

#include <string>
#include <string_view>

namespace qx7 {

struct ReportOptions
{
    bool removeExchange = false; // drop contest exchanges after the standard report
    bool replaceReports = false; // write 59 / 599 whatever was logged
};

class FieldNormalizer
{
public:
    explicit FieldNormalizer(RecordLayout layout = RecordLayout::DateFirst);

    ImportRecord& record() { return m_record; }
    const ImportRecord& record() const { return m_record; }

    // Per input log: band mode -1 (band or frequency), 0 (metres only), 1 (MHz only),
    // and the comment the user gave for every QSO of the log (empty for none).
    void startLog(int bandMode, std::string_view fixedComment);
    void setLayout(RecordLayout layout);
    // Fresh record, error-log texts blank; the per-log state stays.
    void resetRecord();
    // The record and error-log texts as a copy of this normalizer made them (a reader
    // may normalize in a thread of its own); the per-log state stays.
    void adoptRecord(std::string_view text, size_t pipe, std::string_view errorBand,
                     std::string_view errorMode)
    {
        m_record.assign(text, pipe);
        m_errorBandText.assign(errorBand);
        m_errorModeText.assign(errorMode);
    }

    int bandMode() const { return m_bandMode; }
    bool lastBandInMetres() const { return m_lastBandInMetres; }
    const std::string& fixedComment() const { return m_fixedComment; }
    // The texts the error log shows in its "Band" (6) and "Mode" (12) columns.
    const std::string& errorBandText() const { return m_errorBandText; }
    const std::string& errorModeText() const { return m_errorModeText; }
    void setErrorBandText(std::string_view text);
    void setErrorModeText(std::string_view text);

    // The one entry point: the key is a field key ("CALL" ... "MARK", any case); the
    // date format is used by the three date fields only. Unknown keys do nothing.
    void SetImportField(std::string_view key, std::string_view value, std::string_view dateFormat);
    void setField(int fieldNumber, std::string_view value, std::string_view dateFormat);

    void setCall(std::string_view value);
    void setDate(int fieldNumber, std::string_view value, std::string_view format);
    void setTime(std::string_view value);
    void NormalizeBand(std::string_view value);
    void FrequencyToBand(std::string_view value);
    void NormalizeMode(std::string_view value);
    void setSubMode(std::string_view value);
    void setRstSent(std::string_view value);
    void setRstRcvd(std::string_view value);
    void setQslSent(std::string_view value);
    void setQslRcvd(std::string_view value);
    void setMark(std::string_view value);
    void setManager(std::string_view value);
    void setManagerFromViaText(std::string_view text);
    void setComment(std::string_view value);
    void setDigitsSegment(int fieldNumber, std::string_view value);

    // Rewrites both reports of an accepted QSO to the standard length of its mode.
    void FixReports(const ReportOptions& options);
    // The fixed comment of the log, for an accepted QSO that brought none of its own.
    void appendFixedCommentIfMissing();

private:
    bool bandMetresOnly(const std::string& value);
    bool bandMhzOnly(const std::string& value);
    bool bandOrFrequency(const std::string& value);
    bool bandFromTable(const std::string& value);
    static size_t fixReport(std::string_view stored, size_t length, const ReportOptions& options,
                            char (&out)[6]);

    ImportRecord m_record;
    int m_bandMode = -1;
    bool m_lastBandInMetres = true;
    std::string m_fixedComment;
    std::string m_errorBandText;
    std::string m_errorModeText;
    // Values being normalized, kept for their capacity; the band has its own, as a band
    // may be read as a frequency.
    std::string m_scratch;
    std::string m_bandScratch;
};

// Pads with spaces to `width` characters (longer text is kept whole).
std::string padRight(std::string_view text, size_t width);

} // namespace qx7
