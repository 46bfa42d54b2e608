// Fuzzes the readers of files users bring: the .dbf header and records, the .mdx header
// and tag trees, and memo files. The first byte picks the reader; the rest is the file.
// Every input must end in a value or an Error, never a crash or a sanitizer report.

#include "dbase/DbfHeader_p.h"
#include "dbase/Error.h"
#include "dbase/FieldCodec_p.h"
#include "dbase/KeyList_p.h"
#include "dbase/MdxFile_p.h"
#include "dbase/MemoFile_p.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace qx7::dbase;

namespace {

void fuzzDbf(std::string_view file)
{
    const detail::DbfHeader h = detail::parseDbfHeader(file, file.size(), "fuzz");
    for (std::uint32_t r = 0; r < h.recordCount && r < 64; ++r) {
        const char* rec =
            file.data() + h.headerLength + static_cast<std::size_t>(r) * h.recordLength;
        for (std::size_t f = 0; f < h.fields.size(); ++f) {
            try {
                detail::decodeField(h, f, rec, nullptr, "fuzz");
                detail::decodeBool(h.fields[f], rec);
            } catch (const Error&) {
                // memo fields without a memo file
            }
        }
    }
}

void fuzzMdx(std::string_view file, std::uint32_t records)
{
    const detail::MdxInfo info = detail::parseMdxHeader(file, "fuzz");
    for (const detail::MdxTagInfo& tag : info.tags) {
        detail::KeyList keys(tag.keyLength);
        try {
            detail::loadMdxTag(file, tag, records, keys, "fuzz");
        } catch (const Error& e) {
            if (!e.isDamaged()) {
                throw;
            }
        }
    }
}

void fuzzMemo(std::string_view file, std::uint8_t selector)
{
    const detail::MemoKind kinds[] = {detail::MemoKind::Dbt3, detail::MemoKind::Dbt4,
                                      detail::MemoKind::Fpt};
    for (std::uint32_t block = 0; block < 8; ++block) {
        try {
            detail::MemoFile::readFrom(file, kinds[selector % 3], block + selector / 3u, "fuzz");
        } catch (const Error&) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const std::string_view file(reinterpret_cast<const char*>(data + 2), size - 2);
    try {
        switch (data[0] % 3) {
        case 0:
            fuzzDbf(file);
            break;
        case 1:
            fuzzMdx(file, 1u + data[1] * 16u);
            break;
        default:
            fuzzMemo(file, data[1]);
            break;
        }
    } catch (const Error&) {
    }
    return 0;
}
