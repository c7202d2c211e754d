// Writes the reference documentation (Markdown) from the rows of ReferenceTables.h and the
// client's code tables, and checks the rows against each other first. Stateless; any thread.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/reference/ReferenceTables.h"

namespace quorex::reference {

struct Tables {
    std::vector<RecordRow> records;
    std::vector<PackageRow> packages;
    std::vector<RequestRow> requests;
    std::vector<CallbackRow> callbacks;
    std::vector<LoginRow> logins;
};

// The library's tables as the .def files declare them.
Tables LibraryTables();

// Rows that contradict each other: a request or callback whose package type is not in the
// catalogue or does not carry its record, a package field naming an unknown record, a login row
// naming a request or a member that does not exist. Empty when the tables agree.
std::vector<std::string> FindInconsistencies(const Tables& tables);

// The whole reference, deterministic: the same tables always give the same bytes.
void WriteReference(const Tables& tables, std::ostream& out);

}  // namespace quorex::reference
