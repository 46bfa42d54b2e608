#include "dbase/BatchCopy.h"

#include "dbase/FieldCodec_p.h"
#include "dbase/TableData_p.h"

#include <cstring>

namespace qx7::dbase {

namespace {

std::string trim(std::string_view s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) {
        return {};
    }
    const auto e = s.find_last_not_of(" \t\r");
    return std::string(s.substr(b, e - b + 1));
}

struct Link
{
    int target;
    int source;
    bool raw; // both character fields: bytes are copied without a code page trip
};

// Keeps both tables quiet and puts the source back where it was, however run() ends.
class Guard
{
public:
    Guard(Table& source, Table& target)
        : m_source(source), m_target(target), m_mark(source.bookmark())
    {
        source.suspendNotifications();
        target.suspendNotifications();
    }
    ~Guard()
    {
        try {
            if (m_target.state() == Table::State::Insert ||
                m_target.state() == Table::State::Edit) {
                m_target.cancel();
            }
            if (m_mark.isValid()) {
                m_source.gotoBookmark(m_mark);
            }
        } catch (...) {
            // the copy's own error, if any, is the one worth reporting
        }
        m_target.resumeNotifications();
        m_source.resumeNotifications();
    }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    Table& m_source;
    Table& m_target;
    Bookmark m_mark;
};

} // namespace

FieldMapping FieldMapping::parse(std::string_view text)
{
    FieldMapping m;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\n;", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string line = trim(text.substr(start, end - start));
        if (!line.empty()) {
            const auto eq = line.find('=');
            if (eq == std::string::npos) {
                throw Error(Error::Kind::Invalid, "", "parse field mapping",
                            "\"" + line + "\" is not TARGET=SOURCE");
            }
            m.pairs.emplace_back(trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
        }
        start = end + 1;
    }
    return m;
}

FieldMapping FieldMapping::sameNames(const Table& source, const Table& target)
{
    FieldMapping m;
    for (const FieldInfo& f : target.fields()) {
        if (source.findField(f.name)) {
            m.pairs.emplace_back(f.name, f.name);
        }
    }
    return m;
}

CopyResult BatchCopy::run(Table& source, Table& target, const FieldMapping& mapping, CopyMode mode,
                          const std::function<bool(std::size_t)>& progress)
{
    std::vector<Link> links;
    for (const auto& [to, from] : mapping.pairs) {
        const int t = target.fieldIndex(to);
        const int s = source.fieldIndex(from);
        links.push_back({t, s, target.field(t).type == 'C' && source.field(s).type == 'C'});
    }
    detail::TableData& td = *target.d;
    const detail::TableData& sd = *source.d;
    std::optional<std::size_t> tag;
    if (mode == CopyMode::AppendUpdate) {
        tag = td.cursor.order();
        if (!tag) {
            throw Error(Error::Kind::Invalid, target.name(), "copy records",
                        "updating needs a current index on the target");
        }
    }
    auto apply = [&] {
        for (const Link& l : links) {
            if (l.raw) {
                const FieldInfo& tf = td.dbf.header().fields[static_cast<std::size_t>(l.target)];
                const FieldInfo& sf = sd.dbf.header().fields[static_cast<std::size_t>(l.source)];
                const std::string_view v = detail::rawField(sf, sd.cursor.record().data());
                const std::size_t n = std::min(v.size(), static_cast<std::size_t>(tf.width));
                char* p = td.buffer.data() + tf.offset;
                std::memcpy(p, v.data(), n);
                std::memset(p + n, ' ', static_cast<std::size_t>(tf.width) - n);
            } else {
                target.setText(l.target, source.text(l.source));
            }
        }
    };
    Guard guard(source, target);
    CopyResult result;
    std::string key;
    std::vector<char> candidate;
    for (source.first(); !source.eof(); source.next()) {
        target.append();
        apply();
        std::uint32_t match = 0;
        if (tag) {
            const detail::Tag& t = td.indexes.tag(*tag);
            const detail::KeyList& keys = td.indexes.keys(*tag);
            key.assign(t.keyLength, ' ');
            td.indexes.makeKey(t, td.buffer.data(), key.data());
            candidate.resize(td.buffer.size());
            for (auto pos = keys.lowerBound(key.data(), key.size());
                 !keys.atEnd(pos) && std::memcmp(keys.entry(pos), key.data(), key.size()) == 0;
                 keys.next(pos)) {
                td.dbf.readRecord(keys.recno(pos), candidate.data());
                if (candidate[0] != '*') {
                    match = keys.recno(pos);
                    break;
                }
            }
        }
        if (match != 0) {
            target.cancel();
            td.cursor.gotoRecord(match);
            target.edit();
            apply();
            target.post();
            ++result.updated;
        } else {
            target.post();
            ++result.appended;
        }
        if (progress && !progress(result.appended + result.updated)) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

} // namespace qx7::dbase
