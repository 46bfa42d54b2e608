#include "dbase/Table.h"

#include "dbase/Bytes_p.h"
#include "dbase/FieldCodec_p.h"
#include "dbase/MdxFile_p.h"
#include "dbase/TableData_p.h"
#include "dbase/TempFiles.h"
#include "dbase/WriterLock_p.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qx7::dbase {

using detail::TableData;

namespace {

std::string tableName(const std::filesystem::path& path)
{
    return path.stem().string();
}

std::string upper(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

} // namespace

int engineVersion()
{
    return 500;
}

bool checkEngineVersion(int version)
{
    return version >= 500;
}

Table::Table() : d(std::make_unique<TableData>()) {}

Table::~Table()
{
    try {
        close();
    } catch (...) {
        // nobody to tell in a destructor; callers who care call close()
    }
}

void Table::requireOpen(const char* operation) const
{
    if (d->state == State::Closed) {
        throw Error(Error::Kind::Invalid, d->name, operation, "the table is not open");
    }
}

// --- Files -----------------------------------------------------------------------------

void Table::create(const std::filesystem::path& path, const std::vector<FieldDef>& fields,
                   const CreateOptions& options)
{
    const std::string table = tableName(path);
    const std::vector<FieldDef> defs = detail::validateFieldDefs(fields, options.level, table);
    std::vector<bool> ownTag(defs.size(), false);
    for (const IndexDef& ix : options.indexes) {
        for (std::size_t i = 0; i < defs.size(); ++i) {
            if (upper(ix.name) == defs[i].name &&
                (ix.expression.empty() || upper(ix.expression) == defs[i].name)) {
                ownTag[i] = true;
            }
        }
    }
    const std::string header = detail::buildDbfHeader(options.level, defs, ownTag,
                                                      !options.indexes.empty(), detail::today());
    std::error_code ec;
    auto mdx = path;
    mdx.replace_extension(".mdx");
    if (!options.overwrite && std::filesystem::exists(path, ec)) {
        throw Error(Error::Kind::Invalid, table, "create", "the table already exists");
    }
    detail::DbfFile::create(path, header, options.overwrite, table);
    if (!options.indexes.empty() || detail::isDbfExtension(path))
        std::filesystem::remove(mdx, ec); // a stale index of a replaced table must go
    if (!options.indexes.empty()) {
        // Opening once lets the index set write a correct, empty .mdx with its stamp;
        // a tag it cannot build takes the new table away again.
        try {
            Table t;
            t.open(path, OpenOptions{OpenMode::Exclusive, options.indexes});
            t.close();
        } catch (...) {
            std::filesystem::remove(path, ec);
            std::filesystem::remove(mdx, ec);
            throw;
        }
    }
}

void Table::remove(const std::filesystem::path& path)
{
    const std::string table = tableName(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw Error(errno == ENOENT ? Error::Kind::NotFound : Error::Kind::Io, table,
                    "delete table", std::strerror(errno));
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        throw Error(Error::Kind::InUse, table, "delete table", "the table is in use");
    }
    std::error_code ec;
    for (const char* ext : {".mdx", ".MDX", ".dbt", ".DBT", ".fpt", ".FPT"}) {
        auto p = path;
        p.replace_extension(ext);
        std::filesystem::remove(p, ec);
    }
    const bool ok = ::unlink(path.c_str()) == 0;
    const int err = errno;
    ::close(fd);
    if (!ok) {
        throw Error(Error::Kind::Io, table, "delete table", std::strerror(err));
    }
}

bool Table::isWrittenElsewhere(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool inUse = detail::WriterLock::heldElsewhere(fd);
    if (!inUse && ::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        inUse = errno == EWOULDBLOCK;
    }
    ::close(fd); // drops the shared lock taken above
    return inUse;
}

bool Table::exists(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

void Table::open(const std::filesystem::path& path, const OpenOptions& options)
{
    close();
    d->path = path;
    d->name = tableName(path);
    d->dbf.open(path, options.mode, d->name);
    try {
        d->indexes.open(d->dbf, d->name, options.indexes);
    } catch (...) {
        d->dbf.close();
        throw;
    }
    d->cursor.attach(&d->dbf, &d->indexes);
    d->buffer.assign(d->dbf.header().recordLength, ' ');
    const auto& fields = d->dbf.header().fields;
    d->anyRequired =
        std::any_of(fields.begin(), fields.end(), [](const FieldInfo& f) { return f.required; });
    d->requiredFields.clear();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].required) {
            d->requiredFields.push_back(i);
        }
    }
    d->state = State::Browse;
    d->cursor.first();
}

