// quorex-reference: prints the reference documentation generated from the library's tables
// (Markdown, on standard output, or into the file given as the only argument).
#include <fstream>
#include <iostream>

#include "tools/reference/ReferenceWriter.h"

int main(int argc, char** argv) {
    using namespace quorex::reference;
    if (argc > 2) {
        std::cerr << "usage: quorex-reference [OUTPUT-FILE]\n";
        return 2;
    }
    const Tables tables = LibraryTables();
    const std::vector<std::string> problems = FindInconsistencies(tables);
    for (const std::string& problem : problems) std::cerr << "quorex-reference: " << problem << "\n";
    if (!problems.empty()) return 1;
    if (argc == 1) {
        WriteReference(tables, std::cout);
        return std::cout.flush() ? 0 : 1;
    }
    std::ofstream file(argv[1], std::ios::binary);
    WriteReference(tables, file);
    file.close();
    if (!file) {
        std::cerr << "quorex-reference: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
