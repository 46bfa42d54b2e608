#pragma once
// A dBase table with its production index: the engine's one public class.
//
// Files. A table N is "N.dbf" (records), "N.mdx" (production index, dBase IV format,
// 1024-byte blocks) and, for foreign tables with memo fields, "N.dbt" or "N.fpt".
// New tables are dBase level 4 (default), 5 or 7 with language driver DBWINUS0
// (Windows-1252) and C and L fields. Existing tables of dBase III, IV, 5, 7, FoxPro 2
// and Visual FoxPro open for reading; fields C N F L D M T I Y B read as text.
//
// The .dbf is the source of truth. On open the .mdx is checked against the table
// (a dirty marker written before the first change of a session and cleared when the
// index is written back, plus the record count, size and modification time of the .dbf
// recorded in the .mdx header's unused bytes, plus a structural check of every node
// read). A missing, damaged or stale index is rebuilt without asking: on disk at once
// for writable opens, in memory only for read-only ones. A tag read from a trusted .mdx
// stays in the file, checked whole when first used and then read a leaf at a time; keys
// come into memory once the table is written, and the .mdx is then written whole at
// flush() and close().
//
// Durability. post() returns after the record and the header's record count have been
// written to the file, so a killed process loses nothing posted. An appended record's
// flag byte is written last: until then readers that stop at the end mark and readers
// that trust the count agree that it is not there. Data reach the disk (fdatasync) at
// flush() and close(), not per post. While the .mdx lags behind the records, the
// header's production-index flag (byte 28) is cleared, so other dBase programs ignore
// it; it is set again once the index is written back whole.
//
// Locking. Every open takes an advisory lock on the .dbf: shared for ReadOnly and
// Shared, exclusive for Exclusive. A Shared (writable) open also holds the table's
// writer lock until it closes, so one process at a time writes a table; writable opens
// inside one process share it. Opening fails with Error::Kind::InUse when a lock
// conflicts; read-only opens elsewhere go on while a table is written.
//
// Text. Values cross this interface as UTF-8. New tables store Windows-1252 (DBWINUS0);
// foreign tables keep the code page their ".cpg" file or language driver byte names
// (see TableCodePage.h), both for reading and for writing; one that is not known here
// is read as Windows-1252 and codePageKnown() says so. Widths count the table's bytes;
// a longer value is cut, never in the middle of a character, and characters the code
// page lacks are stored as '?'.
//
// Errors. Every failure throws qx7::dbase::Error (see Error.h), which names the table,
// the operation and the cause; damaged files throw Kind::Damaged with the place found.
// Calls on a closed table throw Kind::Invalid.
//
// Cursor. The table has one current record, visited in the order of the current index
// (or physical order when none). Deleted records are hidden from navigation, as with
// dBase's SET DELETED ON, unless setShowDeleted(true). Moving while editing posts the
// edit first (as a grid does when the user leaves a row); close() cancels it.
//
// Search keys (ranges, findKey, findNearest) are text for the leading part of the index
// key. A key is converted to Windows-1252 and padded with spaces to the end of the field
// in which it stops; let L be that length. A record's key matches when its first L bytes
// compare (as unsigned bytes) against the padded key. So on a tag CALL (C16),
// the range ["DL1ABC", "DL1ABC"] holds exactly the records whose CALL is "DL1ABC"; on
// DATE+TIME (C8 + C4) the range ["20240101", "20240131"] holds every time on those days,
// and ["202401011200", "202401011259"] one hour. An empty key is unbounded.

#include "dbase/Error.h"
#include "dbase/Schema.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7::dbase {

namespace detail {
struct TableData;
}

// The engine's version as the program checks it at start-up: 500 means 5.00.
int engineVersion();
// True when `version` is new enough for the program (5.00, i.e. 500, or above).
bool checkEngineVersion(int version);

// A remembered record; valid for the table it came from while that table is open
// (pack() renumbers records and so invalidates bookmarks).
struct Bookmark
{
    std::uint32_t recno = 0;
    bool isValid() const { return recno != 0; }
};

enum class TableEvent
{
    DataChanged,  // records were added, changed or deleted, or the visible set changed
    Scrolled,     // the current record moved
    StateChanged, // edit, insert, browse
    Closing       // the table is about to close; drop references to it
};

class Table
{
public:
    enum class State
    {
        Closed,
        Browse,
        Edit,
        Insert
    };
    using Observer = std::function<void(Table&, TableEvent)>;
    using RecordFilter = std::function<bool(const Table&)>;