void Table::close()
{
    if (d->state == State::Closed) {
        return;
    }
    notify(TableEvent::Closing);
    clearMasterLink();
    d->state = State::Closed; // a pending edit is dropped
    d->deleted.reset();
    d->recordFilter = nullptr;
    d->filterText.clear();
    d->rangeStart.clear();
    d->rangeEnd.clear();
    try {
        d->indexes.close();
    } catch (...) {
        d->dbf.close();
        throw;
    }
    d->dbf.close();
}

void Table::flush()
{
    requireOpen("flush");
    d->dbf.sync();
    d->indexes.writeBack();
}

void Table::pack()
{
    requireOpen("pack");
    checkBrowseMode();
    if (!isExclusive()) {
        throw Error(Error::Kind::Invalid, d->name, "pack", "the table must be opened exclusively");
    }
    const detail::DbfHeader& h = d->dbf.header();
    const auto temp = tempPathFor(d->path);
    const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw Error(Error::Kind::Io, d->name, "pack", std::strerror(errno));
    }
    std::string out(h.headerLength, '\0');
    const int src = ::open(d->path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool headerRead =
        src >= 0 && ::pread(src, out.data(), out.size(), 0) == static_cast<ssize_t>(out.size());
    if (src >= 0) {
        ::close(src);
    }
    std::uint32_t kept = 0;
    std::vector<char> rec(h.recordLength);
    for (std::uint32_t r = 1; r <= d->dbf.recordCount(); ++r) {
        d->dbf.readRecord(r, rec.data());
        if (rec[0] != '*') {
            out.append(rec.data(), rec.size());
            ++kept;
        }
    }
    out.push_back(0x1A);
    detail::putU32le(out.data() + 4, kept);
    const Date t = detail::today();
    out[1] = static_cast<char>(t.year - 1900);
    out[2] = static_cast<char>(t.month);
    out[3] = static_cast<char>(t.day);
    const bool written = headerRead &&
                         ::write(fd, out.data(), out.size()) == static_cast<ssize_t>(out.size()) &&
                         ::fdatasync(fd) == 0 && ::rename(temp.c_str(), d->path.c_str()) == 0;
    if (!written) {
        const int err = errno;
        ::close(fd);
        std::error_code ec;
        std::filesystem::remove(temp, ec);
        throw Error(Error::Kind::Io, d->name, "pack", std::strerror(err));
    }
    // The new file is already locked by `fd`; hand that descriptor over so no other
    // process can slip in between.
    d->indexes.close();
    d->dbf.close();
    d->deleted = std::vector<std::uint32_t>{};
    d->dbf.open(d->path, OpenMode::Exclusive, d->name, fd);
    d->indexes.open(d->dbf, d->name, {});
    d->indexes.reloadAll();
    d->indexes.writeBack();
    const auto order = d->cursor.order();
    d->cursor.attach(&d->dbf, &d->indexes);
    d->cursor.setOrder(order);
    d->rangeStart.clear();
    d->rangeEnd.clear();
    setFilter(d->filterText);
    d->cursor.first();
    notify(TableEvent::DataChanged);
}

bool Table::isOpen() const
{
    return d->state != State::Closed;
}

bool Table::isReadOnly() const
{
    return isOpen() && d->dbf.readOnly();
}

bool Table::isExclusive() const
{
    return isOpen() && d->dbf.mode() == OpenMode::Exclusive;
}

Table::State Table::state() const
{
    return d->state;
}

const std::filesystem::path& Table::path() const
{
    return d->path;
}

std::string Table::name() const
{
    return d->name;
}

// --- Header ------------------------------------------------------------------------------

Format Table::format() const
{
    requireOpen("read header");
    return d->dbf.header().format;
}

int Table::level() const
{
    requireOpen("read header");
    return d->dbf.header().level;
}

std::uint8_t Table::versionByte() const
{
    requireOpen("read header");
    return d->dbf.header().version;
}

Date Table::lastUpdate() const
{
    requireOpen("read header");
    return d->dbf.header().lastUpdate;
}

std::uint32_t Table::recordCount() const
{
    requireOpen("read header");
    return d->dbf.recordCount();
}

std::uint32_t Table::liveRecordCount() const
{
    requireOpen("count records");
    constexpr std::uint32_t kChunk = 256;
    const std::uint32_t total = d->dbf.recordCount();
    const std::size_t length = d->dbf.header().recordLength;
    std::vector<char> chunk(length * kChunk);
    std::uint32_t live = 0;
    for (std::uint32_t first = 1; first <= total; first += kChunk) {
        const std::uint32_t n = std::min(kChunk, total - first + 1);
        d->dbf.readRecords(first, n, chunk.data());
        for (std::uint32_t i = 0; i < n; ++i) {
            live += chunk[i * length] != '*' ? 1 : 0;
        }
    }
    return live;
}

