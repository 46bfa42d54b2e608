#include "convert/readers/LineStream.h"

#include "convert/engine/LogTypes.h"
#include "convert/readers/LineLoader.h"
#include "core/Text.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace qx7 {

namespace {

size_t g_pieceBytes = 4 << 20;

struct FileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool isBreak(char c)
{
    return c == '\r' || c == '\n';
}

// Walks a file in parts that end at a line break (the last part: at the end of the
// file), so that no line is ever cut in two. `take` returns false to stop.
bool forEachPart(const std::string& path, const std::function<bool(std::string_view)>& take)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    // Pieces no larger than the file: a small log needs no buffer of a full piece.
    long long left = std::fseek(file.get(), 0, SEEK_END) == 0 ? std::ftell(file.get()) : -1;
    if (left < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return false;
    // Grown, never cleared: the bytes are read over at once.
    std::unique_ptr<char[]> buffer;
    size_t capacity = 0;
    size_t carried = 0; // bytes of an unfinished line at the front of the buffer
    while (true) {
        size_t want = std::max(g_pieceBytes, carried + 1);
        want = std::max<size_t>(1, std::min(want, static_cast<size_t>(left)));
        if (carried + want > capacity) {
            const size_t size = std::max(carried + want, 2 * capacity);
            auto grown = std::make_unique_for_overwrite<char[]>(size);
            if (carried > 0)
                std::memcpy(grown.get(), buffer.get(), carried);
            buffer = std::move(grown);
            capacity = size;
        }
        char* const data = buffer.get();
        const size_t got = std::fread(data + carried, 1, want, file.get());
        if (got < want && std::ferror(file.get()))
            return false;
        const size_t filled = carried + got;
        left = std::max(0LL, left - static_cast<long long>(got));
        if (got == 0) {
            return filled == 0 || take(std::string_view(data, filled));
        }
        size_t cut = filled;
        while (cut > carried && !isBreak(data[cut - 1]))
            --cut;
        if (cut == carried) {
            carried = filled; // no break in what came: the line goes on
            continue;
        }
        if (!take(std::string_view(data, cut)))
            return true;
        std::memmove(data, data + cut, filled - cut);
        carried = filled - cut;
    }
}

} // namespace

void setLogStreamPieceBytes(size_t bytes)
{
    g_pieceBytes = bytes > 0 ? bytes : 1;
}

bool ScanLogFile(TQXLogSpec& spec, LogFileScan& scan)
{
    scan = LogFileScan{};
    long long count = 0;
    std::string call;
    std::vector<std::string_view> lines;
    const bool ok = forEachPart(spec.FileName, [&](std::string_view part) {
        scan.utf8 = scan.utf8 && isLogTextUtf8(part);
        // A byte-order mark or a Windows-1252 character never makes or breaks a QSO:
        // the raw bytes count as the decoded text would.
        if (spec.LogType == LogType::Adif) { // ADIF needs no lines to count its records
            count += countAdifRecords(part);
            return true;
        }
        lines.clear();
        splitLines(part, lines);
        count += countLogLines(spec.LogType, lines, &call);
        return true;
    });
    if (!ok)
        return false;
    spec.LogSize = count;
    if (!call.empty())
        spec.CallSign = call;
    return true;
}

bool ReadLogLineBatches(const TQXLogSpec& spec, const LogFileScan& scan,
                        const LineBatchConsumer& consume)
{
    bool first = true;
    std::string decoded;
    std::vector<std::string_view> lines;
    return forEachPart(spec.FileName, [&](std::string_view part) {
        if (scan.utf8) {
            if (first && part.starts_with("\xEF\xBB\xBF"))
                part.remove_prefix(3);
        } else {
            decoded = cp1252ToUtf8(part);
            part = decoded;
        }
        first = false;
        lines.clear();
        splitLines(part, lines);
        return lines.empty() || consume(lines);
    });
}

} // namespace qx7
