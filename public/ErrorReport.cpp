#include "public/ErrorReport.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <shared_mutex>
#include <string>

namespace quorex {
namespace {

// The host's sink. Messages hold the lock shared while they are inside the sink (so reporting
// threads never wait for each other), SetLogSink holds it exclusively, so that a replaced sink is
// never called after SetLogSink has returned.
struct TLogRoute {
    std::shared_mutex mutex;
    LogSink sink = nullptr;
    void* context = nullptr;
};

TLogRoute& Route() {
    static TLogRoute route;
    return route;
}

// Most messages fit here; a longer one (a long file name, say) is formatted on the heap.
constexpr int kInlineMessageCapacity = 512;

void Deliver(const TLogRoute& route, LogLevel level, char* text, std::size_t length) {
    if (length > 0 && text[length - 1] == '\n') text[length - 1] = '\0';
    route.sink(level, text, route.context);
}

void Print(const char* kind, const CError& error) {
    Log(LogLevel::kError, "%s error:\n%s\nin file %s, line %d\n", kind, error.GetMessage(), error.GetFile(),
        error.GetLine());
    FlushLog();
}

}  // namespace

void SetLogSink(LogSink sink, void* context) {
    TLogRoute& route = Route();
    std::unique_lock lock(route.mutex);
    route.sink = sink;
    route.context = context;
}

void DiscardLog(LogLevel, const char*, void*) {}

void Log(LogLevel level, const char* format, ...) {
    TLogRoute& route = Route();
    std::shared_lock lock(route.mutex);
    va_list args;
    va_start(args, format);
    if (route.sink == nullptr) {
        std::vprintf(format, args);
        va_end(args);
        return;
    }
    va_list again;
    va_copy(again, args);
    char text[kInlineMessageCapacity];
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length >= 0 && length < kInlineMessageCapacity) {
        Deliver(route, level, text, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        std::string longer(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(longer.data(), longer.size(), format, again);
        Deliver(route, level, longer.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
}

void FlushLog() {
    TLogRoute& route = Route();
    std::shared_lock lock(route.mutex);
    if (route.sink == nullptr) std::fflush(stdout);
}

void ReportError(const CDesignError& error) { Print("design", error); }
void ReportError(const CRuntimeError& error) { Print("runtime", error); }

}  // namespace quorex
