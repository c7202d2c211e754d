// One Yq order package with one electronic indenture: build, frame, cut, parse, decode. Beside it
// a hand-written baseline produces and reads the same bytes with memcpy and byte swaps. The
// "allocs/pkg" counter counts heap allocations per package in steady state.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "public/Frame.h"
#include "public/PackageTypes.h"
#include "public/WireBytes.h"
#include "public/XTPPackage.h"

using namespace quorex;

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
// GCC cannot see that these deletes pair with the counting new above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

TYqOrder SampleOrder() {
    TYqOrder order{};
    std::strcpy(order.clientID, "00000001");
    order.accountType = '1';
    std::strcpy(order.instID, "HR0612");
    std::strcpy(order.memberID, "0001");
    order.buyOrSell = '0';
    order.price = 4125.0;
    order.amount = 20;
    std::strcpy(order.localOrderNo, "20261208000001");
    std::strcpy(order.traderID, "T0001");
    return order;
}

TYqFrznElctIndenture SampleIndenture() {
    TYqFrznElctIndenture indenture{};
    std::strcpy(indenture.orderNo, "00000000000001");
    std::strcpy(indenture.indentNo, "E000012345");
    indenture.frznAmount = 20;
    return indenture;
}

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs/pkg"] =
        benchmark::Counter(static_cast<double>(g_allocations.load() - before), benchmark::Counter::kAvgIterations);
}

