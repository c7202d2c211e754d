// The login dialog's settings file "kvtsys.data" in the current directory: exactly 56 bytes, no
// header, little-endian integers.
//   0  8  trader code as typed, zero-padded (no terminator when it has 8 characters)
//   8  1  zero
//   9 32  password, each byte complemented, zero-padded after the last one
//  41  1  zero
//  42  2  reserved, zero
//  44  4  index of the selected server (signed)
//  48  4  "记住密码" ticked: 1, else 0
//  52  4  "自动登陆" ticked: 1, else 0
// The password is stored only when "记住密码" is ticked (otherwise its 32 bytes are zero). Since
// it can be recovered from the file, the file is readable and writable by its owner only, and it
// is replaced whole (a temporary file, synced and renamed), so no crash leaves a short file.
//
// Thread contract: free functions, reentrant; the file itself is the login dialog's alone.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kvt {

inline constexpr const char* kLoginSettingsFile = "kvtsys.data";
inline constexpr std::size_t kLoginSettingsSize = 56;
inline constexpr int kServerCount = 4;

struct CLoginSettings {
    std::string traderCode;  // GBK, at most 8 bytes
    std::string password;    // GBK, at most 32 bytes
    int serverIndex = 0;     // 0 to kServerCount - 1; -1 for none
    bool rememberPassword = false;
    bool autoLogin = false;
};

using LoginSettingsImage = std::array<std::uint8_t, kLoginSettingsSize>;

// Longer texts are cut to their fields; the password is left out unless rememberPassword is set.
LoginSettingsImage EncodeLoginSettings(const CLoginSettings& settings);
// A server index outside 0 to kServerCount - 1 becomes -1 (no server selected); a flag counts as
// ticked only when it is exactly 1.
CLoginSettings DecodeLoginSettings(const LoginSettingsImage& image);

// Fills settings from the file and returns true; a file that is missing, unreadable or shorter
// than 56 bytes leaves settings unchanged and returns false.
bool ReadLoginSettings(const std::string& path, CLoginSettings& settings);
// Replaces the file with the image, with owner-only permissions (an existing file is narrowed to
// them): false, with the old file untouched, when it could not be written completely.
bool WriteLoginSettings(const std::string& path, const CLoginSettings& settings);

}  // namespace kvt