    Table();
    ~Table(); // closes; errors while closing are swallowed — call close() to see them
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // --- Files -------------------------------------------------------------------------
    // Writes an empty table and, when options.indexes is not empty, its .mdx. Throws
    // Invalid (bad names, widths, the table exists and !overwrite), Unsupported (types
    // other than C and L), InUse (overwriting a table that is open), Io.
    static void create(const std::filesystem::path& path, const std::vector<FieldDef>& fields,
                       const CreateOptions& options = {});
    // Deletes the .dbf, .mdx and memo file. Throws InUse when the table is open anywhere,
    // NotFound when there is no .dbf.
    static void remove(const std::filesystem::path& path);
    static bool exists(const std::filesystem::path& path);
    // True when another process writes the table (holds its writer lock) or has it open
    // exclusively; opens of this process do not count. False when the file is missing.
    static bool isWrittenElsewhere(const std::filesystem::path& path);

    // Throws NotFound, InUse (lock conflict), Damaged (the .dbf header is inconsistent;
    // a bad .mdx is rebuilt instead), Unsupported (a writable open of a table whose index
    // has tags this engine cannot maintain), Invalid (options.indexes unusable), Io.
    void open(const std::filesystem::path& path, const OpenOptions& options = {});
    // Cancels a pending edit, writes the index back if it changed, syncs, unlocks.
    void close();
    // Makes everything posted durable: fdatasync of the .dbf and an up-to-date .mdx.
    void flush();
    // Drops deleted records and rebuilds the index. Needs an Exclusive open. Written to
    // a new file that replaces the old one, so a crash leaves one or the other whole.
    void pack();

    bool isOpen() const;
    bool isReadOnly() const;
    bool isExclusive() const;
    State state() const;
    const std::filesystem::path& path() const;
    std::string name() const; // the file name without extension, as errors show it

    // --- Header ------------------------------------------------------------------------
    Format format() const;
    int level() const; // 3, 4 (also 5: the file does not tell them apart), 7; 0 for FoxPro
    std::uint8_t versionByte() const;
    Date lastUpdate() const;
    std::uint32_t recordCount() const; // records in the file, deleted ones included
    // Records not flagged deleted, whatever index, range or filter is set. Reads the file.
    std::uint32_t liveRecordCount() const;
    int headerLength() const;
    int recordLength() const;
    std::uint8_t languageDriverId() const;
    std::string languageDriverName() const; // level 7 header text, else from the LDID
    // The code page the text is read and written in, as iconv names it ("CP866").
    std::string codePage() const;
    // False when neither the .cpg file nor the language driver names a code page this
    // system converts; the text is then read as Windows-1252.
    bool codePageKnown() const;
    // Where the code page came from: "language driver", ".cpg file \"CP866\"", "none given".
    std::string codePageOrigin() const;

    // --- Fields ------------------------------------------------------------------------
    int fieldCount() const;
    const std::vector<FieldInfo>& fields() const;
    const FieldInfo& field(int index) const;                   // throws Invalid when out of range
    int fieldIndex(std::string_view name) const;               // throws NotFound
    std::optional<int> findField(std::string_view name) const; // case-insensitive

    // --- Indexes -----------------------------------------------------------------------
    std::vector<IndexInfo> indexes() const;
    // Orders navigation by the tag; "" for physical order. Cancels a range, keeps the
    // current record. Throws NotFound, Unsupported.
    void setIndex(std::string_view tag);
    std::string currentIndex() const; // "" in physical order
    // Adds a tag to the production index and writes the .mdx. Writable tables only.
    void addIndex(const IndexDef& def);
    void dropIndex(std::string_view tag);

    // --- Navigation --------------------------------------------------------------------
    void first();          // bof() becomes true
    void last();           // eof() becomes true
    void next();           // at the last record: stays, eof() becomes true
    void prior();          // at the first record: stays, bof() becomes true
    int moveBy(int count); // returns how far it moved (negative backwards)
    bool eof() const;
    bool bof() const;
    bool isEmpty() const;        // no visible record
    std::uint32_t recNo() const; // physical record number, 1-based; 0 when none

    // --- Values of the current record (or of the edit buffer while editing) -------------
    std::string
    text(int field) const; // see FieldCodec: C trimmed right, D "YYYYMMDD", L "T"/"F"/""
    std::string text(std::string_view field) const;
    bool boolean(int field) const;
    bool boolean(std::string_view field) const;
    // Only in Edit or Insert state (throws Invalid otherwise).
    void setText(int field, std::string_view utf8);
    void setText(std::string_view field, std::string_view utf8);
    void setBoolean(int field, bool value);
    void setBoolean(std::string_view field, bool value);
    bool isDeleted() const; // the current record carries the deletion flag

