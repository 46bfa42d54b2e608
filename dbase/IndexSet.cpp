#include "dbase/IndexSet_p.h"

#include "dbase/Bytes_p.h"
#include "dbase/EntrySort_p.h"
#include "dbase/Error.h"
#include "dbase/TempFiles.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace qx7::dbase::detail {

namespace {

constexpr std::size_t kScanBytes = 4 * 1024 * 1024;

std::string upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::string normalisedExpression(const std::string& e)
{
    std::string out;
    for (char c : e) {
        if (c != ' ') {
            out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
    return out;
}

// Entries arrive in record order; the sort keeps equal keys in that order, so duplicates
// end up in record order, as dBase keeps them.
void sortIntoList(std::string& entries, KeyList& out)
{
    const std::size_t width = out.entryWidth();
    sortEntriesByKey(entries, width, out.keyLength());
    out.clear();
    for (std::size_t at = 0; at + width <= entries.size(); at += width) {
        out.appendSortedEntry(&entries[at]);
    }
}

} // namespace

std::filesystem::path IndexSet::mdxPath(const std::filesystem::path& dbf)
{
    auto lower = dbf;
    lower.replace_extension(".mdx");
    std::error_code ec;
    if (std::filesystem::exists(lower, ec)) {
        return lower;
    }
    auto upperCase = dbf;
    upperCase.replace_extension(".MDX");
    if (std::filesystem::exists(upperCase, ec)) {
        return upperCase;
    }
    return lower;
}

bool isDbfExtension(const std::filesystem::path& path)
{
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".dbf" || ext.empty();
}

void IndexSet::open(DbfFile& dbf, const std::string& table, const std::vector<IndexDef>& required)
{
    m_dbf = &dbf;
    m_table = table;
    m_tags.clear();
    m_changed = false;
    m_markedDirty = false;
    m_mdx = {};
    m_mdxPath = mdxPath(dbf.path());
    m_foreignMdx =
        !isDbfExtension(dbf.path()) && required.empty() && !dbf.header().hasProductionIndex();
    m_mdxFile.reset();
    if (!m_foreignMdx) {
        m_mdxFile = MdxReader::open(m_mdxPath);
    }
    const bool haveMdx = m_mdxFile && m_mdxFile->size() > 0;
    bool headerOk = false;
    if (haveMdx) {
        try {
            m_mdx = parseMdxHeader(*m_mdxFile, table);
            headerOk = true;
        } catch (const Error& e) {
            if (!e.isDamaged()) {
                throw;
            }
        }
    }
    const bool trusted = headerOk && mdxTrusted(m_mdx);
    if (headerOk) {
        for (std::size_t i = 0; i < m_mdx.tags.size(); ++i) {
            const MdxTagInfo& onDisk = m_mdx.tags[i];
            Tag t = resolve({onDisk.name, onDisk.expression});
            t.supported = t.supported && onDisk.keyType == 'C' && !onDisk.descending() &&
                          !onDisk.unique() && onDisk.keyLength == t.keyLength;
            if (!t.supported) {
                t.keyLength = onDisk.keyLength;
            }
            if (trusted && t.supported) {
                t.onDisk = i;
            }
            m_tags.push_back(std::move(t));
        }
    } else {
        // The index is lost: the header still says which fields had tags of their own.
        for (const FieldInfo& f : dbf.header().fields) {
            if (f.hasOwnTag) {
                m_tags.push_back(resolve({f.name, f.name}));
            }
        }
    }
    for (const IndexDef& def : required) {
        Tag t = resolve(def);
        if (!t.supported) {
            throw Error(Error::Kind::Invalid, table, "open",
                        "index " + def.name + " (" + def.expression + ") cannot be built");
        }
        const auto at = find(t.name);
        if (!at) {
            m_tags.push_back(std::move(t));
        } else if (normalisedExpression(m_tags[*at].expression) !=
                   normalisedExpression(t.expression)) {
            m_tags[*at] = std::move(t);
        }
    }
    if (dbf.readOnly()) {
        return;
    }
    if (hasUnsupported()) {
        throw Error(Error::Kind::Unsupported, table, "open",
                    "the index has tags this engine cannot maintain; open the table read-only");
    }
    const bool stale =
        std::any_of(m_tags.begin(), m_tags.end(), [](const Tag& t) { return !t.onDisk; });
    if (stale || (m_tags.empty() && haveMdx)) {
        loadAll();
        m_changed = true;
        writeBack();
    } else if (m_tags.empty()) {
        syncProductionFlags();
    }
}

bool IndexSet::mdxTrusted(const MdxInfo& info) const
{
    const std::string stem = upper(m_dbf->path().stem().string()).substr(0, 16);
    if (!info.dbfName.empty() && upper(info.dbfName) != stem) {
        return false; // the index belongs to another table
    }
    if (!info.stamp.present) {
        return true; // another program's index: trusted as far as loading it checks out
    }
    return !info.stamp.dirty && info.stamp.recordCount == m_dbf->recordCount() &&
           info.stamp.dbf == m_dbf->stamp();
}

void IndexSet::close()
{
    writeBack();
    m_tags.clear();
    m_mdxFile.reset();
    m_dbf = nullptr;
}

Tag IndexSet::resolve(const IndexDef& def) const
{
    Tag t;
    t.name = upper(def.name);
    t.expression = def.expression.empty() ? t.name : upper(def.expression);
    const auto& fields = m_dbf->header().fields;
    std::string rest = t.expression;
    t.supported = true;
    while (true) {
        const auto plus = rest.find('+');
        std::string part = rest.substr(0, plus);
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
        const auto it = std::find_if(fields.begin(), fields.end(),
                                     [&](const FieldInfo& f) { return upper(f.name) == part; });
        if (it == fields.end() || it->type != 'C') {
            t.supported = false;
            break;
        }
        t.fields.push_back(static_cast<std::size_t>(it - fields.begin()));
        t.keyLength += static_cast<std::size_t>(it->width);
        t.ends.push_back(t.keyLength);
        if (plus == std::string::npos) {
            break;
        }
        rest = rest.substr(plus + 1);
    }
    const bool nameOk = !t.name.empty() && t.name.size() <= 10 &&
                        std::all_of(t.name.begin(), t.name.end(),
                                    [](unsigned char c) { return std::isalnum(c) || c == '_'; });
    if (!nameOk || t.keyLength > kMdxMaxKeyLength) {
        t.supported = false;
    }
    if (!t.supported) {
        t.fields.clear();
        t.ends.clear();
    }
    return t;
}

std::optional<std::size_t> IndexSet::find(std::string_view name) const
{
    const std::string wanted = upper(std::string(name));
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        if (m_tags[i].name == wanted) {
            return i;
        }
    }
    return std::nullopt;
}

std::vector<IndexInfo> IndexSet::describe() const
{
    std::vector<IndexInfo> out;
    for (const Tag& t : m_tags) {
        out.push_back({t.name, t.expression, static_cast<int>(t.keyLength), 'C', t.supported});
    }
    return out;
}

bool IndexSet::hasUnsupported() const
{
    return std::any_of(m_tags.begin(), m_tags.end(), [](const Tag& t) { return !t.supported; });
}

void IndexSet::makeKey(const Tag& t, const char* record, char* out) const
{
    const auto& fields = m_dbf->header().fields;
    std::size_t at = 0;
    for (std::size_t f : t.fields) {
        const auto width = static_cast<std::size_t>(fields[f].width);
        std::memcpy(out + at, record + fields[f].offset, width);
        at += width;
    }
}

std::size_t IndexSet::paddedLength(const Tag& t, std::size_t length) const
{
    if (length == 0) {
        return 0;
    }
    for (std::size_t end : t.ends) {
        if (end >= length) {
            return end;
        }
    }
    return t.keyLength;
}

const KeyList& IndexSet::keys(std::size_t i)
{
    Tag& t = m_tags[i];
    if (t.keys) {
        return *t.keys;
    }
    if (!t.supported) {
        throw Error(Error::Kind::Unsupported, m_table, "use index " + t.name,
                    "the key expression \"" + t.expression + "\" is not supported");
    }
    if (t.onDisk) {
        loadFromMdx(i, true);
    }
    if (!t.keys) {
        rebuild({i});
    }
    const bool allLoaded =
        std::all_of(m_tags.begin(), m_tags.end(), [](const Tag& x) { return x.keys || !x.onDisk; });
    if (allLoaded) {
        m_mdxFile.reset();
    }
    return *t.keys;
}

void IndexSet::loadAll()
{
    std::vector<std::size_t> missing;
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        Tag& t = m_tags[i];
        if (t.keys && t.keys->isLazy()) {
            // Changes need every key in memory: read the rest of the leaves now.
            try {
                t.keys->materialize();
            } catch (const Error& e) {
                if (!e.isDamaged()) {
                    throw;
                }
                t.keys.reset();
                t.onDisk.reset();
                m_changed = true;
            }
        }
        if (!m_tags[i].keys && m_tags[i].onDisk) {
            loadFromMdx(i, false);
        }
        if (!m_tags[i].keys && m_tags[i].supported) {
            missing.push_back(i);
        }
    }
    rebuild(missing); // one pass over the records for every tag that needs it
    m_mdxFile.reset();
}

