// Arbitrary bytes through everything that reads wire data: frame cutting, package parsing, field
// lookup and decoding of every field found, and restoring a flat package.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "public/Frame.h"
#include "public/XTPPackage.h"
#include "quorex/Errors.h"

using namespace quorex;

namespace {

void DecodeEveryField(const CXTPPackage& package) {
    const CPackageDefinition* definition = package.GetDefinition();
    if (definition == nullptr) return;
    alignas(8) std::uint8_t record[4096];
    for (const CFieldDescriptor* field : definition->Fields()) {
        const CFieldRange range = package.GetField(field->GetFieldID());
        for (int k = 0; k < range.Count(); ++k) {
            if (range.Data(k).size() > 4096) __builtin_trap();
            range.Decode(k, record);
        }
    }
}

void ParseAndDecode(CXTPPackage& package) {
    if (package.Parse() >= 0) DecodeEveryField(package);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Parse prints its diagnostics; keep the fuzzer's output readable and fast.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as a stream of frames, cut the way the receiving layers do.
    CFramePackage stream;
    stream.Assign(data, size);
    CFramePackage frame;
    CXTPPackage package;
    while (stream.Length() > 0) {
        frame.ViewOf(stream);
        const int length = frame.Cut();
        if (length <= 0) break;
        if (!frame.IsHeartbeat()) {
            frame.StripHeader();
            package.ViewOf(frame);
            ParseAndDecode(package);
        }
        stream.Pop(static_cast<std::size_t>(length));
    }

    // The bytes as one XTP package, and as a flat package.
    package.Assign(data, size);
    ParseAndDecode(package);
    try {
        CXTPPackage restored;
        restored.LoadFlat({data, size});
        if (restored.Length() != restored.m_XTPHeader.ContentLength) __builtin_trap();
    } catch (const CRuntimeError&) {
    } catch (const CDesignError&) {
    }
    return 0;
}