int Table::headerLength() const
{
    requireOpen("read header");
    return d->dbf.header().headerLength;
}

int Table::recordLength() const
{
    requireOpen("read header");
    return d->dbf.header().recordLength;
}

std::uint8_t Table::languageDriverId() const
{
    requireOpen("read header");
    return d->dbf.header().ldid;
}

std::string Table::languageDriverName() const
{
    requireOpen("read header");
    const detail::DbfHeader& h = d->dbf.header();
    if (!h.languageDriver.empty()) {
        return h.languageDriver;
    }
    if (h.ldid == 0) {
        return "";
    }
    const LanguageDriver* driver = languageDriver(h.ldid);
    if (driver != nullptr) {
        return driver->description;
    }
    static const char* digits = "0123456789ABCDEF";
    return std::string("unknown LDID 0x") + digits[h.ldid >> 4] + digits[h.ldid & 15];
}

std::string Table::codePage() const
{
    requireOpen("read header");
    return d->dbf.header().codePage.name();
}

bool Table::codePageKnown() const
{
    requireOpen("read header");
    return d->dbf.header().codePageKnown;
}

std::string Table::codePageOrigin() const
{
    requireOpen("read header");
    return d->dbf.header().codePageOrigin;
}

// --- Fields ------------------------------------------------------------------------------

int Table::fieldCount() const
{
    requireOpen("read fields");
    return static_cast<int>(d->dbf.header().fields.size());
}

const std::vector<FieldInfo>& Table::fields() const
{
    requireOpen("read fields");
    return d->dbf.header().fields;
}

const FieldInfo& Table::field(int index) const
{
    requireOpen("read fields");
    const auto& f = d->dbf.header().fields;
    if (index < 0 || static_cast<std::size_t>(index) >= f.size()) {
        throw Error(Error::Kind::Invalid, d->name, "read field",
                    "field number " + std::to_string(index) + " does not exist");
    }
    return f[static_cast<std::size_t>(index)];
}

