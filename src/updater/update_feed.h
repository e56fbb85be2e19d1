#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrel::updater {

// A dotted version of decimal numbers, "2.0.1"; missing trailing numbers count as zero.
using Version = std::vector<uint32_t>;

// Digits separated by single dots, at most 8 numbers of at most 9 digits each; anything else
// (blanks, a sign, a letter, an empty number) is not a version.
std::optional<Version> ParseVersion(std::u16string_view text);

// Negative, zero or positive as `a` is older than, the same as or newer than `b`.
int CompareVersions(const Version& a, const Version& b);

// An address the updater may fetch or open, in the pieces WinHTTP is given, so that what is
// contacted is exactly what was checked.
struct WebAddress {
  bool secure = false;             // https
  std::u16string host;             // without the brackets of an IPv6 literal
  uint16_t port = 0;               // the scheme's own when the address names none
  std::u16string pathAndQuery;     // "/" at least; the fragment is not sent
};

// An address as the system splits it (WinHttpCrackUrl on Windows): the check below judges the
// very pieces that WinHTTP will use rather than its own reading of the text.
struct AddressPieces {
  enum class Scheme { kOther, kHttp, kHttps };
  Scheme scheme = Scheme::kOther;
  std::u16string userName;
  std::u16string password;
  std::u16string host;             // as written, an IPv6 literal in its brackets
  uint16_t port = 0;               // the scheme's own when the address names none
  std::u16string path;
  std::u16string extra;            // the query and the fragment
};

enum class AddressProblem {
  kNone,
  kNotAnAddress,       // not an http or https address we understand
  kPlainHttpRemote,    // http to anything but this machine
};

struct AddressCheck {
  AddressProblem problem = AddressProblem::kNotAnAddress;
  WebAddress address;
  bool Allowed() const { return problem == AddressProblem::kNone; }
};

// Only https goes out to the network. Plain http is allowed to the loopback alone
// (127.0.0.1, [::1], localhost), so that tests can serve a feed from this machine; an update
// offered over plain http from anywhere else could have been altered on the way.
// A user name in the address ("http://127.0.0.1@elsewhere/") and backslashes are refused,
// because browsers and WinHTTP read them differently from what a person sees.
// `pieces` is the system's split of `text`, nothing when it could not split it.
AddressCheck CheckAddress(std::u16string_view text, const std::optional<AddressPieces>& pieces);

bool IsLoopbackHost(std::u16string_view host);

// The feed: one JSON object whose values are all strings, UTF-8 with an optional byte-order mark:
//   {"version": "2.0.2", "url": "https://example.org/download/", "notes": "..."}
// "version" and "url" (the download page, which the check passes through CheckAddress before
// opening it) are required, "notes" is optional and other names are ignored; a name given twice
// makes the feed malformed.
struct UpdateFeed {
  std::u16string versionText;
  Version version;
  std::u16string downloadPage;
  std::u16string notes;
};

enum class FeedProblem {
  kNone,
  kSyntax,              // not JSON
  kBadText,             // invalid UTF-8 or a lone surrogate
  kNotFlat,             // JSON, but not one object whose values are all strings
  kDuplicateName,
  kMissingVersion,
  kMissingDownloadPage,
  kBadVersion,
  kBadDownloadPage,     // found by the check, which splits the address as the system does
};

struct FeedParse {
  FeedProblem problem = FeedProblem::kNone;
  size_t offset = 0;  // with a syntax or text problem: the byte at which the reader gave up
  UpdateFeed feed;
  bool Ok() const { return problem == FeedProblem::kNone; }
};

FeedParse ParseFeed(std::string_view bytes);

// A few ASCII words for the log.
const char* FeedProblemName(FeedProblem problem);

}  // namespace ostrel::updater
