#pragma once
// Plain descriptions that cross the engine's boundary: fields and index tags as the
// caller defines them, as a table reports them, and the options of open and create.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qx7::dbase {

// Field types are the dBase letters: C character, N numeric, F float, L logical, D date,
// M memo; FoxPro adds T datetime, I integer, Y currency, B double; level 7 adds
// '@' timestamp, '+' autoincrement and O double. New tables hold C and L only.
struct FieldDef
{
    std::string name; // up to 10 characters (31 at level 7); stored upper case
    char type = 'C';
    int width = 10;   // in the table's bytes; L is always 1
    int decimals = 0; // N and F only
    bool required = false;
};

struct FieldInfo
{
    std::string name;
    char type = 'C';
    int width = 0;
    int decimals = 0;
    int offset = 0;         // from the start of the record, after the deletion flag byte
    bool required = false;  // kept in a byte of the descriptor that dBase leaves unused
    bool nullable = false;  // Visual FoxPro
    bool hasOwnTag = false; // the header says a production tag covers this field
};

// A production index tag: a field name, or character fields joined by '+'
// ("DATE+TIME"). Names are up to 10 characters and stored upper case.
struct IndexDef
{
    std::string name;
    std::string expression;
};

struct IndexInfo
{
    std::string name;
    std::string expression;
    int keyLength = 0;
    char keyType = 'C';
    // False for tags this engine cannot evaluate (numeric or date keys, functions in the
    // expression, descending or unique tags written by other programs). Such tags cannot
    // be made current, and a table holding one opens read-only only.
    bool supported = true;
};

struct Date
{
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const Date&, const Date&) = default;
};

enum class Level
{
    DBase4 = 4,
    DBase5 = 5,
    DBase7 = 7
};

// What a table's version byte says it is.
enum class Format
{
    FoxBase,
    DBase3, // 0x03 without memo is shared by dBase III, IV, 5 and FoxPro 2
    DBase4, // dBase IV / 5 with memo, or an SQL table
    DBase7,
    FoxPro2, // FoxPro 2.x with memo
    VisualFoxPro
};

enum class OpenMode
{
    ReadOnly, // never writes any file; shared lock; a stale index is rebuilt in memory only
    Shared,   // read-write; shared lock (other shared and read-only opens may coexist)
    Exclusive // read-write; exclusive lock; required by pack()
};

struct OpenOptions
{
    OpenOptions(OpenMode m = OpenMode::Shared, std::vector<IndexDef> ix = {})
        : mode(m), indexes(std::move(ix))
    {}
    OpenMode mode;
    // Tags the caller relies on. Any that the .mdx lacks (or a missing .mdx) is built on
    // open, so a table whose index file was lost gets its expression tags back.
    std::vector<IndexDef> indexes;
};

struct CreateOptions
{
    CreateOptions(Level l = Level::DBase4, std::vector<IndexDef> ix = {}, bool replace = false)
        : level(l), indexes(std::move(ix)), overwrite(replace)
    {}
    Level level;
    std::vector<IndexDef> indexes; // written to the production .mdx with the table
    bool overwrite;                // replace an existing table of that name
};

} // namespace qx7::dbase
