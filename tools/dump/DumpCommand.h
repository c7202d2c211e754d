// quorex-dump's command: the command line and the dump of one flow file pair (a received-package
// log "log<ID>.id"/"log<ID>.con", any other flow of XTP packages, or the simulator's request
// journal "requests.id"/"requests.con"), one line per package or journal entry.
// Stateless; any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace quorex::dump {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDamaged = 1;  // a file could not be read or is damaged
inline constexpr int kExitUsage = 2;

struct DumpOptions {
    std::string idFile;
    std::string contentFile;
    std::set<std::uint32_t> tids;  // empty: every package
    bool journal = false;          // the pair is exchange-sim's request journal
};

struct CommandLine {
    enum class Action { kDump, kHelp, kVersion, kError } action = Action::kDump;
    DumpOptions options;
    std::string error;  // for kError: what was wrong, for example "--tid: xyz is not a package type"
};

CommandLine ParseCommandLine(std::span<const std::string_view> arguments);

// A package type as written on the command line (hexadecimal, with or without 0x), if it is one
// the catalogue knows or one of the types passed on without a definition (0x10000000 and above).
std::optional<std::uint32_t> ParsePackageType(std::string_view text);

std::string UsageText();

// Prints the packages (or journal entries) of the pair to out; an error naming the file and the
// byte position goes to err. Returns kExitOk, or kExitDamaged after the lines printed before the
// damage.
int DumpFlow(const DumpOptions& options, std::ostream& out, std::ostream& err);

// The whole program: parses, prints help, version or the dump, and returns the exit code.
int RunDump(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

}  // namespace quorex::dump
