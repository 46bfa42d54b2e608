#pragma once
// Little- and big-endian integers inside byte buffers; the file formats use both.

#include <cstdint>
#include <cstring>

namespace qx7::dbase::detail {

inline std::uint16_t getU16le(const void* p)
{
    const auto* b = static_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

inline std::uint32_t getU32le(const void* p)
{
    const auto* b = static_cast<const unsigned char*>(p);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

inline std::uint64_t getU64le(const void* p)
{
    const auto* b = static_cast<const unsigned char*>(p);
    return getU32le(b) | (static_cast<std::uint64_t>(getU32le(b + 4)) << 32);
}

inline std::uint32_t getU32be(const void* p)
{
    const auto* b = static_cast<const unsigned char*>(p);
    return (static_cast<std::uint32_t>(b[0]) << 24) | (static_cast<std::uint32_t>(b[1]) << 16) |
           (static_cast<std::uint32_t>(b[2]) << 8) | static_cast<std::uint32_t>(b[3]);
}

inline void putU16le(void* p, std::uint16_t v)
{
    auto* b = static_cast<unsigned char*>(p);
    b[0] = static_cast<unsigned char>(v);
    b[1] = static_cast<unsigned char>(v >> 8);
}

inline void putU32le(void* p, std::uint32_t v)
{
    auto* b = static_cast<unsigned char*>(p);
    for (int i = 0; i < 4; ++i) {
        b[i] = static_cast<unsigned char>(v >> (8 * i));
    }
}

inline void putU64le(void* p, std::uint64_t v)
{
    auto* b = static_cast<unsigned char*>(p);
    putU32le(b, static_cast<std::uint32_t>(v));
    putU32le(b + 4, static_cast<std::uint32_t>(v >> 32));
}

inline void putU32be(void* p, std::uint32_t v)
{
    auto* b = static_cast<unsigned char*>(p);
    for (int i = 0; i < 4; ++i) {
        b[i] = static_cast<unsigned char>(v >> (8 * (3 - i)));
    }
}

} // namespace qx7::dbase::detail
