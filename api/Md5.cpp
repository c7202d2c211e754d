// MD5 as RFC 1321 gives it: 64-byte blocks in four rounds of sixteen steps, little-endian words,
// padding with 0x80, zeros and the bit length.
#include "api/Md5.h"
#include "quorex/PasswordDigest.h"

#include <cstring>

namespace quorex {

namespace {

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

std::uint32_t RotateLeft(std::uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

std::uint32_t LoadLittleEndian(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

void CMd5::Update(const void* data, std::size_t size) {
    if (size == 0) return;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t used = static_cast<std::size_t>(m_length % 64);
    m_length += size;
    if (used > 0) {
        const std::size_t take = size < 64 - used ? size : 64 - used;
        std::memcpy(m_buffer + used, bytes, take);
        used += take;
        bytes += take;
        size -= take;
        if (used < 64) return;
        Transform(m_buffer);
    }
    for (; size >= 64; bytes += 64, size -= 64) Transform(bytes);
    if (size > 0) std::memcpy(m_buffer, bytes, size);
}

CMd5::Digest CMd5::Final() {
    const std::uint64_t bits = m_length * 8;
    std::uint8_t padding[72] = {0x80};
    const std::size_t used = static_cast<std::size_t>(m_length % 64);
    const std::size_t padLength = used < 56 ? 56 - used : 120 - used;
    for (int i = 0; i < 8; ++i) padding[padLength + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
    Update(padding, padLength + 8);
    Digest digest{};
    for (std::size_t word = 0; word < 4; ++word) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            digest[word * 4 + byte] = static_cast<std::uint8_t>(m_state[word] >> (8 * byte));
        }
    }
    return digest;
}

void CMd5::Transform(const std::uint8_t* block) {
    std::uint32_t words[16];
    for (std::size_t i = 0; i < 16; ++i) words[i] = LoadLittleEndian(block + 4 * i);
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    for (std::size_t step = 0; step < 64; ++step) {
        std::uint32_t mixed;
        std::size_t word;
        switch (step / 16) {
            case 0:
                mixed = (b & c) | (~b & d);
                word = step;
                break;
            case 1:
                mixed = (d & b) | (~d & c);
                word = (5 * step + 1) % 16;
                break;
            case 2:
                mixed = b ^ c ^ d;
                word = (3 * step + 5) % 16;
                break;
            default:
                mixed = c ^ (b | ~d);
                word = (7 * step) % 16;
                break;
        }
        const std::uint32_t next = b + RotateLeft(a + mixed + kSine[step] + words[word], kShift[step]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

std::string PasswordDigest(std::string_view password) {
    CMd5 md5;
    md5.Update(password.data(), password.size());
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(32);
    for (const std::uint8_t byte : md5.Final()) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0f]);
    }
    return hex;
}

}  // namespace quorex
