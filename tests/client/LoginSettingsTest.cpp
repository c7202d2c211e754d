#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "client/shell/LoginSettings.h"

using namespace kvt;

namespace {

class LoginSettingsFile : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kvt_settings_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_directory = pattern;
        m_path = m_directory + "/" + kLoginSettingsFile;
    }
    void TearDown() override {
        std::remove(m_path.c_str());
        ::rmdir(m_directory.c_str());
    }
    void WriteRaw(const std::string& bytes) { std::ofstream(m_path, std::ios::binary) << bytes; }
    std::string ReadRaw() {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string m_directory;
    std::string m_path;
};

CLoginSettings Sample() {
    CLoginSettings settings;
    settings.traderCode = "00011234";
    settings.password = "pass\xb5\xe7";  // GBK bytes
    settings.serverIndex = 2;
    settings.rememberPassword = true;
    settings.autoLogin = false;
    return settings;
}

TEST(LoginSettings, ImageHasTheExactLayout) {
    const LoginSettingsImage image = EncodeLoginSettings(Sample());
    LoginSettingsImage expected{};
    std::memcpy(&expected[0], "00011234", 8);  // no terminator at 8 characters
    const unsigned char password[] = {'p', 'a', 's', 's', 0xb5, 0xe7};
    for (std::size_t i = 0; i < sizeof password; ++i) expected[9 + i] = static_cast<std::uint8_t>(~password[i]);
    expected[44] = 2;
    expected[48] = 1;
    EXPECT_EQ(image, expected);

    CLoginSettings negative;
    negative.serverIndex = -1;
    negative.autoLogin = true;
    const LoginSettingsImage other = EncodeLoginSettings(negative);
    EXPECT_EQ(other[44], 0xff);
    EXPECT_EQ(other[47], 0xff);
    EXPECT_EQ(other[52], 1);
}

TEST(LoginSettings, LongTextsAreCutToTheirFields) {
    CLoginSettings settings;
    settings.traderCode = "0123456789";
    settings.password = std::string(40, 'p');
    settings.rememberPassword = true;
    const CLoginSettings back = DecodeLoginSettings(EncodeLoginSettings(settings));
    EXPECT_EQ(back.traderCode, "01234567");
    EXPECT_EQ(back.password, std::string(32, 'p'));
}

TEST(LoginSettings, APasswordNotToBeRememberedIsNotStored) {
    CLoginSettings settings = Sample();
    settings.rememberPassword = false;
    const LoginSettingsImage image = EncodeLoginSettings(settings);
    EXPECT_EQ(std::count(image.begin() + 9, image.begin() + 41, 0), 32);
    EXPECT_EQ(std::memcmp(&image[0], "00011234", 8), 0);
    EXPECT_EQ(image[44], 2);
    EXPECT_EQ(image[48], 0);
    EXPECT_EQ(DecodeLoginSettings(image).password, "");
}

TEST(LoginSettings, DecodingDistrustsIndexAndFlags) {
    LoginSettingsImage image = EncodeLoginSettings(Sample());
    image[44] = 4;
    image[48] = 2;
    const CLoginSettings decoded = DecodeLoginSettings(image);
    EXPECT_EQ(decoded.serverIndex, -1);
    EXPECT_FALSE(decoded.rememberPassword);
    image[44] = 0xff, image[45] = 0xff, image[46] = 0xff, image[47] = 0x7f;
    EXPECT_EQ(DecodeLoginSettings(image).serverIndex, -1);
}

TEST_F(LoginSettingsFile, WritesFiftySixOwnerOnlyBytesAndReadsThemBack) {
    ASSERT_TRUE(WriteLoginSettings(m_path, Sample()));
    const LoginSettingsImage image = EncodeLoginSettings(Sample());
    EXPECT_EQ(ReadRaw(), std::string(image.begin(), image.end()));
    struct stat status {};
    ASSERT_EQ(::stat(m_path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    CLoginSettings read;
    ASSERT_TRUE(ReadLoginSettings(m_path, read));
    EXPECT_EQ(read.traderCode, "00011234");
    EXPECT_EQ(read.password, Sample().password);
    EXPECT_EQ(read.serverIndex, 2);
    EXPECT_TRUE(read.rememberPassword);
    EXPECT_FALSE(read.autoLogin);
}

TEST_F(LoginSettingsFile, RewritingAnOpenFileNarrowsItsPermissions) {
    WriteRaw(std::string(80, 'x'));
    ASSERT_EQ(::chmod(m_path.c_str(), 0644), 0);
    ASSERT_TRUE(WriteLoginSettings(m_path, Sample()));
    struct stat status {};
    ASSERT_EQ(::stat(m_path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(status.st_size, 56);
}

TEST_F(LoginSettingsFile, MissingShortOrUnreadableFilesChangeNothing) {
    CLoginSettings settings = Sample();
    EXPECT_FALSE(ReadLoginSettings(m_path, settings));
    WriteRaw(std::string(55, '\0'));
    EXPECT_FALSE(ReadLoginSettings(m_path, settings));
    EXPECT_FALSE(ReadLoginSettings(m_directory, settings));  // a directory cannot be read as a file
    EXPECT_EQ(settings.traderCode, Sample().traderCode);
    EXPECT_EQ(settings.password, Sample().password);
    EXPECT_EQ(settings.serverIndex, 2);
    EXPECT_TRUE(settings.rememberPassword);

    // A file that cannot be written is reported to the caller only.
    EXPECT_FALSE(WriteLoginSettings(m_directory + "/missing/kvtsys.data", Sample()));
}

TEST_F(LoginSettingsFile, AFailedRewriteLeavesTheOldFileWhole) {
    ASSERT_TRUE(WriteLoginSettings(m_path, Sample()));
    const std::string before = ReadRaw();
    // The temporary file cannot be created where a directory of its name stands.
    ASSERT_EQ(::mkdir((m_path + ".tmp").c_str(), 0700), 0);
    CLoginSettings other = Sample();
    other.traderCode = "00019999";
    EXPECT_FALSE(WriteLoginSettings(m_path, other));
    EXPECT_EQ(ReadRaw(), before);
    ::rmdir((m_path + ".tmp").c_str());
}

}  // namespace
