// libFuzzer target: any bytes as a feed, and as an address. A feed that is accepted must hold
// what the check relies on: a version that compares and a download page that passes the check.
#include <cstdlib>
#include <string>

#include "updater/update_check.h"
#include "updater/update_feed.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ostrel::updater;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const FeedParse parse = ParseFeed(bytes);
  if (parse.Ok()) {
    const auto again = ParseVersion(parse.feed.versionText);
    if (!again || CompareVersions(*again, parse.feed.version) != 0) std::abort();
    if (!CheckAddress(parse.feed.downloadPage).Allowed()) std::abort();
    NotesForDisplay(parse.feed.notes);
    LogText(parse.feed.notes);
  } else if (parse.offset > size) {
    std::abort();
  }

  // The same bytes read as UTF-16 text for the address and version rules.
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i + 1 < size; i += 2) text[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  const AddressCheck check = CheckAddress(text);
  if (check.Allowed()) {
    if (check.address.host.empty() || check.address.port == 0) std::abort();
    if (check.address.pathAndQuery.empty() || check.address.pathAndQuery.front() != u'/') std::abort();
    if (!check.address.secure && !IsLoopbackHost(check.address.host)) std::abort();
  }
  if (const auto version = ParseVersion(text)) {
    if (version->empty() || CompareVersions(*version, *version) != 0) std::abort();
  }
  return 0;
}
