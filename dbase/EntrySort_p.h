#pragma once
// Ordering the fixed-width entries of an index tag (key bytes, then anything else) when a
// tag is built from scratch.

#include <cstddef>
#include <string>

namespace qx7::dbase::detail {

// Sorts the entries (each `width` bytes, packed in `entries`) by their first `keyLength`
// bytes compared as unsigned bytes, as memcmp does. Entries with equal keys keep their
// present order, so entries made in record order end up ordered by record number among
// equal keys, as dBase keeps them.
void sortEntriesByKey(std::string& entries, std::size_t width, std::size_t keyLength);

} // namespace qx7::dbase::detail
