// Shared by the console examples: the options both take, where the library's own diagnostics go,
// and the run itself: log in, send the commands, print what arrives for a while, wait for the
// answers, log out, then say in the program's own words how it ended and return the exit code.
// Header-only, so that the examples build from the installed package alone.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "quorex/quorex.h"

namespace examples {

inline constexpr int kExitDone = 0;
// The exchange could not be reached, did not answer in time, refused something or closed the
// connection early. A mistake on the command line is 2 (CommandLine.h).
inline constexpr int kExitFailed = 1;

// The options both consoles take.
struct TConsoleOptions {
    std::string host = "127.0.0.1";
    int port = 6669;
    int seconds = 0;   // how long to print what arrives; each program sets its default
    int timeout = 10;  // seconds to wait for each answer of the exchange
    bool verbose = false;
};

// Reads --host, --port, --seconds, --timeout and --verbose; false for any other option.
inline bool TakeConsoleOption(CArguments& arguments, TConsoleOptions& options) {
    const std::string& option = arguments.Option();
    if (option == "--host") options.host = arguments.Text();
    else if (option == "--port") options.port = arguments.Port();
    else if (option == "--seconds") options.seconds = static_cast<int>(arguments.Integer(0, 3600));
    else if (option == "--timeout") options.timeout = static_cast<int>(arguments.Integer(1, 3600));
    else if (option == "--verbose") options.verbose = true;
    else return false;
    return true;
}

// The end of both consoles' usage texts.
inline constexpr const char* kConsoleUsage =
    "  --timeout S  seconds to wait for each answer of the exchange: the login, the commands'\n"
    "               answers, the logout (default 10)\n"
    "  --verbose    also print the library's own diagnostics, on standard error\n"
    "Exit status: 0 when the login, every command and the logout were answered and accepted;\n"
    "1 when the exchange could not be reached, did not answer in time, refused the login or a\n"
    "command, or the session ended early (standard error says which); 2 for a mistake on\n"
    "the command line.\n";

// Routes the library's diagnostics while it lives. With verbose every one goes to standard error
// as the library wrote it. Otherwise only the error reports of the library's threads ("design
// error:", "runtime error:") do: the console tells in its own words what the other lines
// ("connect Fialed!!", "ChannelLost  ErrorCode=4097", ...) mean. Constructed before the API
// object and destroyed after it, so that no message arrives once it is gone.
class CLibraryLog {
public:
    explicit CLibraryLog(bool verbose) : m_verbose(verbose) { quorex::SetLogSink(&Receive, this); }
    ~CLibraryLog() { quorex::SetLogSink(nullptr, nullptr); }
    CLibraryLog(const CLibraryLog&) = delete;
    CLibraryLog& operator=(const CLibraryLog&) = delete;

    bool ErrorReported() const { return m_errorReported.load(); }

private:
    // Called on the library's threads.
    static void Receive(quorex::LogLevel, const char* text, void* context) {
        auto& self = *static_cast<CLibraryLog*>(context);
        const bool report = std::strncmp(text, "design error:", 13) == 0 || std::strncmp(text, "runtime error:", 14) == 0;
        if (report) self.m_errorReported = true;
        if (self.m_verbose || report) std::fprintf(stderr, "%s\n", text);
    }

    const bool m_verbose;
    std::atomic<bool> m_errorReported{false};
};

// One console run. The API object's callbacks report to it on the reactor thread; Run drives the
// run on the main thread. Every method may be called from any thread.
class CConsoleRun {
public:
    // What Run does with the API object, on the main thread.
    struct TSteps {
        std::function<int()> login;         // the login request's result
        std::function<void()> sendCommands;  // sends each command and reports it with Sent
        std::function<void()> logout;
        const char* loginOptions;            // the options to check when the login is refused
    };

    CConsoleRun(const char* program, const TConsoleOptions& options) : m_program(program), m_options(options) {}

    // Callbacks. complete: nothing more is awaited before the commands (a monitor's login).
    void LoginAnswered(const TTRspMsg& rsp, bool complete) {
        Update([&] {
            m_loginAnswered = true;
            if (std::strcmp(rsp.RspCode, "RSP000000") != 0) m_loginRefusal = Result(rsp);
            else m_ready = complete;
        });
    }
    // The trader's standard data is complete.
    void StandardDataComplete() { Update([&] { m_ready = true; }); }
    // Every answer to a command, record by record: the last one (ChainFlag other than 'C')
    // completes the command, and a refusal is remembered with what was refused.
    void Answered(const char* what, const TTRspMsg& rsp) {
        if (rsp.ChainFlag == 'C') return;
        Update([&] {
            ++m_answered;
            if (std::strcmp(rsp.RspCode, "RSP000000") != 0)
                m_failures.push_back(std::string("the exchange refused the ") + what + ": " + Result(rsp));
        });
    }
    void LogoutAnswered() { Update([&] { m_logoutAnswered = true; }); }
    // reason: onChannelLost's text; "channel disconnect" when the connection ended.
    void ChannelLost(const char* reason) {
        Update([&] {
            m_lost = true;
            m_lostReason = reason != nullptr ? reason : "";
        });
    }