void IndexSet::loadFromMdx(std::size_t i, bool lazily)
{
    Tag& t = m_tags[i];
    auto list = std::make_unique<KeyList>(t.keyLength);
    try {
        if (!m_mdxFile) {
            throw Error(Error::Kind::Damaged, m_table, "read index", "the index file is gone");
        }
        const MdxTagInfo& info = m_mdx.tags[*t.onDisk];
        const std::uint32_t records = m_dbf->recordCount();
        if (!lazily || !openMdxTagLazily(m_mdxFile, info, records, *list, m_table)) {
            loadMdxTag(*m_mdxFile, info, records, *list, m_table);
        }
        t.keys = std::move(list);
    } catch (const Error& e) {
        if (!e.isDamaged()) {
            throw;
        }
        t.onDisk.reset(); // rebuilt by the caller; a writable table rewrites the file
        if (!m_dbf->readOnly()) {
            m_changed = true;
        }
    }
}

void IndexSet::rebuild(const std::vector<std::size_t>& which)
{
    if (which.empty()) {
        return;
    }
    const DbfHeader& h = m_dbf->header();
    const std::uint32_t total = m_dbf->recordCount();
    std::vector<std::string> entries(which.size());
    for (std::size_t k = 0; k < which.size(); ++k) {
        entries[k].resize(static_cast<std::size_t>(total) * (m_tags[which[k]].keyLength + 4));
    }
    const auto perRead =
        static_cast<std::uint32_t>(std::max<std::size_t>(1, kScanBytes / h.recordLength));
    std::vector<char> buffer(static_cast<std::size_t>(perRead) * h.recordLength);
    for (std::uint32_t first = 1; first <= total; first += perRead) {
        const std::uint32_t n = std::min(perRead, total - first + 1);
        m_dbf->readRecords(first, n, buffer.data());
        for (std::size_t k = 0; k < which.size(); ++k) {
            const Tag& t = m_tags[which[k]];
            const std::size_t width = t.keyLength + 4;
            for (std::uint32_t r = 0; r < n; ++r) {
                char* e = &entries[k][(first - 1 + r) * static_cast<std::size_t>(width)];
                makeKey(t, buffer.data() + static_cast<std::size_t>(r) * h.recordLength, e);
                putU32be(e + t.keyLength, first + r);
            }
        }
    }
    for (std::size_t k = 0; k < which.size(); ++k) {
        Tag& t = m_tags[which[k]];
        auto list = std::make_unique<KeyList>(t.keyLength);
        sortIntoList(entries[k], *list);
        std::string().swap(entries[k]);
        t.keys = std::move(list);
    }
}

