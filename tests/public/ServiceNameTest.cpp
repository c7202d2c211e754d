#include <gtest/gtest.h>

#include <string>

#include "public/ErrorTexts.h"
#include "public/ServiceName.h"

using namespace quorex;

namespace {

TEST(ServiceNameTest, SplitsSchemeHostPortAndPath) {
    const CServiceName full("tcp://somehost:5000");
    EXPECT_EQ(full.GetScheme(), "tcp");
    EXPECT_EQ(full.GetHost(), "somehost");
    EXPECT_EQ(full.GetPort(), 5000);
    EXPECT_EQ(full.GetPath(), "");

    const CServiceName withPath("tcp://10.1.2.3:80/front/a");
    EXPECT_EQ(withPath.GetHost(), "10.1.2.3");
    EXPECT_EQ(withPath.GetPort(), 80);
    EXPECT_EQ(withPath.GetPath(), "front/a");

    const CServiceName pathWithoutPort("udp://somehost/x");
    EXPECT_EQ(pathWithoutPort.GetScheme(), "udp");
    EXPECT_EQ(pathWithoutPort.GetHost(), "somehost");
    EXPECT_EQ(pathWithoutPort.GetPort(), 0);
    EXPECT_EQ(pathWithoutPort.GetPath(), "x");
}

TEST(ServiceNameTest, MissingPartsAreEmpty) {
    const CServiceName noPort("tcp://somehost");
    EXPECT_EQ(noPort.GetHost(), "somehost");
    EXPECT_EQ(noPort.GetPort(), 0);

    const CServiceName noHost("tcp://:7000");
    EXPECT_EQ(noHost.GetHost(), "");
    EXPECT_EQ(noHost.GetPort(), 7000);

    const CServiceName schemeOnly("tcp");
    EXPECT_EQ(schemeOnly.GetScheme(), "tcp");
    EXPECT_EQ(schemeOnly.GetHost(), "");
    EXPECT_EQ(schemeOnly.GetPort(), 0);
    EXPECT_EQ(schemeOnly.GetPath(), "");

    const CServiceName bare("tcp://");
    EXPECT_EQ(bare.GetHost(), "");
    EXPECT_EQ(bare.GetPort(), 0);
}

TEST(ServiceNameTest, PortIsZeroUnlessPlainDecimalInRange) {
    EXPECT_EQ(CServiceName("tcp://h:65535").GetPort(), 65535);
    EXPECT_EQ(CServiceName("tcp://h:00080").GetPort(), 80);
    for (const char* location : {"tcp://h:", "tcp://h:/p", "tcp://h:abc", "tcp://h:5000x", "tcp://h:-1", "tcp://h:+80",
                                 "tcp://h: 80", "tcp://h:65536", "tcp://h:1:2", "tcp://h:99999999999999999999999"}) {
        EXPECT_EQ(CServiceName(location).GetPort(), 0) << location;
    }
}

TEST(ServiceNameTest, KeepsVeryLongTexts) {
    const std::string host(100000, 'h');
    const std::string path(50000, 'p');
    const CServiceName name(("tcp://" + host + ":1/" + path).c_str());
    EXPECT_EQ(name.GetHost(), host);
    EXPECT_EQ(name.GetPort(), 1);
    EXPECT_EQ(name.GetPath(), path);
}

TEST(ServiceNameTest, EmptyLocationIsADesignError) {
    for (const char* location : {static_cast<const char*>(nullptr), ""}) {
        try {
            CServiceName name(location);
            ADD_FAILURE() << "no error";
        } catch (const CDesignError& error) {
            EXPECT_STREQ(error.GetMessage(), "empty location for service name");
            EXPECT_STREQ(error.GetFile(), kModuleServiceName);
        }
    }
}

TEST(ServiceNameTest, SchemeWithoutSlashesIsAnInvalidLocation) {
    for (const char* location : {"tcp:somehost", "tcp:", "tcp:/", "tcp:/somehost:80", ":"}) {
        try {
            CServiceName name(location);
            ADD_FAILURE() << "no error for " << location;
        } catch (const CRuntimeError& error) {
            EXPECT_STREQ(error.GetMessage(), "Invalid location") << location;
            EXPECT_STREQ(error.GetFile(), kModuleServiceName);
        }
    }
}

}  // namespace
