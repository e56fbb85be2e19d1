#include "updater/update_feed.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <string>

#include "encoding/utf8.h"

namespace ostrel::updater {
namespace {

constexpr size_t kMaxVersionNumbers = 8;
constexpr size_t kMaxVersionDigits = 9;  // fits uint32_t
constexpr size_t kMaxAddressLength = 2048;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsAsciiAlnum(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

std::u16string LowerCopy(std::u16string_view text) {
  std::u16string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  return lower;
}

bool ValidHostName(std::u16string_view host) {
  if (host.empty() || host.front() == u'.' || host.front() == u'-') return false;
  return std::all_of(host.begin(), host.end(), [](char16_t c) { return IsAsciiAlnum(c) || c == u'.' || c == u'-'; });
}

bool ValidIpv6Literal(std::u16string_view host) {
  if (host.find(u':') == std::u16string_view::npos) return false;
  return std::all_of(host.begin(), host.end(), [](char16_t c) { return IsHexDigit(c) || c == u':' || c == u'.'; });
}

// --- the feed's JSON -----------------------------------------------------------

using Json = nlohmann::json;

// Collects the members of one flat object of strings and stops the parser at anything else,
// so a deep or huge document is never built.
class FeedMembers final : public nlohmann::json_sax<Json> {
 public:
  FeedProblem problem = FeedProblem::kNone;
  size_t offset = 0;
  std::map<std::string, std::string> members;

  bool start_object(std::size_t) override { return depth_++ == 0 || Refuse(FeedProblem::kNotFlat); }
  bool end_object() override {
    --depth_;
    return true;
  }
  bool key(string_t& name) override {
    key_ = name;
    return !members.contains(name) || Refuse(FeedProblem::kDuplicateName);
  }
  bool string(string_t& value) override {
    if (depth_ != 1) return Refuse(FeedProblem::kNotFlat);
    members.emplace(std::move(key_), std::move(value));
    return true;
  }
  bool null() override { return Refuse(FeedProblem::kNotFlat); }
  bool boolean(bool) override { return Refuse(FeedProblem::kNotFlat); }
  bool number_integer(number_integer_t) override { return Refuse(FeedProblem::kNotFlat); }
  bool number_unsigned(number_unsigned_t) override { return Refuse(FeedProblem::kNotFlat); }
  bool number_float(number_float_t, const string_t&) override { return Refuse(FeedProblem::kNotFlat); }
  bool binary(binary_t&) override { return Refuse(FeedProblem::kNotFlat); }
  bool start_array(std::size_t) override { return Refuse(FeedProblem::kNotFlat); }
  bool end_array() override { return Refuse(FeedProblem::kNotFlat); }

  // `position` counts the bytes read, the one that ended the reading included.
  bool parse_error(std::size_t position, const std::string&, const Json::exception& error) override {
    const std::string_view what = error.what();
    const bool badText = what.find("UTF-8") != std::string_view::npos || what.find("surrogate") != std::string_view::npos;
    problem = badText ? FeedProblem::kBadText : FeedProblem::kSyntax;
    offset = position > 0 ? position - 1 : 0;
    return false;
  }

 private:
  bool Refuse(FeedProblem why) {
    problem = why;
    return false;
  }

  int depth_ = 0;
  std::string key_;
};

// The library has checked the UTF-8 already; a U+FEFF that opens a value is kept, which the
// decoder would take for a byte-order mark.
std::u16string Utf16(std::string_view utf8) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::u16string text;
  if (utf8.starts_with(kByteOrderMark)) text = u"\uFEFF";
  return text + DecodeUtf8(utf8).value_or(std::u16string());
}

}  // namespace

std::optional<Version> ParseVersion(std::u16string_view text) {
  Version version;
  size_t i = 0;
  for (;;) {
    const size_t start = i;
    uint32_t number = 0;
    while (i < text.size() && IsDigit(text[i])) number = number * 10 + static_cast<uint32_t>(text[i++] - u'0');
    if (i == start || i - start > kMaxVersionDigits) return std::nullopt;
    version.push_back(number);
    if (version.size() > kMaxVersionNumbers) return std::nullopt;
    if (i == text.size()) return version;
    if (text[i++] != u'.') return std::nullopt;
  }
}

int CompareVersions(const Version& a, const Version& b) {
  const size_t length = std::max(a.size(), b.size());
  for (size_t i = 0; i < length; ++i) {
    const uint32_t left = i < a.size() ? a[i] : 0;
    const uint32_t right = i < b.size() ? b[i] : 0;
    if (left != right) return left < right ? -1 : 1;
  }
  return 0;
}

bool IsLoopbackHost(std::u16string_view host) {
  const std::u16string lower = LowerCopy(host);
  return lower == u"localhost" || lower == u"127.0.0.1" || lower == u"::1";
}

AddressCheck CheckAddress(std::u16string_view text, const std::optional<AddressPieces>& pieces) {
  AddressCheck check;
  if (!pieces || text.empty() || text.size() > kMaxAddressLength) return check;
  // Printable ASCII only: blanks, control characters and backslashes are read differently by
  // each program that sees the address.
  if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return c > 0x20 && c < 0x7F && c != u'\\'; })) {
    return check;
  }
  if (pieces->scheme == AddressPieces::Scheme::kOther) return check;
  if (!pieces->userName.empty() || !pieces->password.empty()) return check;
  if (pieces->port == 0) return check;

  WebAddress& address = check.address;
  address.secure = pieces->scheme == AddressPieces::Scheme::kHttps;
  address.port = pieces->port;
  std::u16string_view host = pieces->host;
  if (host.size() >= 2 && host.front() == u'[' && host.back() == u']') {
    host = host.substr(1, host.size() - 2);
    if (!ValidIpv6Literal(host)) return check;
  } else if (!ValidHostName(host)) {
    return check;
  }
  address.host = std::u16string(host);

  std::u16string target = pieces->path + pieces->extra;
  target.resize(std::min(target.find(u'#'), target.size()));
  address.pathAndQuery = target.empty() || target.front() != u'/' ? u"/" + target : target;

  check.problem = address.secure || IsLoopbackHost(address.host) ? AddressProblem::kNone
                                                                 : AddressProblem::kPlainHttpRemote;
  return check;
}

