// MD5 message digest (RFC 1321), as the trader client applies it to passwords: the exchange keeps
// and compares passwords only as 32 lower-case hexadecimal digits of the digest.
// Pure functions; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorex::sim {

std::array<std::uint8_t, 16> Md5(std::string_view bytes);
// The digest as 32 lower-case hexadecimal digits ("%02x" per byte).
std::string Md5Hex(std::string_view bytes);
// True for exactly 32 characters, each a digit or a lower-case letter a..f.
bool IsMd5Hex(std::string_view text);

}  // namespace quorex::sim
