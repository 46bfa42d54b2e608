#pragma once
// A table's production index: the tags, their keys (read from the .mdx on demand while
// the table is only read, in memory once it is written), and keeping the .mdx on disk
// honest. The .dbf is the source of truth: an .mdx that is missing, damaged, marked
// dirty by a session that never finished, or stamped for another state of the table is
// rebuilt from the records. A writable table writes its .mdx back whole at flush and
// close; before its first change it marks the file on disk dirty and clears the table's
// production-index flag, so a crash at any point leaves an index that the next open
// recognises as stale and that other dBase programs do not use.

#include "dbase/DbfFile_p.h"
#include "dbase/KeyList_p.h"
#include "dbase/MdxFile_p.h"
#include "dbase/Schema.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx7::dbase::detail {

struct Tag
{
    std::string name;
    std::string expression;
    std::vector<std::size_t> fields; // the character fields joined by the expression
    std::vector<std::size_t> ends;   // where each field ends in the key
    std::size_t keyLength = 0;
    bool supported = false;
    std::optional<std::size_t> onDisk; // entry in the .mdx tag table, while it is trusted
    std::unique_ptr<KeyList> keys;     // null until loaded
};

// Whether a table file carries the extension its production index belongs to.
bool isDbfExtension(const std::filesystem::path& path);

class IndexSet
{
public:
    // Reads the .mdx beside the table (if any) and decides whether it can be trusted.
    // `required` tags missing from it are added. A writable table gets a stale or missing
    // index rebuilt and written at once; a read-only one rebuilds in memory when asked.
    void open(DbfFile& dbf, const std::string& table, const std::vector<IndexDef>& required);
    void close(); // writes back (see writeBack) and forgets everything

    std::size_t count() const { return m_tags.size(); }
    const Tag& tag(std::size_t i) const { return m_tags[i]; }
    std::optional<std::size_t> find(std::string_view name) const;
    std::vector<IndexInfo> describe() const;
    bool hasUnsupported() const;

    // The tag's keys, loaded from the .mdx or rebuilt from the table on first use. A tag
    // read from a trusted .mdx stays there: the list reads its leaves when asked.
    const KeyList& keys(std::size_t i);
    void makeKey(const Tag& t, const char* record, char* out) const;
    // The length a search key of `length` bytes is padded to: the end of the field in
    // which it stops (see Table.h, ranges).
    std::size_t paddedLength(const Tag& t, std::size_t length) const;

    // Call before the first change to the table's records.
    void beforeWrite();
    void recordAppended(std::uint32_t recno, const char* record);
    void recordChanged(std::uint32_t recno, const char* before, const char* after);
    void reloadAll(); // after the records were rewritten (pack)

    void add(const IndexDef& def);
    void drop(std::string_view name);
    // Writes the .mdx whole when keys changed since it was last written.
    void writeBack();

    static std::filesystem::path mdxPath(const std::filesystem::path& dbf);

private:
    Tag resolve(const IndexDef& def) const;
    void rebuild(const std::vector<std::size_t>& which);
    void loadFromMdx(std::size_t i, bool lazily);
    void loadAll();
    void markDirtyOnDisk();
    void writeFile(const std::function<void(const MdxSink&)>& build);
    void syncProductionFlags();
    std::vector<bool> ownTags() const;
    void restamp(const FileStamp& dbf);
    bool mdxTrusted(const MdxInfo& info) const;

    DbfFile* m_dbf = nullptr;
    std::string m_table;
    std::filesystem::path m_mdxPath;
    // The file as opened, while some trusted tag is not loaded yet (lazy tags keep their
    // own reference).
    std::shared_ptr<const MdxReader> m_mdxFile;
    MdxInfo m_mdx;
    std::vector<Tag> m_tags;
    bool m_changed = false;     // keys differ from the file on disk
    bool m_markedDirty = false; // the file on disk carries the dirty marker
    // N.mdx belongs to N.dbf. A table kept under another extension (a log's descriptor
    // "N.qx7" beside its "N.dbf") leaves that file alone unless it asks for tags itself.
    bool m_foreignMdx = false;
};

} // namespace qx7::dbase::detail
