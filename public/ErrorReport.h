// The one way the library's texts leave it: the error reports of library errors ("design
// error:\n...", "runtime error:\n..." followed by the message, the source module and the line) and
// the printf-style diagnostic lines of the kernel and the API. They go to the host's sink when one
// is set (quorex/Log.h), otherwise to standard output exactly as formatted. Safe to call from any
// thread.
#pragma once

#include "quorex/Errors.h"
#include "quorex/Log.h"

namespace quorex {

void ReportError(const CDesignError& error);
void ReportError(const CRuntimeError& error);

// One message in printf style. The format ends with its line break as printed on standard output;
// a sink gets the text without it.
void Log(LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Flushes standard output when the messages go there; a sink needs no flushing.
void FlushLog();

}  // namespace quorex
