// The 56-byte settings image and its file.
#include "client/shell/LoginSettings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "common/AtomicFile.h"

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
    // A password the trader chose not to keep is not left on disk, where it could be recovered.
    const std::size_t passwordLength = settings.rememberPassword ? std::min(settings.password.size(), kPasswordWidth) : 0;
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
    const std::optional<std::string> content = quorex::files::ReadWholeFile(path);
    if (!content || content->size() < kLoginSettingsSize) return false;
    LoginSettingsImage image{};
    std::memcpy(image.data(), content->data(), image.size());
    settings = DecodeLoginSettings(image);
    return true;
}

bool WriteLoginSettings(const std::string& path, const CLoginSettings& settings) {
    const LoginSettingsImage image = EncodeLoginSettings(settings);
    return quorex::files::ReplaceFile(path, {reinterpret_cast<const char*>(image.data()), image.size()}, S_IRUSR | S_IWUSR);
}

}  // namespace kvt
