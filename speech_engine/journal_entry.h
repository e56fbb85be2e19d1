// The journal's entries, built the same way by the simulated and the real engine.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::orvatone {

// Upper-case hexadecimal of the bytes, no separators.
std::string HexOf(std::string_view bytes);

// "Operation L".
std::string JournalEntry(std::string_view operation, int language);

// " value" appended.
void AppendNumber(std::string& entry, long long value);

}  // namespace ostrel::orvatone
