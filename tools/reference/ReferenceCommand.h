// The command line of quorex-reference: --help and --version as every program of the project has
// them, at most one output file, mistakes named with exit code 2 (examples/CommandLine.h).
// Runs on the main thread.
#pragma once

namespace quorex::reference {

// Exit codes: 0 written (or --help, --version), 1 the tables disagree or the file cannot be
// written, 2 a mistake on the command line (nothing is written).
int RunReference(int argc, char** argv);

}  // namespace quorex::reference
