// The pre-order file: its image, and reading and replacing the file.
#include "client/pages/PreOrderFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "common/AtomicFile.h"
#include "quorex/UserFiles.h"

namespace kvt {

namespace {

// The record images are the records' bytes in memory, so the file layout is the struct layout;
// these pin it down.
static_assert(std::endian::native == std::endian::little, "the file holds little-endian record images");
static_assert(sizeof(TYqOrder) == 128);
static_assert(offsetof(TYqOrder, orderNo) == 0 && sizeof TYqOrder::orderNo == 15);
static_assert(offsetof(TYqOrder, clientID) == 15 && sizeof TYqOrder::clientID == 9);
static_assert(offsetof(TYqOrder, accountType) == 24);
static_assert(offsetof(TYqOrder, instID) == 25 && sizeof TYqOrder::instID == 7);
static_assert(offsetof(TYqOrder, memberID) == 32 && sizeof TYqOrder::memberID == 5);
static_assert(offsetof(TYqOrder, buyOrSell) == 37);
static_assert(offsetof(TYqOrder, applyDate) == 38 && sizeof TYqOrder::applyDate == 9);
static_assert(offsetof(TYqOrder, applyTime) == 47 && sizeof TYqOrder::applyTime == 9);
static_assert(offsetof(TYqOrder, offSetFlag) == 56);
static_assert(offsetof(TYqOrder, pledgeFlag) == 57);
static_assert(offsetof(TYqOrder, price) == 64);
static_assert(offsetof(TYqOrder, amount) == 72);
static_assert(offsetof(TYqOrder, remainAmount) == 76);
static_assert(offsetof(TYqOrder, status) == 80);
static_assert(offsetof(TYqOrder, localOrderNo) == 81 && sizeof TYqOrder::localOrderNo == 15);
static_assert(offsetof(TYqOrder, traderID) == 96 && sizeof TYqOrder::traderID == 9);
static_assert(offsetof(TYqOrder, cancelTime) == 105 && sizeof TYqOrder::cancelTime == 9);
static_assert(offsetof(TYqOrder, cancelID) == 114 && sizeof TYqOrder::cancelID == 9);
static_assert(sizeof(TYqFrznElctIndenture) == 32);
static_assert(offsetof(TYqFrznElctIndenture, orderNo) == 0 && sizeof TYqFrznElctIndenture::orderNo == 15);
static_assert(offsetof(TYqFrznElctIndenture, indentNo) == 15 && sizeof TYqFrznElctIndenture::indentNo == 11);
static_assert(offsetof(TYqFrznElctIndenture, frznAmount) == 28);

constexpr std::size_t kOrderBytes = sizeof(TYqOrder);
constexpr std::size_t kIndentureBytes = sizeof(TYqFrznElctIndenture);

struct CGap {
    std::size_t offset;
    std::size_t size;
};
// The padding inside the records, written as zero bytes rather than whatever memory held.
constexpr CGap kOrderGaps[] = {{58, 6}, {123, 5}};
constexpr CGap kIndentureGaps[] = {{26, 2}};

template <class Record, std::size_t N>
void AppendImage(std::string& image, const Record& record, const CGap (&gaps)[N]) {
    const std::size_t start = image.size();
    image.append(reinterpret_cast<const char*>(&record), sizeof record);
    for (const CGap& gap : gaps) std::memset(image.data() + start + gap.offset, 0, gap.size);
}

void AppendInt32(std::string& image, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) image.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

std::int32_t ReadInt32(const char* bytes) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(bits);
}

std::string DateHeader(std::string_view tradeDate) {
    std::string header(kPreOrderDateBytes, '\0');
    std::memcpy(header.data(), tradeDate.data(), std::min(tradeDate.size(), kPreOrderDateBytes - 1));
    return header;
}

template <std::size_t N>
void Terminate(char (&member)[N]) {
    member[N - 1] = '\0';
}

// A record read from a file may hold anything; every text member gets its terminator.
void TerminateTexts(TYqOrder& order) {
    Terminate(order.orderNo);
    Terminate(order.clientID);
    Terminate(order.instID);
    Terminate(order.memberID);
    Terminate(order.applyDate);
    Terminate(order.applyTime);
    Terminate(order.localOrderNo);
    Terminate(order.traderID);
    Terminate(order.cancelTime);
    Terminate(order.cancelID);
}

void TerminateTexts(TYqFrznElctIndenture& indenture) {
    Terminate(indenture.orderNo);
    Terminate(indenture.indentNo);
}

bool IsEndingEntry(const TYqFrznElctIndenture& indenture) { return indenture.indentNo[0] == '\0'; }

}  // namespace

std::string PreOrderFilePath(std::string_view directory, const char* traderID) {
    return std::string(directory) + "/" + quorex::UserFileName(kPreOrderFilePattern, traderID);
}

void EndIndentureList(std::vector<TYqFrznElctIndenture>& indentures) {
    const auto ending = std::find_if(indentures.begin(), indentures.end(), IsEndingEntry);
    if (ending != indentures.end()) {
        indentures.erase(ending + 1, indentures.end());
    } else {
        indentures.push_back(TYqFrznElctIndenture{});
    }
}

std::string EncodePreOrderFile(std::string_view tradeDate, std::span<const CParkedOrder* const> orders) {
    std::string image = DateHeader(tradeDate);
    for (const CParkedOrder* parked : orders) {
        AppendImage(image, parked->order, kOrderGaps);
        AppendInt32(image, static_cast<std::int32_t>(parked->indentures.size()));
        for (const TYqFrznElctIndenture& indenture : parked->indentures) AppendImage(image, indenture, kIndentureGaps);
    }
    return image;
}

std::vector<CParkedOrder> DecodePreOrderFile(std::string_view image, std::string_view tradeDate) {
    std::vector<CParkedOrder> orders;
    if (tradeDate.empty() || image.size() < kPreOrderDateBytes) return orders;
    if (image.substr(0, kPreOrderDateBytes) != DateHeader(tradeDate)) return orders;
    std::size_t at = kPreOrderDateBytes;
    while (image.size() - at >= kOrderBytes + kPreOrderCountBytes) {
        const char* entry = image.data() + at;
        const std::int32_t count = ReadInt32(entry + kOrderBytes);
        const std::size_t listAt = at + kOrderBytes + kPreOrderCountBytes;
        // The count is checked against the bytes that are there before anything is allocated.
        if (count < 1 || static_cast<std::size_t>(count) > (image.size() - listAt) / kIndentureBytes) break;
        CParkedOrder parked{};
        std::memcpy(&parked.order, entry, kOrderBytes);
        TerminateTexts(parked.order);
        parked.indentures.resize(static_cast<std::size_t>(count));
        std::memcpy(parked.indentures.data(), image.data() + listAt, parked.indentures.size() * kIndentureBytes);
        for (TYqFrznElctIndenture& indenture : parked.indentures) TerminateTexts(indenture);
        const auto ending = std::find_if(parked.indentures.begin(), parked.indentures.end(), IsEndingEntry);
        if (ending == parked.indentures.end()) break;
        parked.indentures.erase(ending + 1, parked.indentures.end());
        orders.push_back(std::move(parked));
        at = listAt + static_cast<std::size_t>(count) * kIndentureBytes;
    }
    return orders;
}

std::optional<std::string> ReadPreOrderFile(const std::string& path) { return quorex::files::ReadWholeFile(path); }

bool ReplacePreOrderFile(const std::string& path, std::string_view image) {
    return quorex::files::ReplaceFile(path, image, S_IRUSR | S_IWUSR);
}

}  // namespace kvt
