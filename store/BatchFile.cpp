#include "store/BatchFile.h"

#include "core/Text.h"
#include "dbase/Error.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace qx7 {

namespace {

constexpr std::string_view kCallMarker = "CALL;";
constexpr std::string_view kQsoMarker = "QSO ;";

// Cuts the next ";"-ended field off `rest`; nullopt when no ";" follows.
std::optional<std::string> takeField(std::string_view& rest)
{
    const auto semi = rest.find(';');
    if (semi == std::string_view::npos)
        return std::nullopt;
    std::string field = trimmed(rest.substr(0, semi));
    rest.remove_prefix(semi + 1);
    return field;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// Binary files (pictures, archives, word-processor files) hold NUL bytes or many other
// control characters; a list never does.
bool looksBinary(std::string_view bytes)
{
    const std::string_view head = bytes.substr(0, 65536);
    size_t controls = 0;
    for (const char c : head) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0)
            return true;
        if (u < 32 && c != '\t' && c != '\r' && c != '\n' && c != '\f')
            ++controls;
    }
    return controls * 20 > head.size();
}

void appendUtf8(std::string& out, unsigned long code)
{
    if (code == 0 || code > 0x10FFFF)
        return;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes the entity at html[i] ("&...;") into out; returns the characters consumed.
size_t decodeEntity(std::string_view html, size_t i, std::string& out)
{
    const auto semi = html.find(';', i);
    if (semi == std::string_view::npos || semi - i > 10) {
        out += '&';
        return 1;
    }
    const std::string name(html.substr(i + 1, semi - i - 1));
    static const std::pair<const char*, const char*> named[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}};
    for (const auto& [n, v] : named)
        if (name == n) {
            out += v;
            return semi - i + 1;
        }
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string digits = name.substr(hex ? 2 : 1);
        if (!digits.empty() && std::all_of(digits.begin(), digits.end(), [hex](char c) {
                return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                           : std::isdigit(static_cast<unsigned char>(c)) != 0;
            })) {
            appendUtf8(out, std::stoul(digits, nullptr, hex ? 16 : 10));
            return semi - i + 1;
        }
    }
    out += '&';
    return 1;
}

std::string lowerAscii(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

} // namespace

std::optional<BatchCallLine> parseBatchCallLine(std::string_view line)
{
    const auto at = line.find(kCallMarker);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = line.substr(at + kCallMarker.size());
    auto call = takeField(rest);
    if (!call)
        return std::nullopt; // no ";" after the call: not a request
    return BatchCallLine{toUpperAscii(*call), trimmed(rest)};
}

std::optional<BatchQsoLine> parseBatchQsoLine(std::string_view line)
{
    const auto at = line.find(kQsoMarker);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = line.substr(at + kQsoMarker.size());
    BatchQsoLine q;
    for (std::string* field : {&q.call, &q.date, &q.time, &q.band}) {
        auto value = takeField(rest);
        if (!value)
            return std::nullopt;
        *field = std::move(*value);
    }
    q.call = toUpperAscii(q.call);
    q.date = toUpperAscii(q.date);
    q.time = toUpperAscii(q.time);
    if (auto mode = takeField(rest)) {
        q.mode = std::move(*mode);
        q.comment = trimmed(rest);
    } else {
        q.mode = trimmed(rest);
    }
    return q;
}

std::optional<BatchImportList> parseBatchText(std::string_view text, std::string* error)
{
    BatchImportList list;
    size_t lineNumber = 0;
    size_t pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        pos = 3;
    while (pos < text.size()) {
        const auto end = text.find_first_of("\r\n", pos);
        const std::string_view raw =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        ++lineNumber;
        if (raw.size() > kBatchMaxLineLength) {
            if (error)
                *error = "Line " + std::to_string(lineNumber) + " is longer than " +
                         std::to_string(kBatchMaxLineLength) +
                         " characters: this is not a QSL request list.";
            return std::nullopt;
        }
        if (end == std::string_view::npos)
            pos = text.size();
        else
            pos = end +
                  ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        std::string line = trimmed(raw);
        if (line.empty() || line[0] == '<')
            continue;
        if (line.find(kCallMarker) != std::string::npos) {
            if (auto c = parseBatchCallLine(line))
                list.calls.push_back(std::move(*c));
        } else if (line.find(kQsoMarker) != std::string::npos) {
            if (auto q = parseBatchQsoLine(line))
                list.qsos.push_back(std::move(*q));
        }
        list.lines.push_back(std::move(line));
    }
    return list;
}

bool looksLikeHtml(std::string_view bytes)
{
    size_t i = 0;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        i = 3;
    while (i < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[i])))
        ++i;
    const std::string_view head = bytes.substr(i, 512);
    return startsWithNoCase(head, "<!doctype html") || startsWithNoCase(head, "<html") ||
           startsWithNoCase(head, "<head") || startsWithNoCase(head, "<body");
}

