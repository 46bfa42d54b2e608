#include "dbase/TableCodePage.h"

#include "dbase/Codepage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace qx7::dbase {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Every id whose code page is documented; where a country has a primary and a secondary
// DOS driver, both are here.
struct LdidEntry
{
    std::uint8_t id;
    LanguageDriver driver;
};
constexpr LdidEntry kDrivers[] = {
    {0x01, {"CP437", "U.S. MS-DOS"}},
    {0x02, {"CP850", "International MS-DOS"}},
    {0x03, {"WINDOWS-1252", "Windows ANSI"}},
    {0x04, {"MACINTOSH", "Standard Macintosh"}},
    {0x08, {"CP865", "Danish OEM"}},
    {0x09, {"CP437", "Dutch OEM"}},
    {0x0A, {"CP850", "Dutch OEM (secondary)"}},
    {0x0B, {"CP437", "Finnish OEM"}},
    {0x0D, {"CP437", "French OEM"}},
    {0x0E, {"CP850", "French OEM (secondary)"}},
    {0x0F, {"CP437", "German OEM"}},
    {0x10, {"CP850", "German OEM (secondary)"}},
    {0x11, {"CP437", "Italian OEM"}},
    {0x12, {"CP850", "Italian OEM (secondary)"}},
    {0x13, {"CP932", "Japanese Shift-JIS"}},
    {0x14, {"CP850", "Spanish OEM (secondary)"}},
    {0x15, {"CP437", "Swedish OEM"}},
    {0x16, {"CP850", "Swedish OEM (secondary)"}},
    {0x17, {"CP865", "Norwegian OEM"}},
    {0x18, {"CP437", "Spanish OEM"}},
    {0x19, {"CP437", "English OEM (Britain)"}},
    {0x1A, {"CP850", "English OEM (Britain) (secondary)"}},
    {0x1B, {"CP437", "English OEM (U.S.)"}},
    {0x1C, {"CP863", "French OEM (Canada)"}},
    {0x1D, {"CP850", "French OEM (secondary)"}},
    {0x1F, {"CP852", "Czech OEM"}},
    {0x22, {"CP852", "Hungarian OEM"}},
    {0x23, {"CP852", "Polish OEM"}},
    {0x24, {"CP860", "Portuguese OEM"}},
    {0x25, {"CP850", "Portuguese OEM (secondary)"}},
    {0x26, {"CP866", "Russian OEM"}},
    {0x37, {"CP850", "English OEM (U.S.) (secondary)"}},
    {0x40, {"CP852", "Romanian OEM"}},
    {0x4D, {"CP936", "Chinese GBK (PRC)"}},
    {0x4E, {"CP949", "Korean (ANSI/OEM)"}},
    {0x4F, {"CP950", "Chinese Big 5 (Taiwan)"}},
    {0x50, {"CP874", "Thai (ANSI/OEM)"}},
    {0x57, {"WINDOWS-1252", "DBWINUS0"}},
    {0x58, {"WINDOWS-1252", "Western European ANSI"}},
    {0x59, {"WINDOWS-1252", "Spanish ANSI"}},
    {0x64, {"CP852", "Eastern European MS-DOS"}},
    {0x65, {"CP866", "Russian MS-DOS"}},
    {0x66, {"CP865", "Nordic MS-DOS"}},
    {0x67, {"CP861", "Icelandic MS-DOS"}},
    {0x6A, {"CP737", "Greek MS-DOS (437G)"}},
    {0x6B, {"CP857", "Turkish MS-DOS"}},
    {0x6C, {"CP863", "French-Canadian MS-DOS"}},
    {0x78, {"CP950", "Traditional Chinese Windows"}},
    {0x79, {"CP949", "Korean Windows"}},
    {0x7A, {"CP936", "Chinese Simplified Windows"}},
    {0x7B, {"CP932", "Japanese Windows"}},
    {0x7C, {"CP874", "Thai Windows"}},
    {0x7D, {"WINDOWS-1255", "Hebrew Windows"}},
    {0x7E, {"WINDOWS-1256", "Arabic Windows"}},
    {0x86, {"CP737", "Greek OEM"}},
    {0x87, {"CP852", "Slovenian OEM"}},
    {0x88, {"CP857", "Turkish OEM"}},
    {0x96, {"MAC-CYRILLIC", "Russian Macintosh"}},
    {0x97, {"MAC-CENTRALEUROPE", "Macintosh EE"}},
    {0xC8, {"WINDOWS-1250", "Eastern European Windows"}},
    {0xC9, {"WINDOWS-1251", "Russian Windows"}},
    {0xCA, {"WINDOWS-1254", "Turkish Windows"}},
    {0xCB, {"WINDOWS-1253", "Greek Windows"}},
    {0xCC, {"WINDOWS-1257", "Baltic Windows"}},
};

std::string upperAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// Runs iconv over all of `in`; false when it stopped early. `consumed` says how far.
bool convert(iconv_t cd, std::string_view in, std::string& out, std::size_t& consumed)
{
    char buf[256];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    bool ok = true;
    while (left > 0) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        const std::size_t r = ::iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    if (ok) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        ::iconv(cd, nullptr, nullptr, &dst, &room); // the closing shift sequence, if any
        out.append(buf, static_cast<std::size_t>(dst - buf));
    }
    consumed = in.size() - left;
    return ok;
}

} // namespace

struct CodePage::Converter
{
    std::string name;
    bool singleByte = true;
    std::array<std::string, 256> decode; // single-byte code pages: each byte's UTF-8
    std::unordered_map<std::string, char> encode;

