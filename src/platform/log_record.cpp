#include "platform/log_record.h"

#include <cstdio>

namespace ostrel {
namespace {

// Cuts at a character boundary: a record is UTF-8 from end to end.
std::string_view CutUtf8(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

std::string_view LogLevelWord(LogLevel level) {
  switch (level) {
    case LogLevel::kInfo:
      return "INFO";
    case LogLevel::kWarning:
      return "WARN";
    case LogLevel::kError:
      return "ERROR";
  }
  return "INFO";
}

std::string FormatLogRecord(const LogStamp& stamp, LogLevel level, std::string_view source,
                            std::string_view message) {
  char head[80];
  std::snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d:%02d.%03d %lu/%lu ", stamp.year, stamp.month, stamp.day,
                stamp.hour, stamp.minute, stamp.second, stamp.millisecond, static_cast<unsigned long>(stamp.process),
                static_cast<unsigned long>(stamp.thread));
  const bool cut = message.size() > kLogMessageLimit;
  message = CutUtf8(message, kLogMessageLimit);
  std::string record = head;
  record += LogLevelWord(level);
  record += ' ';
  record += source;
  record += ": ";
  const std::size_t start = record.size();
  for (const char c : message) record += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
  while (record.size() > start && record.back() == ' ') record.pop_back();
  if (cut) record += " ...";
  record += "\r\n";
  return record;
}

}  // namespace ostrel
