// CPackageDefinition: one package type of the catalogue (its Tid, name and the ordered field
// descriptors it may carry), and the constant-time lookup by Tid. The catalogue is a compile-time
// constant; any thread may read it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "public/FieldDescriptor.h"

namespace quorex {

inline constexpr int kMaxPackageFields = 10;

struct CPackageDefinition {
    std::uint32_t Tid;
    std::array<const CFieldDescriptor*, kMaxPackageFields> fields;
    std::int32_t fieldCount;
    const char* name;
    // fields[i]->GetFieldID(), kept beside the pointers so that searches need not follow them.
    std::array<std::uint16_t, kMaxPackageFields> fieldIds;

    std::span<const CFieldDescriptor* const> Fields() const {
        return {fields.data(), static_cast<std::size_t>(fieldCount)};
    }
};

// The definition of a package type, or nullptr when the catalogue has none.
const CPackageDefinition* FindPackageDefinition(std::uint32_t tid);
// Every definition, in table order.
std::span<const CPackageDefinition> AllPackageDefinitions();

}  // namespace quorex