    // Multi-byte code pages (the East Asian ones, UTF-8) convert through iconv per call.
    std::string decodeWide(std::string_view bytes) const
    {
        iconv_t cd = ::iconv_open("UTF-8", name.c_str());
        std::string out;
        while (!bytes.empty()) {
            std::size_t used = 0;
            if (convert(cd, bytes, out, used)) {
                break;
            }
            out += kReplacement; // skip one undecodable byte and go on
            bytes.remove_prefix(used + 1);
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        ::iconv_close(cd);
        return out;
    }

    std::string encodeWide(std::string_view utf8, std::size_t maxBytes) const
    {
        iconv_t cd = ::iconv_open(name.c_str(), "UTF-8");
        std::string out;
        std::size_t pos = 0;
        while (pos < utf8.size()) {
            std::size_t len = 1;
            const auto b = static_cast<unsigned char>(utf8[pos]);
            len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
            std::string piece;
            std::size_t used = 0;
            const std::string_view ch = utf8.substr(pos, len);
            if (len > ch.size() || !isValidUtf8(ch) || !convert(cd, ch, piece, used)) {
                piece = "?";
                ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
            }
            if (out.size() + piece.size() > maxBytes) {
                break;
            }
            out += piece;
            pos += len;
        }
        ::iconv_close(cd);
        return out;
    }
};

CodePage::CodePage() = default;

std::optional<CodePage> CodePage::named(std::string_view requested)
{
    const std::string name = upperAscii(requested);
    if (name == "WINDOWS-1252" || name == "CP1252") {
        return CodePage();
    }
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const Converter>> cache;
    std::lock_guard guard(mutex);
    if (const auto it = cache.find(name); it != cache.end()) {
        if (!it->second) {
            return std::nullopt;
        }
        CodePage cp;
        cp.m_converter = it->second;
        return cp;
    }
    iconv_t cd = ::iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        cache[name] = nullptr;
        return std::nullopt;
    }
    auto conv = std::make_shared<Converter>();
    conv->name = name;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::string out;
        std::size_t used = 0;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const bool ok = convert(cd, std::string_view(&byte, 1), out, used);
        if (!ok && errno == EINVAL) {
            conv->singleByte = false; // a lead byte waiting for more
            break;
        }
        conv->decode[static_cast<std::size_t>(b)] = ok ? out : std::string(kReplacement);
        if (ok && !out.empty()) {
            conv->encode.emplace(out, byte);
        }
    }
    ::iconv_close(cd);
    cache[name] = conv;
    CodePage cp;
    cp.m_converter = std::move(conv);
    return cp;
}

const std::string& CodePage::name() const
{
    static const std::string windows1252 = "WINDOWS-1252";
    return m_converter ? m_converter->name : windows1252;
}

bool CodePage::isWindows1252() const
{
    return !m_converter;
}

std::string CodePage::toUtf8(std::string_view bytes) const
{
    if (!m_converter) {
        return cp1252ToUtf8(bytes);
    }
    if (!m_converter->singleByte) {
        return m_converter->decodeWide(bytes);
    }
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        out += m_converter->decode[static_cast<unsigned char>(c)];
    }
    return out;
}

std::string CodePage::fromUtf8(std::string_view utf8, std::size_t maxBytes) const
{
    if (m_converter && !m_converter->singleByte) {
        return m_converter->encodeWide(utf8, maxBytes);
    }
    std::string out = m_converter ? std::string() : utf8ToCp1252(utf8);
    if (m_converter) {
        // Walk the characters: one byte each in a single-byte code page.
        std::size_t pos = 0;
        while (pos < utf8.size() && out.size() < maxBytes) {
            const auto b = static_cast<unsigned char>(utf8[pos]);
            std::size_t len = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 1;
            const std::string_view ch = utf8.substr(pos, len);
            const auto it = len <= ch.size() && isValidUtf8(ch)
                                ? m_converter->encode.find(std::string(ch))
                                : m_converter->encode.end();
            if (len > ch.size() || !isValidUtf8(ch)) {
                len = 1;
            }
            out.push_back(it != m_converter->encode.end() ? it->second : '?');
            pos += len;
        }
    }
    if (out.size() > maxBytes) {
        out.resize(maxBytes);
    }
    return out;
}

const LanguageDriver* languageDriver(std::uint8_t ldid)
{
    for (const LdidEntry& e : kDrivers) {
        if (e.id == ldid) {
            return &e.driver;
        }
    }
    return nullptr;
}

std::optional<std::string> cpgCodePageName(std::string_view text)
{
    std::string s = upperAscii(text);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.pop_back();
    }
    std::size_t start = 0;
    while (start < s.size() && std::isspace(static_cast<unsigned char>(s[start]))) {
        ++start;
    }
    s.erase(0, start);
    if (s.rfind("ANSI ", 0) == 0 || s.rfind("OEM ", 0) == 0) {
        s.erase(0, s.find(' ') + 1);
    }
    if (s.empty()) {
        return std::nullopt;
    }
    if (s == "UTF8") {
        return "UTF-8";
    }
    if (s.rfind("8859", 0) == 0 && s.size() > 4) {
        return "ISO-8859-" + s.substr(s.size() > 5 && s[4] == '-' ? 5 : 4);
    }
    if (std::all_of(s.begin(), s.end(),
                    [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return (s.size() == 4 && s[0] == '1' && s[1] == '2') ? "WINDOWS-" + s : "CP" + s;
    }
    return s;
}

} // namespace qx7::dbase
