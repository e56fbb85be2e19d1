#include "journal_entry.h"

namespace ostrel::orvatone {

std::string HexOf(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  return hex;
}

std::string JournalEntry(std::string_view operation, int language) {
  std::string entry(operation);
  AppendNumber(entry, language);
  return entry;
}

void AppendNumber(std::string& entry, long long value) {
  entry += ' ';
  entry += std::to_string(value);
}

}  // namespace ostrel::orvatone
