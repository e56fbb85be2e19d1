// The core's way into a log. Core code has no file or debugger of its own; the program or the
// library that holds it sets a sink, and until then (and in most native tests) records go nowhere.
#pragma once
#include <string>
#include <string_view>

namespace ostrel {

enum class LogLevel { kInfo, kWarning, kError };

using LogSink = void (*)(LogLevel level, std::string_view message) noexcept;

// Set once at start, before any thread that logs; nullptr drops every record.
void SetLogSink(LogSink sink) noexcept;
void Log(LogLevel level, std::string_view message) noexcept;
// For a catch (...) that goes on: an error record of `where` and what the exception said.
void LogCaught(std::string_view where) noexcept;

// What the exception in flight said ("bad_alloc: std::bad_alloc", "unknown exception");
// call only inside a catch block.
std::string CurrentExceptionText();

}  // namespace ostrel
