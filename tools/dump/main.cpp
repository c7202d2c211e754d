// quorex-dump: prints a flow file pair of XTP packages, one line per package (see --help).
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/dump/DumpCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    return quorex::dump::RunDump(arguments, std::cout, std::cerr);
}
