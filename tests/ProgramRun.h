// A program run as a user runs it from a terminal: a shell command in a directory, its standard
// output read through a pipe, its standard error through the file "stderr.txt" in that directory,
// and its exit code.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorex::test {

struct CProgramRun {
    int exitCode = -1;  // -1: it did not exit by itself (a signal) or could not start
    std::string out, err;

    bool Says(const std::string& text) const {
        return out.find(text) != std::string::npos || err.find(text) != std::string::npos;
    }
};

// command: what follows "cd <directory> &&", without a redirection of standard error.
inline CProgramRun RunInDirectory(const std::filesystem::path& directory, const std::string& command) {
    std::filesystem::create_directories(directory);
    const std::string line = "cd '" + directory.string() + "' && " + command + " 2>stderr.txt";
    CProgramRun run;
    std::FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(directory / "stderr.txt");
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    return run;
}

}  // namespace quorex::test
