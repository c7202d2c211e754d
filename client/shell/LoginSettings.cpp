// The 56-byte settings image and its file.
#include "client/shell/LoginSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "client/shell/WholeWrite.h"

namespace kvt {

namespace {

constexpr std::size_t kTraderCodeOffset = 0;
constexpr std::size_t kTraderCodeWidth = 8;
constexpr std::size_t kPasswordOffset = 9;
constexpr std::size_t kPasswordWidth = 32;
constexpr std::size_t kServerIndexOffset = 44;
constexpr std::size_t kRememberOffset = 48;
constexpr std::size_t kAutoLoginOffset = 52;

void StoreInt32(std::uint8_t* at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t LoadInt32(const std::uint8_t* at) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

}  // namespace

LoginSettingsImage EncodeLoginSettings(const CLoginSettings& settings) {
    LoginSettingsImage image{};
    std::memcpy(&image[kTraderCodeOffset], settings.traderCode.data(),
                std::min(settings.traderCode.size(), kTraderCodeWidth));
    const std::size_t passwordLength = std::min(settings.password.size(), kPasswordWidth);
    for (std::size_t i = 0; i < passwordLength; ++i) {
        image[kPasswordOffset + i] = static_cast<std::uint8_t>(~static_cast<unsigned char>(settings.password[i]));
    }
    StoreInt32(&image[kServerIndexOffset], settings.serverIndex);
    StoreInt32(&image[kRememberOffset], settings.rememberPassword ? 1 : 0);
    StoreInt32(&image[kAutoLoginOffset], settings.autoLogin ? 1 : 0);
    return image;
}

CLoginSettings DecodeLoginSettings(const LoginSettingsImage& image) {
    CLoginSettings settings;
    const auto* code = reinterpret_cast<const char*>(&image[kTraderCodeOffset]);
    settings.traderCode.assign(code, ::strnlen(code, kTraderCodeWidth));
    // The password ends at its first zero byte; a complemented byte is never zero for a typed text.
    for (std::size_t i = 0; i < kPasswordWidth && image[kPasswordOffset + i] != 0; ++i) {
        settings.password.push_back(static_cast<char>(~image[kPasswordOffset + i]));
    }
    const std::int32_t server = LoadInt32(&image[kServerIndexOffset]);
    settings.serverIndex = server >= 0 && server < kServerCount ? server : -1;
    settings.rememberPassword = LoadInt32(&image[kRememberOffset]) == 1;
    settings.autoLogin = LoadInt32(&image[kAutoLoginOffset]) == 1;
    return settings;
}

bool ReadLoginSettings(const std::string& path, CLoginSettings& settings) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    LoginSettingsImage image{};
    std::size_t got = 0;
    while (got < image.size()) {
        const ssize_t n = ::read(fd, image.data() + got, image.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got != image.size()) return false;
    settings = DecodeLoginSettings(image);
    return true;
}

bool WriteLoginSettings(const std::string& path, const CLoginSettings& settings) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) return false;
    // A file left by an older version may be readable by others.
    bool ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    const LoginSettingsImage image = EncodeLoginSettings(settings);
    ok = ok && WriteWhole(fd, image.data(), image.size());
    return ::close(fd) == 0 && ok;
}

}  // namespace kvt
