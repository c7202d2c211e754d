// The command lines of the example programs, read one way: --help prints the program's usage and
// --version its name and the library's version (both exit 0); every other option is the
// program's, and its values are read with checks that say what is wrong ("--port: 99999 is not a
// port 0-65535", "unknown option --x"), after which the program exits 2. Header-only, so that the
// examples build from the installed package alone. Used on the main thread before anything else.
#pragma once

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "quorex/Version.h"

namespace examples {

// A mistake on the command line; what() is the text shown to the user.
class CCommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Walks the arguments one option at a time. The readers take the current option's values in
// order and throw CCommandLineError naming the option and the value when one is missing or bad.
class CArguments {
public:
    CArguments(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

    // Moves to the next option; false when the arguments are used up.
    bool NextOption() {
        if (m_next >= m_argc) return false;
        m_option = m_argv[m_next++];
        return true;
    }
    const std::string& Option() const { return m_option; }

    std::string Text() {
        if (m_next >= m_argc) throw CCommandLineError(m_option + ": a value is missing");
        return m_argv[m_next++];
    }
    long Integer(long low, long high) {
        return ParsedInteger(low, high, "is not a whole number " + std::to_string(low) + "-" + std::to_string(high));
    }
    int Port() { return static_cast<int>(ParsedInteger(0, 65535, "is not a port 0-65535")); }
    // A positive, finite price.
    double Price() {
        const std::string value = Text();
        char* end = nullptr;
        errno = 0;
        const double price = std::strtod(value.c_str(), &end);
        if (value.empty() || *end != '\0' || errno != 0 || !std::isfinite(price) || price <= 0)
            Refuse(value, "is not a price");
        return price;
    }
    // One character out of `choices`.
    char OneOf(std::string_view choices) {
        const std::string value = Text();
        if (value.size() != 1 || choices.find(value[0]) == std::string_view::npos) {
            std::string listed;
            for (const char choice : choices) listed += (listed.empty() ? "" : ", ") + std::string(1, choice);
            Refuse(value, "is not one of " + listed);
        }
        return value[0];
    }
    char Character() {
        const std::string value = Text();
        if (value.size() != 1) Refuse(value, "is not a single character");
        return value[0];
    }
    [[noreturn]] void RefuseOption() const { throw CCommandLineError("unknown option " + m_option); }

private:
    long ParsedInteger(long low, long high, const std::string& complaint) {
        const std::string value = Text();
        char* end = nullptr;
        errno = 0;
        const long number = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || errno != 0 || number < low || number > high) Refuse(value, complaint);
        return number;
    }
    [[noreturn]] void Refuse(const std::string& value, const std::string& complaint) const {
        throw CCommandLineError(m_option + ": " + (value.empty() ? "\"\"" : value) + " " + complaint);
    }

    int m_argc;
    char** m_argv;
    int m_next = 1;
    std::string m_option;
};

// Reads the whole command line: takeOption(arguments) handles the program's own options and
// returns false for one it does not know. Returns the exit code when the program is to end now
// (0 after --help or --version, 2 after a mistake, which is shown on standard error), or nothing
// when it goes on.
template <class TakeOption>
std::optional<int> ReadCommandLine(int argc, char** argv, const char* program, const char* usage,
                                   TakeOption&& takeOption) {
    CArguments arguments(argc, argv);
    try {
        while (arguments.NextOption()) {
            if (arguments.Option() == "--help" || arguments.Option() == "-h") {
                std::fputs(usage, stdout);
                return 0;
            }
            if (arguments.Option() == "--version") {
                std::printf("%s %s\n", program, QUOREX_VERSION);
                return 0;
            }
            if (!takeOption(arguments)) arguments.RefuseOption();
        }
    } catch (const CCommandLineError& error) {
        std::fprintf(stderr, "%s: %s\n%s --help shows the options\n", program, error.what(), program);
        return 2;
    }
    return std::nullopt;
}

}  // namespace examples
