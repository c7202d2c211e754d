// Big-endian stores and loads for the wire format. Every function takes a position and returns
// the position just after what it wrote or read, so encoders read like the byte layout.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace quorex::wire {

static_assert(std::endian::native == std::endian::little, "the codec assumes a little-endian host");

inline std::uint8_t* PutU16(std::uint8_t* p, std::uint16_t v) {
    v = __builtin_bswap16(v);
    std::memcpy(p, &v, 2);
    return p + 2;
}
inline std::uint8_t* PutU32(std::uint8_t* p, std::uint32_t v) {
    v = __builtin_bswap32(v);
    std::memcpy(p, &v, 4);
    return p + 4;
}
inline std::uint8_t* PutF64(std::uint8_t* p, double d) {
    std::uint64_t v = __builtin_bswap64(std::bit_cast<std::uint64_t>(d));
    std::memcpy(p, &v, 8);
    return p + 8;
}
inline std::uint8_t* PutBytes(std::uint8_t* p, const void* src, std::size_t n) {
    std::memcpy(p, src, n);
    return p + n;
}

inline std::uint16_t LoadU16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return __builtin_bswap16(v);
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return __builtin_bswap32(v);
}

template <class T>
inline const std::uint8_t* Get16(const std::uint8_t* p, T& out) {
    out = static_cast<T>(LoadU16(p));
    return p + 2;
}
template <class T>
inline const std::uint8_t* Get32(const std::uint8_t* p, T& out) {
    out = static_cast<T>(LoadU32(p));
    return p + 4;
}
inline const std::uint8_t* GetF64(const std::uint8_t* p, double& out) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    out = std::bit_cast<double>(__builtin_bswap64(v));
    return p + 8;
}
inline const std::uint8_t* GetBytes(const std::uint8_t* p, void* dst, std::size_t n) {
    std::memcpy(dst, p, n);
    return p + n;
}

}  // namespace quorex::wire
