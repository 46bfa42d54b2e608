#pragma once
// The production index file (.mdx, dBase IV multiple-index format): its header, its tag
// table and each tag's B-tree. Reading checks every structure it walks, because a
// damaged index must lead to a rebuild, never to wrong answers or a crash. Writing
// produces the whole file from the in-memory key lists. Layouts are in MdxFile.cpp.

#include "dbase/DbfFile_p.h"
#include "dbase/KeyList_p.h"
#include "dbase/Schema.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qx7::dbase::detail {

struct MdxTagInfo
{
    std::string name;
    std::string expression;
    char keyType = 'C';
    std::uint8_t keyFormat = 0x10;
    std::uint16_t keyLength = 0;
    std::uint16_t itemLength = 0;
    std::uint32_t headerPage = 0;
    std::uint32_t rootPage = 0;
    bool descending() const { return (keyFormat & 0x08) != 0; }
    bool unique() const { return (keyFormat & 0x40) != 0; }
};

// What we record in the header's unused bytes to tell whether the index still matches
// its table: a dirty marker set before the first write to the table and cleared when
// the index is written back, and the table's count, size and modification time.
struct MdxStamp
{
    bool present = false;
    bool dirty = false;
    std::uint32_t recordCount = 0;
    FileStamp dbf;
};

struct MdxInfo
{
    std::string dbfName;
    std::uint8_t ldid = 0;
    std::vector<MdxTagInfo> tags;
    MdxStamp stamp;
};

struct MdxTagSource
{
    std::string name;
    std::string expression;
    bool singleField = false;
    const KeyList* keys = nullptr;
};

inline constexpr std::size_t kMdxDirtyOffset = 53;
// Where the .dbf's size and modification time sit in the stamp (see MdxFile.cpp).
inline constexpr std::size_t kMdxStampOffset = 60;
inline constexpr std::size_t kMdxMaxTags = 47;
inline constexpr std::size_t kMdxMaxKeyLength = 100;

// Throws Error::Damaged when the header or tag table contradict the file.
MdxInfo parseMdxHeader(std::string_view file, const std::string& table);

// Walks the tag's tree into `out` (which must have the tag's key length). The entries
// must be in order and name every record 1..recordCount exactly once (dBase keeps
// deleted records indexed); anything else throws Error::Damaged.
void loadMdxTag(std::string_view file, const MdxTagInfo& tag, std::uint32_t recordCount,
                KeyList& out, const std::string& table);

// Receives the bytes of a file at their offset, in any order.
using MdxSink = std::function<void(std::uint64_t offset, std::string_view bytes)>;

// The whole .mdx, handed to `sink` a tag at a time (the header pages last), so that
// the file is never held whole.
void buildMdx(const std::string& dbfName, std::uint8_t ldid, const std::vector<MdxTagSource>& tags,
              const MdxStamp& stamp, Date today, const MdxSink& sink);
// The same as one string.
std::string buildMdx(const std::string& dbfName, std::uint8_t ldid,
                     const std::vector<MdxTagSource>& tags, const MdxStamp& stamp, Date today);

} // namespace qx7::dbase::detail
