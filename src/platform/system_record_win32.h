#pragma once
#include <string>

namespace ostrel {

// What a support request first needs to know: the program's version, the system's version
// (and Wine's, where it runs under Wine), the screen's DPI and the user's interface language.
std::string SystemRecord();

}  // namespace ostrel