void BM_Library(benchmark::State& state) {
    const TYqOrder order = SampleOrder();
    const TYqFrznElctIndenture indenture = SampleIndenture();
    CXTPPackage package;
    CFrameEncoder encoder;
    CFramePackage frame;
    CXTPPackage received;
    TYqOrder orderOut;
    TYqFrznElctIndenture indentureOut;
    package.Prepare(tid::ReqYqOrder);  // first use allocates the block
    const long before = g_allocations.load();
    for (auto _ : state) {
        package.Prepare(tid::ReqYqOrder);
        package.SetRootID("req1");
        package.AddRecord(order);
        package.AddRecord(indenture);
        package.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(package.Length());
        package.PrependHeader(package.m_XTPHeader);
        encoder.Encode(package);

        frame.ViewOf(package);
        if (frame.Cut() <= 0 || frame.IsHeartbeat()) state.SkipWithError("cut failed");
        frame.StripHeader();
        received.ViewOf(frame);
        if (received.Parse() < 0 || !received.GetRecord(orderOut) || !received.GetRecord(indentureOut))
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(orderOut);
        benchmark::DoNotOptimize(indentureOut);
        received.Release();
        frame.Release();
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_Library);

// The baseline: the same bytes written and read by hand.
std::uint8_t* PutText(std::uint8_t* p, const char* text, std::size_t n) { return wire::PutBytes(p, text, n); }

std::size_t HandWrite(const TYqOrder& o, const TYqFrznElctIndenture& f, std::uint8_t* out) {
    constexpr std::size_t kContent = 4 + 107 + 4 + 28;
    std::uint8_t* p = out;
    *p++ = 1;
    *p++ = 0;
    p = wire::PutU16(p, static_cast<std::uint16_t>(XTPHLEN + kContent));
    *p++ = 0;
    *p++ = 'S';
    p = wire::PutU16(p, kContent);
    p = wire::PutU32(p, tid::ReqYqOrder);
    p = wire::PutU32(p, 0);
    std::memset(p, 0, 8);
    std::memcpy(p, "req1", 4);
    p += 8;
    std::memset(p, 0, 36);  // sender IDs, jumps, time mark, reserved
    p += 36;
    p = wire::PutU16(wire::PutU16(p, 0xA10D), 28);
    p = PutText(p, f.orderNo, 14);
    p = PutText(p, f.indentNo, 10);
    p = wire::PutU32(p, static_cast<std::uint32_t>(f.frznAmount));
    p = wire::PutU16(wire::PutU16(p, 0xA10C), 107);
    p = PutText(p, o.orderNo, 14);
    p = PutText(p, o.clientID, 8);
    *p++ = static_cast<std::uint8_t>(o.accountType);
    p = PutText(p, o.instID, 6);
    p = PutText(p, o.memberID, 4);
    *p++ = static_cast<std::uint8_t>(o.buyOrSell);
    p = PutText(p, o.applyDate, 8);
    p = PutText(p, o.applyTime, 8);
    *p++ = static_cast<std::uint8_t>(o.offSetFlag);
    *p++ = static_cast<std::uint8_t>(o.pledgeFlag);
    p = wire::PutF64(p, o.price);
    p = wire::PutU32(p, static_cast<std::uint32_t>(o.amount));
    p = wire::PutU32(p, static_cast<std::uint32_t>(o.remainAmount));
    *p++ = static_cast<std::uint8_t>(o.status);
    p = PutText(p, o.localOrderNo, 14);
    p = PutText(p, o.traderID, 8);
    p = PutText(p, o.cancelTime, 8);
    p = PutText(p, o.cancelID, 8);
    return static_cast<std::size_t>(p - out);
}

const std::uint8_t* GetText(const std::uint8_t* p, char* text, std::size_t n) {
    text[n] = '\0';
    return wire::GetBytes(p, text, n);
}

// Reads the XTP header's members, as any reader must (the request ID, sequence and routing
// fields travel there).
const std::uint8_t* ReadHeader(const std::uint8_t* p, TXTPHeader& h) {
    h.SequenceSeries = *p++;
    h.Chain = static_cast<char>(*p++);
    p = wire::Get16(p, h.ContentLength);
    p = wire::Get32(p, h.Tid);
    p = wire::Get32(p, h.SequenceNo);
    p = GetText(p, h.RootID, 8);
    for (std::uint32_t* sender : {&h.SenderID0, &h.SenderID1, &h.SenderID2, &h.SenderID3, &h.SenderID4, &h.SenderID5})
        p = wire::Get32(p, *sender);
    p = wire::Get16(p, h.CurrJump);
    p = wire::Get16(p, h.JumpFlag);
    p = wire::Get32(p, h.TimeMark);
    return p + 4;  // reserved
}

bool HandRead(const std::uint8_t* in, std::size_t n, TXTPHeader& h, TYqOrder& o, TYqFrznElctIndenture& f) {
    if (n < 4) return false;
    const std::size_t length = wire::LoadU16(in + 2);
    if (in[1] != 0 || length > 4096 || n < 4 + length) return false;
    const std::uint8_t* p = ReadHeader(in + 4, h);
    if (h.Tid != tid::ReqYqOrder || h.ContentLength != length - XTPHLEN) return false;
    if (wire::LoadU16(p) != 0xA10D || wire::LoadU16(p + 2) != 28) return false;
    p = GetText(p + 4, f.orderNo, 14);
    p = GetText(p, f.indentNo, 10);
    p = wire::Get32(p, f.frznAmount);
    if (wire::LoadU16(p) != 0xA10C || wire::LoadU16(p + 2) != 107) return false;
    p = GetText(p + 4, o.orderNo, 14);
    p = GetText(p, o.clientID, 8);
    o.accountType = static_cast<char>(*p++);
    p = GetText(p, o.instID, 6);
    p = GetText(p, o.memberID, 4);
    o.buyOrSell = static_cast<char>(*p++);
    p = GetText(p, o.applyDate, 8);
    p = GetText(p, o.applyTime, 8);
    o.offSetFlag = static_cast<char>(*p++);
    o.pledgeFlag = static_cast<char>(*p++);
    p = wire::GetF64(p, o.price);
    p = wire::Get32(p, o.amount);
    p = wire::Get32(p, o.remainAmount);
    o.status = static_cast<char>(*p++);
    p = GetText(p, o.localOrderNo, 14);
    p = GetText(p, o.traderID, 8);
    p = GetText(p, o.cancelTime, 8);
    GetText(p, o.cancelID, 8);
    return true;
}

void BM_HandWrittenBaseline(benchmark::State& state) {
    const TYqOrder order = SampleOrder();
    const TYqFrznElctIndenture indenture = SampleIndenture();
    alignas(8) std::uint8_t buffer[512];
    TXTPHeader headerOut;
    TYqOrder orderOut;
    TYqFrznElctIndenture indentureOut;
    const long before = g_allocations.load();
    for (auto _ : state) {
        const std::size_t n = HandWrite(order, indenture, buffer);
        benchmark::ClobberMemory();
        if (!HandRead(buffer, n, headerOut, orderOut, indentureOut)) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(headerOut);
        benchmark::DoNotOptimize(orderOut);
        benchmark::DoNotOptimize(indentureOut);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_HandWrittenBaseline);

// Both paths must produce the same frame, or the comparison means nothing.
[[maybe_unused]] const bool g_sameBytes = [] {
    CXTPPackage package;
    package.Prepare(tid::ReqYqOrder);
    package.SetRootID("req1");
    package.AddRecord(SampleOrder());
    package.AddRecord(SampleIndenture());
    package.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(package.Length());
    package.PrependHeader(package.m_XTPHeader);
    CFrameEncoder().Encode(package);
    std::uint8_t buffer[512];
    const std::size_t n = HandWrite(SampleOrder(), SampleIndenture(), buffer);
    if (n != package.Length() || std::memcmp(buffer, package.Address(), n) != 0) std::abort();
    return true;
}();

}  // namespace
