// libFuzzer target: any bytes as a feed, and as the pieces of an address. A feed that is
// accepted must hold what the check relies on: a version that compares, text that encodes.
#include <cstdlib>
#include <string>

#include "updater/update_check.h"
#include "updater/update_feed.h"

namespace {

using ostrel::updater::AddressPieces;

// The UTF-16 text cut at U+0001 into the pieces; the first unit picks the scheme and the port.
AddressPieces PiecesOf(const std::u16string& text) {
  AddressPieces pieces;
  if (text.empty()) return pieces;
  pieces.scheme = static_cast<AddressPieces::Scheme>(text[0] % 3);
  pieces.port = static_cast<uint16_t>(text[0] >> 2);
  std::u16string* fields[] = {&pieces.host, &pieces.path, &pieces.extra, &pieces.userName, &pieces.password};
  size_t field = 0;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] == u'\x01') {
      if (++field == std::size(fields)) break;
    } else {
      *fields[field] += text[i];
    }
  }
  return pieces;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ostrel::updater;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const FeedParse parse = ParseFeed(bytes);
  if (parse.Ok()) {
    const auto again = ParseVersion(parse.feed.versionText);
    if (!again || CompareVersions(*again, parse.feed.version) != 0) std::abort();
    NotesForDisplay(parse.feed.notes);
    LogText(parse.feed.notes);
    LogText(parse.feed.downloadPage);
  } else if (parse.offset > size) {
    std::abort();
  }

  // The same bytes read as UTF-16 for the address and version rules.
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i + 1 < size; i += 2) text[i / 2] = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  const AddressCheck check = CheckAddress(u"https://written.example/", PiecesOf(text));
  if (check.Allowed()) {
    if (check.address.host.empty() || check.address.port == 0) std::abort();
    if (check.address.pathAndQuery.empty() || check.address.pathAndQuery.front() != u'/') std::abort();
    if (check.address.pathAndQuery.find(u'#') != std::u16string::npos) std::abort();
    if (!check.address.secure && !IsLoopbackHost(check.address.host)) std::abort();
  }
  if (const auto version = ParseVersion(text)) {
    if (version->empty() || CompareVersions(*version, *version) != 0) std::abort();
  }
  return 0;
}
