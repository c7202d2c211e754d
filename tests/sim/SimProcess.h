// exchange-sim as a child process on a free loopback port: its first line of output (standard
// output and error share one pipe) names the port. The process is stopped (SIGTERM) and reaped
// when the object goes, or earlier by Stop (or Kill, SIGKILL, as a crash would end it).
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace quorex::sim::test {

// exchange-sim of the build tree, beside the directory of the running test program.
inline std::filesystem::path ExchangeSimProgram() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "sim" / "exchange-sim";
}

class CSimProcess {
public:
    // arguments follow "--port 0" (for example "--bot", "--config", file).
    CSimProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments) {
        int output[2];
        if (!std::filesystem::exists(program) || ::pipe(output) != 0) return;
        std::vector<std::string> words = {program.string(), "--port", "0"};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(output[1], STDOUT_FILENO);
            ::dup2(output[1], STDERR_FILENO);
            ::close(output[0]);
            ::close(output[1]);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(output[1]);
        // The pipe stays open while the program runs, so that its later lines have a reader.
        m_output = ::fdopen(output[0], "r");
        char line[512] = {};
        if (m_pid > 0 && m_output != nullptr && std::fgets(line, sizeof line, m_output) != nullptr) {
            firstLine = line;
            if (std::strstr(line, "listening on") == nullptr) return;
            if (const char* colon = std::strrchr(line, ':')) port = static_cast<std::uint16_t>(std::atoi(colon + 1));
        }
    }
    CSimProcess(const CSimProcess&) = delete;
    CSimProcess& operator=(const CSimProcess&) = delete;
    ~CSimProcess() {
        Stop();
        if (m_output != nullptr) std::fclose(m_output);
    }

    void Stop() { End(SIGTERM); }
    // Kills the program without warning (SIGKILL), as a crash would end it.
    void Kill() { End(SIGKILL); }
    // Waits for the program to end by itself and returns its exit code (-1 when it was killed).
    int Wait() {
        int status = 0;
        if (m_pid <= 0 || ::waitpid(m_pid, &status, 0) != m_pid) return -1;
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The program's process ID while it runs, else -1.
    pid_t Pid() const { return m_pid; }

    std::uint16_t port = 0;  // 0: the program did not start listening
    std::string firstLine;

private:
    void End(int signal) {
        if (m_pid <= 0) return;
        ::kill(m_pid, signal);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

    pid_t m_pid = -1;
    std::FILE* m_output = nullptr;
};

}  // namespace quorex::sim::test
