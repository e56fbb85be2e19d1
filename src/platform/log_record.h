// One record of a program's log: a single line a person can read and a script can split.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "log_seam.h"

namespace ostrel {

// A log is bounded: once its file has reached this size, the next record first moves it aside
// as the one older file, so a user never has more than twice this on disk per program.
constexpr uint64_t kLogLimitBytes = 1024 * 1024;

// A message longer than this is cut: one runaway record must not push everything else out.
constexpr std::size_t kLogMessageLimit = 2000;

struct LogStamp {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  uint32_t process = 0;
  uint32_t thread = 0;
};

// "2024-05-01 09:30:12.345 4242/17 ERROR Ostrel4: <message>\r\n", UTF-8. Line breaks, tabs and
// other control characters in the message become spaces and trailing blanks (the line end of a
// system's message) are dropped, so that every record stays exactly one line.
std::string FormatLogRecord(const LogStamp& stamp, LogLevel level, std::string_view source,
                            std::string_view message);

// The level's word in a record: INFO, WARN or ERROR.
std::string_view LogLevelWord(LogLevel level);

}  // namespace ostrel
