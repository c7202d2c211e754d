// Reopens a flow over arbitrary id-file and content-file bytes and reads every record. Only the
// flow's own CRuntimeErrors may come out. When the files are accepted, one more record is appended
// and the flow must reopen with exactly one record more and give that record back.
//
// Input: 2 bytes (little-endian) giving the id file's share of the rest, then the id file's bytes,
// then the content file's bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>

#include "public/Flow.h"
#include "quorex/Errors.h"

namespace {

constexpr std::uint32_t kMaxRecordsRead = 300;
const std::uint8_t kProbe[5] = {'p', 'r', 'o', 'b', 'e'};

std::string g_directory;
std::string g_idPath;
std::string g_contentPath;

void RemoveScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(g_directory, ignored);
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || (size != 0 && std::fwrite(data, size, 1, file) != 1)) std::abort();
    std::fclose(file);
}

void ReadRecords(quorex::CFlow& flow) {
    std::uint8_t buffer[4096];
    const std::uint32_t count = flow.Count() < kMaxRecordsRead ? flow.Count() : kMaxRecordsRead;
    for (std::uint32_t i = 0; i < count; ++i) {
        try {
            std::uint32_t time = 0;
            flow.Read(flow.Locate(i), buffer, &time);
        } catch (const CRuntimeError&) {
        }
    }
}

void CheckAppendAndReopen(quorex::CFlow& flow) {
    const std::uint32_t count = flow.Count();
    flow.Append(kProbe, 7);
    flow.Open(g_idPath.c_str(), g_contentPath.c_str(), true);
    std::uint8_t buffer[sizeof kProbe];
    std::uint32_t time = 0;
    if (flow.Count() != count + 1 || flow.Read(flow.Locate(count), buffer, &time) != sizeof kProbe ||
        std::memcmp(buffer, kProbe, sizeof kProbe) != 0 || time != 7) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/quorex-flow-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) std::abort();
    g_directory = pattern;
    g_idPath = g_directory + "/flow.id";
    g_contentPath = g_directory + "/flow.con";
    std::atexit(RemoveScratchDirectory);
    // The flow's diagnostic lines would only slow the run down.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t rest = size - 2;
    const std::size_t idSize = rest == 0 ? 0 : (data[0] | (data[1] << 8)) % (rest + 1);
    WriteFile(g_idPath, data + 2, idSize);
    WriteFile(g_contentPath, data + 2 + idSize, rest - idSize);

    quorex::CFlow flow;
    try {
        flow.Open(g_idPath.c_str(), g_contentPath.c_str(), true);
    } catch (const CRuntimeError&) {
        return 0;
    }
    ReadRecords(flow);
    CheckAppendAndReopen(flow);
    return 0;
}