std::string htmlToText(std::string_view html)
{
    static const char* const blocks[] = {
        "br",    "p",   "div", "tr", "li", "h1", "h2", "h3", "h4",    "h5",   "h6",
        "table", "pre", "ul",  "ol", "dl", "dt", "dd", "hr", "title", "body", "blockquote"};
    std::string out;
    out.reserve(html.size());
    size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '&') {
            i += decodeEntity(html, i, out);
            continue;
        }
        if (c != '<') {
            out += c;
            ++i;
            continue;
        }
        if (html.substr(i, 4) == "<!--") {
            const auto close = html.find("-->", i + 4);
            i = close == std::string_view::npos ? html.size() : close + 3;
            continue;
        }
        const auto close = html.find('>', i);
        if (close == std::string_view::npos)
            break; // a cut-off tag ends the page
        std::string_view tag = html.substr(i + 1, close - i - 1);
        i = close + 1;
        const bool closing = !tag.empty() && tag[0] == '/';
        if (closing)
            tag.remove_prefix(1);
        const auto nameEnd = tag.find_first_of(" \t\r\n/");
        const std::string name = lowerAscii(tag.substr(0, nameEnd));
        if (!closing && (name == "script" || name == "style")) {
            // Their content is no text of the page.
            const auto endTag = lowerAscii(html.substr(i)).find("</" + name);
            i = endTag == std::string::npos ? html.size() : i + endTag;
            continue;
        }
        if (std::find(std::begin(blocks), std::end(blocks), name) != std::end(blocks))
            out += '\n';
        else if (name == "td" || name == "th")
            out += ' ';
    }
    return out;
}

std::optional<BatchImportList> parseBatchBytes(std::string_view bytes, bool html,
                                               std::string* error)
{
    if (bytes.size() > kBatchMaxBytes) {
        if (error)
            *error = "The list is larger than " + std::to_string(kBatchMaxBytes >> 20) +
                     " MB: this is not a QSL request list.";
        return std::nullopt;
    }
    if (looksBinary(bytes)) {
        if (error)
            *error = "This is not a text file: a QSL request list holds lines of text.";
        return std::nullopt;
    }
    const std::string text = toUtf8Guessing(bytes);
    if (html || looksLikeHtml(text))
        return parseBatchText(htmlToText(text), error);
    return parseBatchText(text, error);
}

std::optional<BatchImportList> readBatchFile(const std::string& path, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = "The file " + path + " cannot be read.";
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::streamoff>(in.tellg());
    if (size < 0 || static_cast<std::size_t>(size) > kBatchMaxBytes) {
        if (error)
            *error = "The file " + path + " is larger than " +
                     std::to_string(kBatchMaxBytes >> 20) + " MB: this is not a QSL request list.";
        return std::nullopt;
    }
    in.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), size);
    if (!in) {
        if (error)
            *error = "The file " + path + " cannot be read.";
        return std::nullopt;
    }
    std::string why;
    auto list = parseBatchBytes(bytes, false, &why);
    if (!list && error)
        *error = path + ": " + why;
    return list;
}

bool isValidOwnCall(std::string_view call)
{
    return call.size() <= 16 && std::all_of(call.begin(), call.end(), [](char c) {
               return std::isalnum(static_cast<unsigned char>(c)) || c == '/';
           });
}

BatchImportCounts importBatchList(BatchInput& batch, const BatchImportList& list,
                                  const std::string& own)
{
    BatchImportCounts counts;
    dbase::Table& stations = batch.BatchInputTable1();
    dbase::Table& qsos = batch.BatchInputTable2();
    batch.FilterBatchTables(own);
    try {
        for (const BatchCallLine& c : list.calls) {
            if (c.call.empty())
                continue;
            if (stations.findKey(c.call)) {
                if (stations.text("STATUS") == "2")
                    ++counts.callsKept;
                else
                    ++counts.callsUpdated;
            } else {
                ++counts.callsAdded;
            }
            batch.AddBatchStation(own, c.call, "0", c.comment);
        }
    } catch (const dbase::Error&) {
        // The pass ends here; what was stored stays.
    }
    try {
        for (const BatchQsoLine& q : list.qsos) {
            if (q.call.empty())
                continue;
            const auto before = qsos.recordCount();
            batch.AddBatchQSO(own, q.call, "0", q.comment, q.mode, q.band, q.time, q.date);
            if (qsos.recordCount() > before)
                ++counts.qsosAdded;
            else
                ++counts.qsosIgnored;
        }
    } catch (const dbase::Error&) {
    }
    batch.FilterBatchTables("");
    return counts;
}

} // namespace qx7
