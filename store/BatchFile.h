#pragma once
// QSL request lists: the text an expedition's request system hands out, one request a
// line ("CALL;call;comment" or "QSO ;call;date;time;band;mode[;comment]"), read from a
// file or from a web page, and imported into the batch-input tables.

#include "store/BatchInput.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7 {

// What a requester may write in the lists, shown on the introduction page.
inline constexpr const char* kBatchCallLineFormat = "CALL;call;comment (optional)";
inline constexpr const char* kBatchQsoLineFormat = "QSO ;call;date;time;band;mode";

// Lists larger than this are not a request list but something else picked by mistake.
inline constexpr std::size_t kBatchMaxBytes = 16u << 20;
inline constexpr std::size_t kBatchMaxLineLength = 4096;

struct BatchCallLine
{
    std::string call, comment;
};

struct BatchQsoLine
{
    std::string call, date, time, band, mode, comment;
};

// The lines of a list after the clean-up: trimmed, markup lines ("<...") dropped.
struct BatchImportList
{
    std::vector<std::string> lines;
    std::vector<BatchCallLine> calls;
    std::vector<BatchQsoLine> qsos;
    bool empty() const { return lines.empty(); }
};

std::optional<BatchCallLine> parseBatchCallLine(std::string_view line);
std::optional<BatchQsoLine> parseBatchQsoLine(std::string_view line);

// Splits UTF-8 text into lines (CR LF, LF or CR), cleans them up and sorts out the call
// and QSO lines. Text that is no list at all (binary, a line longer than
// kBatchMaxLineLength) gives nullopt and the reason in `error`.
std::optional<BatchImportList> parseBatchText(std::string_view text, std::string* error = nullptr);

// The raw bytes of a file or a web page: checked for being text at all, decoded
// (UTF-8, else Windows-1252) and parsed. An HTML page becomes its text lines first.
std::optional<BatchImportList> parseBatchBytes(std::string_view bytes, bool html,
                                               std::string* error = nullptr);

// Reads a list file. A missing or unreadable file gives nullopt and a message naming it.
std::optional<BatchImportList> readBatchFile(const std::string& path, std::string* error);

// The visible text of an HTML page, one line per block (paragraph, row, line break ...),
// tags removed and the common entities decoded.
std::string htmlToText(std::string_view html);
// Whether bytes look like an HTML page rather than a plain list.
bool looksLikeHtml(std::string_view bytes);

// Own calls are written into filter expressions: only letters, digits and "/" pass.
bool isValidOwnCall(std::string_view call);

struct BatchImportCounts
{
    int callsAdded = 0;
    int callsUpdated = 0;
    int callsKept = 0; // already printed: left as they are
    int qsosAdded = 0;
    int qsosIgnored = 0; // duplicates and QSOs of calls without a request
};

// Imports the list for own call `own` ("" for every log). A table error ends the pass
// it happens in; the other pass still runs. The tables are left unfiltered.
BatchImportCounts importBatchList(BatchInput& batch, const BatchImportList& list,
                                  const std::string& own);

} // namespace qx7