FeedParse ParseFeed(std::string_view bytes) {
  FeedParse result;
  // The library takes a NUL for the end of the text and would not see what follows it; JSON
  // holds no NUL anywhere, not even inside a string.
  if (const size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    result.problem = FeedProblem::kSyntax;
    result.offset = nul;
    return result;
  }
  FeedMembers reader;
  try {
    Json::sax_parse(bytes.begin(), bytes.end(), &reader);
  } catch (...) {
    // Nothing the reader does should throw; a feed that makes it throw is still only unreadable.
    if (reader.problem == FeedProblem::kNone) reader.problem = FeedProblem::kSyntax;
  }
  if (reader.problem != FeedProblem::kNone) {
    result.problem = reader.problem;
    result.offset = std::min(reader.offset, bytes.size());
    return result;
  }
  const auto& members = reader.members;
  const auto version = members.find("version");
  if (version == members.end()) {
    result.problem = FeedProblem::kMissingVersion;
    return result;
  }
  const auto page = members.find("url");
  if (page == members.end()) {
    result.problem = FeedProblem::kMissingDownloadPage;
    return result;
  }
  result.feed.versionText = Utf16(version->second);
  const std::optional<Version> parsed = ParseVersion(result.feed.versionText);
  if (!parsed) {
    result.problem = FeedProblem::kBadVersion;
    return result;
  }
  result.feed.version = *parsed;
  result.feed.downloadPage = Utf16(page->second);
  if (const auto notes = members.find("notes"); notes != members.end()) result.feed.notes = Utf16(notes->second);
  return result;
}

const char* FeedProblemName(FeedProblem problem) {
  switch (problem) {
    case FeedProblem::kNone: return "none";
    case FeedProblem::kSyntax: return "not a JSON object of strings";
    case FeedProblem::kBadText: return "invalid UTF-8 or lone surrogate";
    case FeedProblem::kNotFlat: return "a value that is not a string";
    case FeedProblem::kDuplicateName: return "a name given twice";
    case FeedProblem::kMissingVersion: return "no version";
    case FeedProblem::kMissingDownloadPage: return "no url";
    case FeedProblem::kBadVersion: return "malformed version";
    case FeedProblem::kBadDownloadPage: return "download page not allowed";
  }
  return "unknown";
}

}  // namespace ostrel::updater