void IndexSet::beforeWrite()
{
    if (m_dbf->readOnly()) {
        throw Error(Error::Kind::ReadOnly, m_table, "write", "the table is open read-only");
    }
    loadAll();
    if (!m_tags.empty()) {
        markDirtyOnDisk();
        m_changed = true;
    }
}

void IndexSet::markDirtyOnDisk()
{
    if (m_markedDirty) {
        return;
    }
    m_dbf->setIndexFlag(false);
    const int fd = ::open(m_mdxPath.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        m_markedDirty = true; // no file, nothing that could be mistaken for current
        return;
    }
    const char marker[6] = {'Q', 'X', '7', 'S', 1, 1};
    const bool ok = ::pwrite(fd, marker, sizeof marker, kMdxDirtyOffset - 5) == sizeof marker &&
                    ::fdatasync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok) {
        throw Error(Error::Kind::Io, m_table, "mark index", std::strerror(err));
    }
    m_markedDirty = true;
}

void IndexSet::recordAppended(std::uint32_t recno, const char* record)
{
    char key[kMdxMaxKeyLength];
    for (Tag& t : m_tags) {
        makeKey(t, record, key);
        t.keys->insert(key, recno);
    }
}

void IndexSet::recordChanged(std::uint32_t recno, const char* before, const char* after)
{
    char oldKey[kMdxMaxKeyLength];
    char newKey[kMdxMaxKeyLength];
    for (Tag& t : m_tags) {
        makeKey(t, before, oldKey);
        makeKey(t, after, newKey);
        if (std::memcmp(oldKey, newKey, t.keyLength) != 0) {
            t.keys->erase(oldKey, recno);
            t.keys->insert(newKey, recno);
        }
    }
}

