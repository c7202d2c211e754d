#include "tools/reference/ReferenceCommand.h"

#include <fstream>
#include <iostream>
#include <string>

#include "examples/CommandLine.h"
#include "tools/reference/ReferenceWriter.h"

namespace quorex::reference {
namespace {

constexpr const char* kProgram = "quorex-reference";
constexpr const char* kUsage =
    "usage: quorex-reference [OUTPUT-FILE]\n"
    "       quorex-reference --help | --version\n"
    "Writes the library's reference (Markdown: every request method, callback, package type,\n"
    "record and code value) from its tables, on standard output or into OUTPUT-FILE. The tables\n"
    "are checked against each other first; when they disagree, the disagreements are listed on\n"
    "standard error and nothing is written.\n"
    "Exit status: 0 when written, 1 when the tables disagree or the file cannot be written, 2 for\n"
    "a mistake on the command line.\n";

}  // namespace

int RunReference(int argc, char** argv) {
    std::string output;
    const auto takeArgument = [&](examples::CArguments& arguments) {
        const std::string& argument = arguments.Option();
        if (argument.size() > 1 && argument.front() == '-') return false;
        if (!output.empty()) throw examples::CCommandLineError("one output file at most, not also " + argument);
        output = argument;
        return true;
    };
    if (const auto ended = examples::ReadCommandLine(argc, argv, kProgram, kUsage, takeArgument)) return *ended;

    const Tables tables = LibraryTables();
    const std::vector<std::string> problems = FindInconsistencies(tables);
    for (const std::string& problem : problems) std::cerr << kProgram << ": " << problem << "\n";
    if (!problems.empty()) return 1;
    if (output.empty()) {
        WriteReference(tables, std::cout);
        return std::cout.flush() ? 0 : 1;
    }
    std::ofstream file(output, std::ios::binary);
    WriteReference(tables, file);
    file.close();
    if (!file) {
        std::cerr << kProgram << ": cannot write " << output << "\n";
        return 1;
    }
    return 0;
}

}  // namespace quorex::reference
