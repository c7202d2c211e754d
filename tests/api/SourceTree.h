// Files of the source tree for tests that read them (the public headers, the docs). A test finds
// the tree from its own source file's name: absolute, or, as Ninja compiles, relative to the
// build directory, which holds the test programs in its tests/ folder.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorex::test {

// The repository's root, given __FILE__ of a test two folders below it (tests/<area>/X.cpp).
inline std::filesystem::path SourceTreeOf(const char* testSource) {
    std::filesystem::path source(testSource);
    if (source.is_relative())
        source = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / source;
    return source.parent_path().parent_path().parent_path().lexically_normal();
}

// A file's whole content; empty when it cannot be read.
inline std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace quorex::test