void IndexSet::reloadAll()
{
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        m_tags[i].keys.reset();
        m_tags[i].onDisk.reset();
        all.push_back(i);
    }
    rebuild(all);
    m_changed = true;
}

void IndexSet::add(const IndexDef& def)
{
    Tag t = resolve(def);
    if (!t.supported) {
        throw Error(Error::Kind::Invalid, m_table, "add index " + def.name,
                    "the name or expression \"" + def.expression + "\" is not usable");
    }
    if (find(t.name)) {
        throw Error(Error::Kind::Invalid, m_table, "add index " + def.name, "the tag exists");
    }
    if (m_tags.size() >= kMdxMaxTags) {
        throw Error(Error::Kind::Invalid, m_table, "add index " + def.name, "47 tags at most");
    }
    beforeWrite();
    m_tags.push_back(std::move(t));
    rebuild({m_tags.size() - 1});
    m_changed = true;
    writeBack();
}

void IndexSet::drop(std::string_view name)
{
    const auto at = find(name);
    if (!at) {
        throw Error(Error::Kind::NotFound, m_table, "drop index " + std::string(name),
                    "no such tag");
    }
    beforeWrite();
    m_tags.erase(m_tags.begin() + static_cast<std::ptrdiff_t>(*at));
    m_changed = true;
    writeBack();
}

std::vector<bool> IndexSet::ownTags() const
{
    const auto& fields = m_dbf->header().fields;
    std::vector<bool> ownTag(fields.size(), false);
    for (const Tag& t : m_tags) {
        if (t.fields.size() == 1 && upper(fields[t.fields[0]].name) == t.name) {
            ownTag[t.fields[0]] = true;
        }
    }
    return ownTag;
}

void IndexSet::syncProductionFlags()
{
    m_dbf->setProductionIndex(!m_tags.empty(), ownTags());
}

