// quorex-reference: prints the reference documentation generated from the library's tables
// (Markdown, on standard output, or into the file given as the only argument; see --help).
#include "tools/reference/ReferenceCommand.h"

int main(int argc, char** argv) { return quorex::reference::RunReference(argc, argv); }
