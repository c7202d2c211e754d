// Prints a library error on standard output in its fixed format: "design error:\n...", or
// "runtime error:\n..." followed by the message, the source module and the line.
#pragma once

#include "quorex/Errors.h"

namespace quorex {

void ReportError(const CDesignError& error);
void ReportError(const CRuntimeError& error);

}  // namespace quorex