void IndexSet::restamp(const FileStamp& dbf)
{
    // Byte 28 changed the table's time after the index was stamped. A kill before this
    // leaves a correct index with an old stamp, which the next open merely rebuilds.
    unsigned char b[20];
    putU64le(b, dbf.size);
    putU64le(b + 8, static_cast<std::uint64_t>(dbf.mtimeSec));
    putU32le(b + 16, dbf.mtimeNsec);
    const int fd = ::open(m_mdxPath.c_str(), O_WRONLY | O_CLOEXEC);
    const bool ok =
        fd >= 0 && ::pwrite(fd, b, sizeof b, kMdxStampOffset) == sizeof b && ::fdatasync(fd) == 0;
    const int err = errno;
    if (fd >= 0) {
        ::close(fd);
    }
    if (!ok) {
        throw Error(Error::Kind::Io, m_table, "write index", std::strerror(err));
    }
}

void IndexSet::writeBack()
{
    if (m_dbf == nullptr || m_dbf->readOnly() || (!m_changed && !m_markedDirty)) {
        return;
    }
    if (m_tags.empty()) {
        syncProductionFlags();
        std::error_code ec;
        if (!m_foreignMdx)
            std::filesystem::remove(m_mdxPath, ec);
        m_changed = m_markedDirty = false;
        return;
    }
    loadAll(); // the file is written from keys in memory, lazy tags' included
    std::vector<MdxTagSource> sources;
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        const Tag& t = m_tags[i];
        sources.push_back({t.name, t.expression, t.fields.size() == 1, &keys(i)});
    }
    // The .dbf says it has a production index only once the .mdx on disk is whole and
    // current: first the own-tag bytes, then the index file, then byte 28.
    const bool flagged = (m_dbf->header().tableFlags & 0x01) != 0;
    std::vector<bool> ownTag = ownTags();
    m_dbf->setProductionIndex(flagged, ownTag);
    m_dbf->sync(); // the stamp must describe the table as it is on disk
    MdxStamp stamp;
    stamp.present = true;
    stamp.recordCount = m_dbf->recordCount();
    stamp.dbf = m_dbf->stamp();
    writeFile([&](const MdxSink& sink) {
        buildMdx(m_dbf->path().stem().string(), m_dbf->header().ldid, sources, stamp, today(),
                 sink);
    });
    if (!flagged) {
        m_dbf->setIndexFlag(true);
        m_dbf->sync();
        restamp(m_dbf->stamp());
    }
    m_changed = m_markedDirty = false;
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        m_tags[i].onDisk = i;
    }
}

void IndexSet::writeFile(const std::function<void(const MdxSink&)>& build)
{
    // Written aside and renamed over, so the old index stays whole until the new one is.
    auto lower = m_dbf->path();
    lower.replace_extension(".mdx");
    const auto temp = tempPathFor(lower); // one per process: two writers never share it
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    int err = errno;
    if (ok) {
        try {
            build([&](std::uint64_t offset, std::string_view bytes) {
                std::size_t done = 0;
                while (ok && done < bytes.size()) {
                    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                               static_cast<off_t>(offset + done));
                    ok = n > 0 || (n < 0 && errno == EINTR);
                    err = ok ? err : errno;
                    done += n > 0 ? static_cast<std::size_t>(n) : 0;
                }
            });
        } catch (...) {
            ::close(fd);
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            throw;
        }
    }
    if (ok && ::fdatasync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    if (!ok || ::rename(temp.c_str(), lower.c_str()) != 0) {
        const int e = ok ? errno : err;
        std::error_code ec;
        std::filesystem::remove(temp, ec);
        throw Error(Error::Kind::Io, m_table, "write index", std::strerror(e));
    }
    if (m_mdxPath != lower) {
        std::error_code ec;
        std::filesystem::remove(m_mdxPath, ec); // an upper-case .MDX from elsewhere
        m_mdxPath = lower;
    }
    const int dir = ::open(lower.parent_path().empty() ? "." : lower.parent_path().c_str(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace qx7::dbase::detail
