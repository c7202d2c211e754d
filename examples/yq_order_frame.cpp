// Builds a Yq order package with one electronic indenture, frames it, prints the frame as hex,
// then cuts, parses and decodes it again and prints what came back. It uses the kernel's own
// package and frame classes, which the shared library does not export, so it is built in the
// source tree only (linked with quorex_internal) and not installed.
#include <cstdio>
#include <cstring>

#include "CommandLine.h"
#include "public/Frame.h"
#include "public/PackageTypes.h"
#include "public/XTPPackage.h"

using namespace quorex;

namespace {

constexpr const char* kUsage =
    "usage: yq_order_frame [--help | --version]\n"
    "Frames a Yq order package with one electronic indenture, prints its bytes as hex, and parses\n"
    "and decodes it again.\n";

void PrintHex(const std::uint8_t* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) std::printf("%02x%s", bytes[i], (i % 16 == 15 || i + 1 == n) ? "\n" : " ");
}

TYqOrder SampleOrder() {
    TYqOrder order{};
    std::strcpy(order.clientID, "00000001");
    order.accountType = '1';
    std::strcpy(order.instID, "HR0612");
    std::strcpy(order.memberID, "0001");
    order.buyOrSell = '0';
    order.offSetFlag = '0';
    order.pledgeFlag = '1';
    order.price = 4125.0;
    order.amount = 20;
    std::strcpy(order.localOrderNo, "20261208000001");
    std::strcpy(order.traderID, "T0001");
    return order;
}

TYqFrznElctIndenture SampleIndenture() {
    TYqFrznElctIndenture indenture{};
    std::strcpy(indenture.indentNo, "E000012345");
    indenture.frznAmount = 20;
    return indenture;
}

}  // namespace

int main(int argc, char** argv) {
    const auto noOptions = [](examples::CArguments&) { return false; };
    if (const auto parsed = examples::ReadCommandLine(argc, argv, "yq_order_frame", kUsage, noOptions)) return *parsed;
    CXTPPackage package;
    if (!package.Prepare(tid::ReqYqOrder)) return 1;
    package.SetRootID("req1");
    if (!package.AddRecord(SampleOrder()) || !package.AddRecord(SampleIndenture())) return 1;
    package.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(package.Length());
    CFrameEncoder encoder;
    if (!package.PrependHeader(package.m_XTPHeader) || !encoder.Encode(package)) return 1;

    std::printf("frame of %zu bytes (package \"%s\"):\n", package.Length(), package.GetDefinition()->name);
    PrintHex(package.Address(), package.Length());

    CFramePackage frame;
    frame.Assign(package.Address(), package.Length());
    if (frame.Cut() <= 0 || frame.IsHeartbeat()) return 1;
    frame.StripHeader();
    CXTPPackage received;
    received.ViewOf(frame);
    const int parsed = received.Parse();
    std::printf("\nparsed: %d bytes, Tid=%08x, RootID=%s, %d fields\n", parsed, received.m_XTPHeader.Tid,
                received.m_XTPHeader.RootID, received.GetFieldCount());
    TYqOrder order;
    TYqFrznElctIndenture indenture;
    if (parsed < 0 || !received.GetRecord(order) || !received.GetRecord(indenture)) return 1;
    std::printf("TYqOrder: instID=%s clientID=%s memberID=%s buyOrSell=%c price=%.2f amount=%d "
                "localOrderNo=%s traderID=%s\n",
                order.instID, order.clientID, order.memberID, order.buyOrSell, order.price, order.amount,
                order.localOrderNo, order.traderID);
    std::printf("TYqFrznElctIndenture: indentNo=%s frznAmount=%d\n", indenture.indentNo, indenture.frznAmount);
    return 0;
}
