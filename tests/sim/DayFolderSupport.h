// Support for the tests of the day kept in a folder: the files' bytes, their records, whole
// snapshots of a folder to compare before and after a start, and the start itself.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ExchangeHarness.h"

namespace quorex::sim::test {

inline std::vector<char> Bytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void Write(const std::filesystem::path& path, const std::vector<char>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Offsets at which the records of a flow content file start.
inline std::vector<std::size_t> RecordStarts(const std::filesystem::path& path) {
    const std::vector<char> bytes = Bytes(path);
    std::vector<std::size_t> starts;
    for (std::size_t offset = 0; offset + 8 <= bytes.size();) {
        starts.push_back(offset);
        std::uint32_t length = 0;
        std::memcpy(&length, bytes.data() + offset, 4);
        offset += 8 + length;
    }
    return starts;
}

// The data of each record of a flow content file (without the record headers, whose times
// differ from run to run).
inline std::vector<std::vector<char>> Records(const std::filesystem::path& path) {
    const std::vector<char> bytes = Bytes(path);
    std::vector<std::vector<char>> records;
    for (const std::size_t start : RecordStarts(path)) {
        std::uint32_t length = 0;
        std::memcpy(&length, bytes.data() + start, 4);
        records.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start + 8),
                             bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), start + 8 + length)));
    }
    return records;
}

// Cuts a content file's last record off at its start, as if it had never been written.
inline void CutLastRecord(const std::filesystem::path& path) { std::filesystem::resize_file(path, RecordStarts(path).back()); }

// Every file of a folder with its bytes.
using CSnapshot = std::map<std::string, std::vector<char>>;

inline CSnapshot Snapshot(const std::filesystem::path& folder) {
    CSnapshot files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        files[name] = entry.is_regular_file() ? Bytes(entry.path()) : std::vector<char>{'<', 'd', 'i', 'r', '>'};
    }
    return files;
}

// Makes the folder hold exactly the snapshot's files (writing only those that differ).
inline void Restore(const std::filesystem::path& folder, const CSnapshot& files) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (!files.contains(entry.path().filename().string())) std::filesystem::remove_all(entry.path());
    }
    for (const auto& [name, bytes] : files) {
        if (Bytes(folder / name) != bytes) Write(folder / name, bytes);
    }
}

// The message of the exchange's refusal to start on the folder; empty when it starts. A refused
// start must leave every file of the folder as it was.
inline std::string StartError(const std::filesystem::path& folder, std::string_view toml = DemoDayToml()) {
    const CSnapshot before = std::filesystem::exists(folder) ? Snapshot(folder) : CSnapshot{};
    try {
        CExchangeHarness harness(toml, folder);
    } catch (const CDayFileError& error) {
        EXPECT_EQ(std::filesystem::exists(folder) ? Snapshot(folder) : CSnapshot{}, before) << "the refused start changed the folder";
        return error.what();
    }
    return "";
}

}  // namespace quorex::sim::test
