// The 64-bit FNV-1a digest: of the configuration text a day started with (so that a day kept on
// disk goes on only with that configuration) and of each journal entry (so that a damaged entry is
// told from a damaged flow). It catches every change of a single byte. Pure functions; any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace quorex::sim {

inline constexpr std::uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ULL;

inline std::uint64_t Fnv1a64(std::span<const std::uint8_t> bytes, std::uint64_t digest = kFnvOffsetBasis) {
    for (const std::uint8_t byte : bytes) digest = (digest ^ byte) * 0x100000001b3ULL;
    return digest;
}

inline std::uint64_t Fnv1a64(std::string_view text) {
    return Fnv1a64({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace quorex::sim
