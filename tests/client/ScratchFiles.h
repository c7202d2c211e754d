// Shared by the client tests that write files: a scratch directory that goes with the test, and
// a file's bytes read and written whole.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kvt::test {

// A fresh directory for one test's files, removed with everything in it at the end.
class CScratchDirectory {
public:
    CScratchDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvt-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no scratch directory";
        m_path = pattern;
    }
    ~CScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CScratchDirectory(const CScratchDirectory&) = delete;
    CScratchDirectory& operator=(const CScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string Name() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace kvt::test
