#pragma once
// The journal of a print run: one ADIF record per QSO placed in the print queue, kept
// in "QXADIFExport.adi" in the tmp folder, so that the operator can hand the confirmed
// QSOs to another program. Export copies it into a file of the user's choice, each
// record once.

#include "store/QsoSelection.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace qx7 {

inline constexpr const char* kAdifExportTitle =
    "ADIF Export for QX Version 7 - QSL Administration and Label Printing by QZ3QZ";
inline constexpr const char* kJournalFileName = "QXADIFExport.adi";

// "<tag:n>value " with n the length of the value in characters.
std::string adifElement(std::string_view tag, std::string_view value);
// The three header lines, CR LF ends.
std::string adifHeader();

// The journal record of a queued QSO (stored values, before label formatting), without
// the closing "<eor>". `rsts`/`rstr` and `comm` come from the log record.
std::string journalRecord(const QsoFields& q, std::string_view rsts, std::string_view rstr,
                          std::string_view comm);

class AdifJournal
{
public:
    explicit AdifJournal(std::string tmpFolder);
    ~AdifJournal();
    AdifJournal(const AdifJournal&) = delete;
    AdifJournal& operator=(const AdifJournal&) = delete;

    std::string path() const;
    // Opens for appending; a new file gets the header. False leaves it closed.
    bool OpenAdifExport();
    void addToRecord(std::string_view text) { m_record += text; }
    // Writes the record built so far with "<eor>" as one line and clears it. A file
    // that cannot be opened drops the record.
    void EndAdifRecord();
    void CloseAdifExport();
    // Closes and deletes the file (the print queue was emptied).
    void DiscardAdifExport();
    // Merges the journal into `target` (after the target's own records when `append`),
    // each record once, and rewrites the target whole. No journal: nothing to do.
    bool ExportAdifFile(const std::string& target, bool append);
    bool isOpen() const { return m_file != nullptr; }
    bool exists() const;
    // Records that could not be written since the last clearFailure(), and why the
    // first of them could not; a run reports them instead of losing them silently.
    long droppedRecords() const { return m_dropped; }
    const std::string& failure() const { return m_failure; }
    void clearFailure();

private:
    void noteFailure(const std::string& why);

    std::string m_folder;
    std::FILE* m_file = nullptr;
    std::string m_record;
    long m_dropped = 0;
    std::string m_failure;
};

} // namespace qx7
