// Where the library's diagnostics go. The library prints a few lines of its own: the error reports
// of its threads ("design error:\n...", "runtime error:\n..."), failed connections, lost sessions,
// malformed packages and the like. By default each goes to standard output as it always has. A
// host program that keeps a log of its own installs a sink instead and receives every one of them.
//
// Thread contract: the sink is called on whatever thread reports, most often an API object's
// reactor thread, possibly on several threads at once; it must return promptly and must not call
// back into the library (no requests, no SetLogSink). SetLogSink is safe to call at any time from
// any thread: it waits until no message is inside the sink it replaces, so once it has returned
// the old sink and its context are no longer used and may be released.
#pragma once

#include "quorex/Export.h"

namespace quorex {

// kError: something failed (a connection, a package, a file, a thread's error report);
// kDiagnostic: everything else the library says about itself.
enum class LogLevel { kDiagnostic, kError };

// text: one message without its final line break (an error report spans several lines), valid
// only during the call. The library's own words are UTF-8 where they are not ASCII ("日期变更，
// 修改接收断点!"); the file names and error texts a message carries are passed on as they are.
using LogSink = void (*)(LogLevel level, const char* text, void* context);

// Sends every later message to sink(level, text, context); nullptr sends them to standard output
// again. SetLogSink(quorex::DiscardLog, nullptr) silences the library.
QUOREX_API void SetLogSink(LogSink sink, void* context);

// A sink that drops every message.
QUOREX_API void DiscardLog(LogLevel level, const char* text, void* context);

}  // namespace quorex
