#include "dbase/EntrySort_p.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qx7::dbase::detail {

namespace {

// Below this many entries the setup of the byte counts costs more than it saves.
constexpr std::size_t kFewEntries = 64;

void sortFew(std::string& entries, std::size_t width, std::size_t keyLength)
{
    const std::size_t n = entries.size() / width;
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::memcmp(&entries[a * width], &entries[b * width], keyLength) < 0;
    });
    std::string out(entries.size(), '\0');
    for (std::size_t i = 0; i < n; ++i) {
        std::memcpy(&out[i * width], &entries[order[i] * width], width);
    }
    entries.swap(out);
}

} // namespace

// A least-significant-byte-first radix sort: one stable distribution pass per key byte,
// from the last byte to the first, so that the final order is by the whole key and equal
// keys stay in their order of arrival. The counts of every byte position are taken in one
// read of the entries; a position where all entries hold the same byte needs no pass,
// which spares the padding at the end of most keys and the constant parts of dates.
// Unlike a comparison sort its work grows linearly with the number of entries.
void sortEntriesByKey(std::string& entries, std::size_t width, std::size_t keyLength)
{
    const std::size_t n = width == 0 ? 0 : entries.size() / width;
    if (n < 2 || keyLength == 0) {
        return;
    }
    if (n < kFewEntries) {
        sortFew(entries, width, keyLength);
        return;
    }
    std::vector<std::uint32_t> counts(keyLength * 256, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const auto* e = reinterpret_cast<const unsigned char*>(&entries[i * width]);
        std::uint32_t* c = counts.data();
        for (std::size_t b = 0; b < keyLength; ++b, c += 256) {
            ++c[e[b]];
        }
    }
    std::string spare(entries.size(), '\0');
    std::string* from = &entries;
    std::string* to = &spare;
    std::vector<std::size_t> next(256);
    for (std::size_t b = keyLength; b-- > 0;) {
        const std::uint32_t* c = &counts[b * 256];
        if (std::find(c, c + 256, static_cast<std::uint32_t>(n)) != c + 256) {
            continue; // every entry has the same byte here
        }
        std::size_t at = 0;
        for (std::size_t v = 0; v < 256; ++v) {
            next[v] = at * width;
            at += c[v];
        }
        const char* src = from->data();
        char* dst = to->data();
        for (std::size_t i = 0; i < n; ++i, src += width) {
            std::size_t& place = next[static_cast<unsigned char>(src[b])];
            std::memcpy(dst + place, src, width);
            place += width;
        }
        std::swap(from, to);
    }
    if (from != &entries) {
        entries.swap(spare);
    }
}

} // namespace qx7::dbase::detail