    // --- Editing -----------------------------------------------------------------------
    void edit();   // throws ReadOnly, Invalid when there is no current record
    void insert(); // dBase has no insertion point: insert() and append() both add at the end
    void append();
    // Writes the record (see Durability) and maintains every tag. A required field left
    // blank throws Invalid; whenever post throws, the pending edit or insert is dropped
    // and the table is back in Browse state.
    void post();
    void cancel();
    // Appends `count` records: fill(i) is called with the table in Insert state on a
    // blank record i, and sets its values (setText, setBoolean; nothing else). The
    // records go to the file in batches of about a megabyte, each written as post()
    // writes one (a killed process leaves every counted record whole), with no
    // notification per record: one DataChanged at the end. Afterwards the last new
    // record is current. When fill or a write throws, the batches written so far stay,
    // the rest is dropped and the table is back in Browse state.
    void appendMany(std::size_t count, const std::function<void(std::size_t)>& fill);
    // Flags the current record deleted (it stays in the file and the index until pack)
    // and moves to the next visible record, or the prior one at the end.
    void deleteRecord();
    void undeleteRecord();
    // The records flagged deleted, by record number ascending: read from the file on the
    // first call after open, then kept up by deleteRecord, undeleteRecord and pack.
    const std::vector<std::uint32_t>& deletedRecords();
    void setShowDeleted(bool show);
    bool showDeleted() const;

    // --- Ranges and search on the current index (see "Search keys" above) ---------------
    void setRangeStart(std::string_view key);
    void setRangeEnd(std::string_view key);
    void applyRange(); // goes to the first record in the range; throws Invalid without an index
    void cancelRange();
    void setRange(std::string_view start, std::string_view end); // start, end and apply
    bool hasRange() const;
    // Exact search: goes to the first visible record whose key matches and answers true;
    // otherwise answers false and stays.
    bool findKey(std::string_view key);
    // Goes to the first visible record whose key is not less than `key`; eof() when none.
    void findNearest(std::string_view key);

    // --- Bookmarks ---------------------------------------------------------------------
    Bookmark bookmark() const;
    // Returns to the record (even one now outside filter or range); false when it is gone.
    bool gotoBookmark(const Bookmark& mark);

    // --- Places in the index (for grids that show a large table page by page) ----------
    // The entries of the current index within the range are numbered from 0; records
    // that are deleted or fail a filter keep their numbers. Need a current index.
    std::uint32_t indexRangeCount() const;
    // The current record's number, or nothing without a current record or index.
    std::optional<std::uint32_t> indexRangePosition();
    // Goes to entry n of the range (whatever the filters say); false when there is none.
    bool gotoIndexRangePosition(std::uint32_t n);

    // --- Filters -----------------------------------------------------------------------
    // An expression of the forms FIELD = 'x', FIELD <> 'x' (also <, <=, >, >=), a logical
    // field alone, NOT, joined by AND / OR, with parentheses. FIELD = 'x' holds when the
    // field's value without trailing blanks equals x exactly (dBase would take x as a
    // prefix). "" removes the filter. Throws Invalid for bad syntax or unknown fields.
    void setFilter(std::string_view expression);
    std::string filter() const;
    // Called with the table positioned on each candidate record; empty to remove.
    void setRecordFilter(RecordFilter accept);

    // --- Master / detail ---------------------------------------------------------------
    // Restricts this table to the records whose current index key matches the value of
    // `masterField` in the master's current record (as the range [v, v]); re-applied
    // whenever the master scrolls or its data change, and this table goes to its first
    // record. Needs a current index here. The link ends with clearMasterLink(), when
    // either table closes, or when setIndex/cancelRange is called here.
    void setMasterLink(Table& master, std::string_view masterField);
    void clearMasterLink();

    // --- Notifications -----------------------------------------------------------------
    int addObserver(Observer observer); // returns an id for removeObserver
    void removeObserver(int id);
    // Nested; while suspended nothing is sent, and the outermost resume sends one
    // DataChanged when anything happened meanwhile.
    void suspendNotifications();
    void resumeNotifications();

private:
    friend class BatchCopy;
    std::unique_ptr<detail::TableData> d;

    void requireOpen(const char* operation) const;
    void notify(TableEvent event);
    void checkBrowseMode();
    void writePending();
    void checkRequired(const char* operation) const;
    void afterMove();
    void applyMasterValue();
    std::string encodeSearchKey(std::string_view key, std::size_t& length) const;
};

} // namespace qx7::dbase
