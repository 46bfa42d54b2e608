#pragma once
// One reader or writer per log type behind one interface, found by log-type code. The
// conversion engine is the context both see: readers hand fields to its normalizer and
// call the per-QSO step; writers walk its buffer and report progress per record.

#include "convert/normalize/ImportRecord.h"
#include "convert/specs/TQXLogSpec.h"

#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

class FieldNormalizer;
class Prompter;

class ReadContext
{
public:
    virtual FieldNormalizer& normalizer() = 0;
    // The per-QSO step: check, store, reset the record.
    virtual void QsoComplete(TQXLogSpec& spec) = 0;
    virtual bool abortRequested() const = 0;
    // Readers only load and count when this is set.
    virtual bool logSizeOnly() const = 0;
    virtual const std::string& adifCommentTag() const = 0;
    virtual const std::string& logFolder() const = 0;
    virtual Prompter& prompter() = 0;
    // Something wrong with a value of the QSO being read (a length that cannot be
    // right...): the error log lists it with that QSO.
    virtual void noteValueProblem(std::string_view text) = 0;

    virtual ~ReadContext() = default;
};

class WriteContext
{
public:
    // The accepted records in the order the writer walks them.
    virtual std::vector<std::string_view> bufferRecords() const = 0;
    virtual RecordLayout layout() const = 0;
    // Called for every record written, `index` counting from 0.
    virtual void WriteProgress(TQXLogSpec& output, size_t index) = 0;
    virtual bool abortRequested() const = 0;
    virtual const std::string& logFolder() const = 0;
    virtual int dbaseLevel() const = 0;
    // Why the writer failed, in words the user can act on (full disk, not a folder...).
    virtual void reportWriteFailure(const std::string& why) { (void)why; }

    virtual ~WriteContext() = default;
};

class LogReader
{
public:
    virtual ~LogReader() = default;
    // True when the log could be read; sets the log size (and the call where known).
    virtual bool read(TQXLogSpec& spec, ReadContext& context) const = 0;
};

class LogWriter
{
public:
    virtual ~LogWriter() = default;
    virtual bool write(TQXLogSpec& output, WriteContext& context) const = 0;
};

// Nothing for codes without a reader (writer).
const LogReader* findReader(int logType);
const LogWriter* findWriter(int logType);

} // namespace qx7
