// The MD5 message digest (RFC 1321), behind the public `PasswordDigest`.
//
// Thread contract: a CMd5 belongs to one thread at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorex {

class CMd5 {
public:
    using Digest = std::array<std::uint8_t, 16>;

    CMd5() = default;
    // Adds bytes to the message; may be called any number of times.
    void Update(const void* data, std::size_t size);
    // Pads the message and returns its digest; the object is then spent.
    Digest Final();

private:
    void Transform(const std::uint8_t* block);

    std::uint32_t m_state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    std::uint64_t m_length = 0;  // message length in bytes so far
    std::uint8_t m_buffer[64] = {};
};

}  // namespace quorex
