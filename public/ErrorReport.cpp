#include "public/ErrorReport.h"

#include <cstdio>

namespace quorex {
namespace {

void Print(const char* kind, const CError& error) {
    std::printf("%s error:\n%s\nin file %s, line %d\n", kind, error.GetMessage(), error.GetFile(), error.GetLine());
    std::fflush(stdout);
}

}  // namespace

void ReportError(const CDesignError& error) { Print("design", error); }
void ReportError(const CRuntimeError& error) { Print("runtime", error); }

}  // namespace quorex
