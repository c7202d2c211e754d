// The package catalogue expanded from packages.def, and its lookup: a chained hash of 769 buckets
// keyed by Tid mod 769, built by the compiler.
#include <cstddef>

#include "public/PackageDefinition.h"
#include "public/RecordTraits.h"

namespace quorex {
namespace {

template <class... Records>
constexpr CPackageDefinition MakeDefinition(std::uint32_t tid, const char* name) {
    static_assert(sizeof...(Records) >= 1 && sizeof...(Records) <= kMaxPackageFields);
    return CPackageDefinition{tid, {&RecordTraits<Records>::kDescriptor...},
                              static_cast<std::int32_t>(sizeof...(Records)), name,
                              {RecordTraits<Records>::kFieldID...}};
}

#define QX_PACKAGE(tid, identifier, name, ...) MakeDefinition<__VA_ARGS__>(tid, name),
constexpr CPackageDefinition kDefinitions[] = {
#include "api/packages.def"
};
#undef QX_PACKAGE

constexpr std::size_t kDefinitionCount = std::size(kDefinitions);
constexpr std::uint32_t kBucketCount = 769;
constexpr std::int16_t kNoEntry = -1;

// heads[b] is the first definition of bucket b; next[i] chains the definitions of one bucket.
struct TidIndex {
    std::array<std::int16_t, kBucketCount> heads{};
    std::array<std::int16_t, kDefinitionCount> next{};
};

constexpr TidIndex BuildIndex() {
    TidIndex index;
    index.heads.fill(kNoEntry);
    index.next.fill(kNoEntry);
    for (std::size_t i = kDefinitionCount; i-- > 0;) {
        const std::uint32_t bucket = kDefinitions[i].Tid % kBucketCount;
        index.next[i] = index.heads[bucket];
        index.heads[bucket] = static_cast<std::int16_t>(i);
    }
    return index;
}

constexpr bool TidsAreUnique() {
    for (std::size_t i = 0; i < kDefinitionCount; ++i)
        for (std::size_t j = i + 1; j < kDefinitionCount; ++j)
            if (kDefinitions[i].Tid == kDefinitions[j].Tid) return false;
    return true;
}
static_assert(TidsAreUnique(), "a Tid appears twice in packages.def");

constexpr TidIndex kIndex = BuildIndex();

}  // namespace

const CPackageDefinition* FindPackageDefinition(std::uint32_t tid) {
    for (std::int16_t i = kIndex.heads[tid % kBucketCount]; i != kNoEntry; i = kIndex.next[i])
        if (kDefinitions[i].Tid == tid) return &kDefinitions[i];
    return nullptr;
}

std::span<const CPackageDefinition> AllPackageDefinitions() { return kDefinitions; }

}  // namespace quorex
