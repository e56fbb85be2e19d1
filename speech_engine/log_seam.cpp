#include "log_seam.h"

#include <atomic>
#include <exception>
#include <new>

namespace ostrel {
namespace {

std::atomic<LogSink> sink{nullptr};

}  // namespace

void SetLogSink(LogSink newSink) noexcept { sink.store(newSink); }

void Log(LogLevel level, std::string_view message) noexcept {
  if (const LogSink current = sink.load()) current(level, message);
}

void LogCaught(std::string_view where) noexcept {
  const LogSink current = sink.load();
  if (current == nullptr) return;
  try {
    std::string message(where);
    message += ": ";
    message += CurrentExceptionText();
    current(LogLevel::kError, message);
  } catch (...) {
    // No memory for the message: the place alone still tells where.
    current(LogLevel::kError, where);
  }
}

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return "out of memory";
  } catch (const std::exception& e) {
    return std::string("exception: ") + e.what();
  } catch (...) {
    return "unknown exception";
  }
}

}  // namespace ostrel