    // Called by sendCommands with each request's result (0: queued).
    void Sent(const char* what, int result) {
        Update([&] {
            if (result == 0) ++m_sent;
            else m_failures.push_back(std::string("the ") + what + " could not be sent: the connection is gone");
        });
    }

    template <class Api>
    int Run(Api& api, const CLibraryLog& log, const TSteps& steps) {
        if (api.initApi() != 0) return Fail("the library could not start its thread");
        api.SetService(m_options.host.c_str(), m_options.port);
        if (steps.login() != 0) {
            if (log.ErrorReported()) return Fail("the login could not start (the library's report is above)");
            return Fail("cannot connect to " + Address() +
                        ". Is the exchange (for example exchange-sim) running and listening there? Check --host "
                        "and --port.");
        }
        if (const int failed = AwaitLogin(steps.loginOptions); failed != kExitDone) return failed;
        steps.sendCommands();
        Await(std::chrono::seconds(m_options.seconds), [&] { return m_lost; });
        const bool answered = Await(Timeout(), [&] { return m_lost || m_answered >= m_sent; });
        if (Locked([&] { return m_lost; })) {
            ReportFailures();
            return Fail(Locked([&] { return SessionEnd(); }));
        }
        if (!answered) {
            Update([&] {
                m_failures.push_back("no answer to " + std::to_string(m_sent - m_answered) + " command(s) within " +
                                     std::to_string(m_options.timeout) + " s");
            });
        }
        steps.logout();
        Await(Timeout(), [&] { return m_lost; });
        const bool loggedOut = Locked([&] { return m_lost || m_logoutAnswered; });
        int code = ReportFailures();
        if (loggedOut) {
            std::printf("logged out\n");
        } else {
            Fail("the exchange did not answer the logout within " + std::to_string(m_options.timeout) + " s");
            code = kExitFailed;
        }
        return code;
    }

private:
    int AwaitLogin(const char* loginOptions) {
        Await(Timeout(), [&] { return m_ready || m_lost || !m_loginRefusal.empty(); });
        std::unique_lock lock(m_mutex);
        if (m_ready) return kExitDone;
        const std::string within = " within " + std::to_string(m_options.timeout) + " s";
        std::string problem;
        if (m_loginRefusal.starts_with(quorex::kRspUserFileFailed))
            problem = "the library could not use a file of the user's: " + m_loginRefusal +
                      " (remove it and the user's sync files to receive the day again)";
        else if (!m_loginRefusal.empty())
            problem = "the login was refused: " + m_loginRefusal + " (check " + loginOptions + ")";
        else if (m_lost)
            problem = SessionEnd() + " before the login was complete";
        else if (!m_loginAnswered)
            problem = "the exchange at " + Address() + " accepted the connection but did not answer the login" + within;
        else
            problem = "the exchange did not finish sending the day's standard data" + within;
        lock.unlock();
        return Fail(problem);
    }
    int ReportFailures() {
        const std::vector<std::string> failures = Locked([&] { return m_failures; });
        for (const std::string& failure : failures) Fail(failure);
        return failures.empty() ? kExitDone : kExitFailed;
    }
    // Says on standard error what went wrong.
    int Fail(const std::string& problem) const {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", m_program, problem.c_str());
        return kExitFailed;
    }

    // How the session ended, in words; called with m_mutex held.
    std::string SessionEnd() const {
        if (m_lostReason == quorex::kChannelLostReason) return "the exchange closed the connection";
        if (m_lostReason == quorex::kLocalFailureReason) return "a file of the user's could not be written or read (see --verbose)";
        return "the session ended (" + m_lostReason + ")";
    }
    static std::string Result(const TTRspMsg& rsp) {
        return std::string(quorex::FieldText(rsp.RspCode)) + " " + quorex::TextOf(rsp.RspMsg);
    }
    std::string Address() const { return m_options.host + ":" + std::to_string(m_options.port); }
    std::chrono::seconds Timeout() const { return std::chrono::seconds(m_options.timeout); }

    template <class Change>
    void Update(Change&& change) {
        std::lock_guard lock(m_mutex);
        change();
        m_changed.notify_all();
    }
    // What read() returns, read under the lock.
    template <class Read>
    auto Locked(Read&& read) -> decltype(read()) {
        std::lock_guard lock(m_mutex);
        return read();
    }
    // True when the condition held within the limit.
    template <class Condition>
    bool Await(std::chrono::seconds limit, Condition&& condition) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, condition);
    }

    const char* const m_program;
    const TConsoleOptions& m_options;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_loginAnswered = false;
    bool m_ready = false;
    std::string m_loginRefusal;  // "CODE message" when the login was refused
    int m_sent = 0;
    int m_answered = 0;
    std::vector<std::string> m_failures;
    bool m_logoutAnswered = false;
    bool m_lost = false;
    std::string m_lostReason;
};

}  // namespace examples