std::optional<int> Table::findField(std::string_view name) const
{
    requireOpen("find field");
    // Names are stored in capitals and callers mostly ask in capitals: try that first,
    // without building strings; this runs for every field access by name.
    const auto& f = d->dbf.header().fields;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i].name == name) {
            return static_cast<int>(i);
        }
    }
    const auto sameIgnoringCase = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t k = 0; k < a.size(); ++k) {
            if (std::toupper(static_cast<unsigned char>(a[k])) !=
                std::toupper(static_cast<unsigned char>(b[k]))) {
                return false;
            }
        }
        return true;
    };
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (sameIgnoringCase(f[i].name, name)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

int Table::fieldIndex(std::string_view name) const
{
    const auto i = findField(name);
    if (!i) {
        throw Error(Error::Kind::NotFound, d->name, "find field", "no field " + std::string(name));
    }
    return *i;
}

// --- Values ------------------------------------------------------------------------------

std::string Table::text(int index) const
{
    field(index);
    const bool editing = d->state == State::Edit || d->state == State::Insert;
    const char* rec = editing ? d->buffer.data() : d->cursor.record().data();
    if (!editing && !d->cursor.hasRecord()) {
        return {};
    }
    return detail::decodeField(d->dbf.header(), static_cast<std::size_t>(index), rec, d->dbf.memo(),
                               d->name);
}

std::string Table::text(std::string_view name) const
{
    return text(fieldIndex(name));
}

bool Table::boolean(int index) const
{
    const FieldInfo& f = field(index);
    const bool editing = d->state == State::Edit || d->state == State::Insert;
    if (!editing && !d->cursor.hasRecord()) {
        return false;
    }
    return detail::decodeBool(f, editing ? d->buffer.data() : d->cursor.record().data());
}

bool Table::boolean(std::string_view name) const
{
    return boolean(fieldIndex(name));
}

void Table::setText(int index, std::string_view utf8)
{
    // Called for every field of every record appended in bulk: an editing table is
    // open, so only the field number is left to check.
    const bool editing = d->state == State::Edit || d->state == State::Insert;
    const detail::DbfHeader* h = editing ? &d->dbf.header() : nullptr;
    if (!editing || index < 0 || static_cast<std::size_t>(index) >= h->fields.size()) {
        field(index); // a closed table or a wrong number is reported as before
        if (!editing) {
            throw Error(Error::Kind::Invalid, d->name, "set field",
                        "the table is not being edited");
        }
    }
    detail::encodeField(*h, static_cast<std::size_t>(index), d->buffer.data(), utf8, d->name);
}

void Table::setText(std::string_view name, std::string_view utf8)
{
    setText(fieldIndex(name), utf8);
}

void Table::setBoolean(int index, bool value)
{
    field(index);
    if (d->state != State::Edit && d->state != State::Insert) {
        throw Error(Error::Kind::Invalid, d->name, "set field", "the table is not being edited");
    }
    detail::encodeBool(d->dbf.header(), static_cast<std::size_t>(index), d->buffer.data(), value,
                       d->name);
}

void Table::setBoolean(std::string_view name, bool value)
{
    setBoolean(fieldIndex(name), value);
}

bool Table::isDeleted() const
{
    requireOpen("read record");
    if (d->state == State::Edit || d->state == State::Insert) {
        return d->buffer[0] == '*';
    }
    return d->cursor.recno() != 0 && d->cursor.record()[0] == '*';
}

// --- Editing -----------------------------------------------------------------------------

void Table::edit()
{
    requireOpen("edit");
    if (d->state == State::Edit || d->state == State::Insert) {
        return;
    }
    if (d->dbf.readOnly()) {
        throw Error(Error::Kind::ReadOnly, d->name, "edit", "the table is open read-only");
    }
    if (d->cursor.recno() == 0) {
        throw Error(Error::Kind::Invalid, d->name, "edit", "there is no current record");
    }
    d->cursor.reload(); // edit what is in the file now
    d->buffer = d->cursor.record();
    d->state = State::Edit;
    notify(TableEvent::StateChanged);
}

void Table::insert()
{
    append();
}

void Table::append()
{
    requireOpen("append");
    checkBrowseMode();
    if (d->dbf.readOnly()) {
        throw Error(Error::Kind::ReadOnly, d->name, "append", "the table is open read-only");
    }
    detail::blankRecord(d->dbf.header(), d->buffer.data());
    d->state = State::Insert;
    notify(TableEvent::StateChanged);
}

void Table::post()
{
    requireOpen("post");
    if (d->state != State::Edit && d->state != State::Insert) {
        return;
    }
    try {
        writePending();
    } catch (...) {
        // A record that cannot be written is dropped: left open, it would make every
        // later move (which posts first) fail again.
        d->state = State::Browse;
        try {
            d->cursor.reload();
        } catch (...) { // the write's error is the one to report
        }
        notify(TableEvent::StateChanged);
        throw;
    }
}

void Table::checkRequired(const char* operation) const
{
    const detail::DbfHeader& h = d->dbf.header();
    for (const std::size_t i : d->requiredFields) {
        if (detail::rawField(h.fields[i], d->buffer.data()).empty()) {
            throw Error(Error::Kind::Invalid, d->name, operation,
                        "field " + h.fields[i].name + " needs a value");
        }
    }
}

void Table::appendMany(std::size_t count, const std::function<void(std::size_t)>& fill)
{
    requireOpen("append");
    checkBrowseMode();
    if (d->dbf.readOnly()) {
        throw Error(Error::Kind::ReadOnly, d->name, "append", "the table is open read-only");
    }
    if (count == 0) {
        return;
    }
    d->indexes.beforeWrite();
    const std::size_t length = d->dbf.header().recordLength;
    const std::size_t perBatch =
        std::max<std::size_t>(1, detail::DbfFile::kMaxAppendBatchBytes / length);
    std::vector<char> batch(std::min(perBatch, count) * length + 1);
    // Every record starts as the same blank one, made once.
    std::vector<char> blank(length);
    detail::blankRecord(d->dbf.header(), blank.data());
    std::size_t inBatch = 0;
    std::uint32_t last = 0;
    // An empty table has its index built once at the end, by sorting: far quicker than
    // inserting a key per record. Otherwise keys are added once their records are in the
    // file, so that a failed write never leaves the index pointing past the table.
    const bool buildAtEnd = d->dbf.recordCount() == 0 && d->indexes.count() > 0;
    const auto writeBatch = [&] {
        const std::uint32_t first =
            d->dbf.appendRecords(batch.data(), static_cast<std::uint32_t>(inBatch));
        for (std::size_t k = 0; k < inBatch && !buildAtEnd; ++k)
            d->indexes.recordAppended(first + static_cast<std::uint32_t>(k),
                                      batch.data() + k * length);
        last = first + static_cast<std::uint32_t>(inBatch) - 1;
        inBatch = 0;
    };
    try {
        for (std::size_t i = 0; i < count; ++i) {
            std::memcpy(d->buffer.data(), blank.data(), length);
            d->state = State::Insert;
            fill(i);
            checkRequired("append");
            std::memcpy(batch.data() + inBatch * length, d->buffer.data(), length);
            if (++inBatch == perBatch)
                writeBatch();
        }
        if (inBatch > 0)
            writeBatch();
        if (buildAtEnd)
            d->indexes.reloadAll();
    } catch (...) {
        d->state = State::Browse;
        try {
            if (buildAtEnd)
                d->indexes.reloadAll();
            d->cursor.reload();
        } catch (...) { // the first error is the one to report
        }
        notify(TableEvent::DataChanged);
        throw;
    }
    d->state = State::Browse;
    d->cursor.gotoWritten(last, d->buffer);
    notify(TableEvent::DataChanged);
}

void Table::writePending()
{
    checkRequired("post");
    d->indexes.beforeWrite();
    std::uint32_t recno = d->cursor.recno();
    if (d->state == State::Insert) {
        recno = d->dbf.appendRecord(d->buffer.data());
        d->indexes.recordAppended(recno, d->buffer.data());
    } else {
        std::vector<char> before(d->dbf.header().recordLength);
        d->dbf.readRecord(recno, before.data());
        d->dbf.writeRecord(recno, d->buffer.data());
        d->indexes.recordChanged(recno, before.data(), d->buffer.data());
    }
    d->state = State::Browse;
    d->cursor.gotoWritten(recno, d->buffer);
    notify(TableEvent::StateChanged);
    notify(TableEvent::DataChanged);
}

void Table::cancel()
{
    requireOpen("cancel");
    if (d->state != State::Edit && d->state != State::Insert) {
        return;
    }
    d->state = State::Browse;
    d->cursor.reload();
    notify(TableEvent::StateChanged);
}

void Table::checkBrowseMode()
{
    if (d->state == State::Edit || d->state == State::Insert) {
        post();
    }
}

void Table::deleteRecord()
{
    requireOpen("delete record");
    if (d->state == State::Insert) {
        cancel();
        return;
    }
    d->state = State::Browse;
    if (d->cursor.recno() == 0) {
        throw Error(Error::Kind::Invalid, d->name, "delete record", "there is no current record");
    }
    d->indexes.beforeWrite();
    std::vector<char> rec = d->cursor.record();
    d->dbf.readRecord(d->cursor.recno(), rec.data());
    rec[0] = '*';
    const std::uint32_t recno = d->cursor.recno();
    d->dbf.writeRecord(recno, rec.data());
    if (d->deleted) {
        auto at = std::lower_bound(d->deleted->begin(), d->deleted->end(), recno);
        if (at == d->deleted->end() || *at != recno) {
            d->deleted->insert(at, recno);
        }
    }
    d->cursor.reload();
    d->cursor.stepOffDeleted();
    notify(TableEvent::DataChanged);
}

void Table::undeleteRecord()
{
    requireOpen("recall record");
    checkBrowseMode();
    if (d->cursor.recno() == 0) {
        throw Error(Error::Kind::Invalid, d->name, "recall record", "there is no current record");
    }
    d->indexes.beforeWrite();
    std::vector<char> rec = d->cursor.record();
    rec[0] = ' ';
    const std::uint32_t recno = d->cursor.recno();
    d->dbf.writeRecord(recno, rec.data());
    if (d->deleted) {
        auto at = std::lower_bound(d->deleted->begin(), d->deleted->end(), recno);
        if (at != d->deleted->end() && *at == recno) {
            d->deleted->erase(at);
        }
    }
    d->cursor.reload();
    notify(TableEvent::DataChanged);
}

const std::vector<std::uint32_t>& Table::deletedRecords()
{
    requireOpen("list deleted records");
    if (!d->deleted) {
        constexpr std::uint32_t kChunk = 4096;
        const std::uint32_t total = d->dbf.recordCount();
        const std::size_t length = d->dbf.header().recordLength;
        std::vector<char> chunk(length * kChunk);
        std::vector<std::uint32_t> found;
        for (std::uint32_t first = 1; first <= total; first += kChunk) {
            const std::uint32_t n = std::min(kChunk, total - first + 1);
            d->dbf.readRecords(first, n, chunk.data());
            for (std::uint32_t i = 0; i < n; ++i) {
                if (chunk[i * length] == '*') {
                    found.push_back(first + i);
                }
            }
        }
        d->deleted = std::move(found);
    }
    return *d->deleted;
}

void Table::setShowDeleted(bool show)
{
    requireOpen("show deleted");
    d->cursor.setShowDeleted(show);
}

bool Table::showDeleted() const
{
    return d->cursor.showDeleted();
}

} // namespace qx7::dbase
