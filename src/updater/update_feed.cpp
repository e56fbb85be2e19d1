#include "updater/update_feed.h"

#include <algorithm>
#include <map>

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

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != prefix[i]) return false;
  }
  return true;
}

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

class FeedReader {
 public:
  explicit FeedReader(std::string_view bytes) : bytes_(bytes) {}

  FeedProblem problem = FeedProblem::kNone;
  size_t offset = 0;

  // The object's members, or nothing with `problem` and `offset` set.
  std::optional<std::map<std::u16string, std::u16string>> ReadObject() {
    if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    std::map<std::u16string, std::u16string> members;
    SkipBlanks();
    if (!Take('{')) return Fail(FeedProblem::kSyntax);
    SkipBlanks();
    if (!Take('}')) {
      for (;;) {
        SkipBlanks();
        const size_t nameAt = pos_;
        std::optional<std::u16string> name = ReadString();
        if (!name) return std::nullopt;
        SkipBlanks();
        if (!Take(':')) return Fail(FeedProblem::kSyntax);
        SkipBlanks();
        std::optional<std::u16string> value = ReadString();
        if (!value) return std::nullopt;
        if (!members.emplace(std::move(*name), std::move(*value)).second) {
          pos_ = nameAt;
          return Fail(FeedProblem::kDuplicateName);
        }
        SkipBlanks();
        if (Take('}')) break;
        if (!Take(',')) return Fail(FeedProblem::kSyntax);
      }
    }
    SkipBlanks();
    if (pos_ != bytes_.size()) return Fail(FeedProblem::kSyntax);
    return members;
  }

 private:
  std::nullopt_t Fail(FeedProblem why) {
    if (problem == FeedProblem::kNone) {
      problem = why;
      offset = pos_;
    }
    return std::nullopt;
  }

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  unsigned char Peek() const { return static_cast<unsigned char>(bytes_[pos_]); }

  bool Take(char c) {
    if (AtEnd() || bytes_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  void SkipBlanks() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) ++pos_;
  }

  std::optional<char32_t> ReadHex4() {
    if (bytes_.size() - pos_ < 4) return std::nullopt;
    char32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = bytes_[pos_ + i];
      value <<= 4;
      if (c >= '0' && c <= '9') value |= static_cast<char32_t>(c - '0');
      else if (c >= 'a' && c <= 'f') value |= static_cast<char32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') value |= static_cast<char32_t>(c - 'A' + 10);
      else return std::nullopt;
    }
    pos_ += 4;
    return value;
  }

  // After a backslash: one escaped code point, a surrogate pair joined.
  std::optional<char32_t> ReadEscape() {
    if (AtEnd()) return Fail(FeedProblem::kSyntax);
    const char c = bytes_[pos_++];
    switch (c) {
      case '"': return U'"';
      case '\\': return U'\\';
      case '/': return U'/';
      case 'b': return U'\b';
      case 'f': return U'\f';
      case 'n': return U'\n';
      case 'r': return U'\r';
      case 't': return U'\t';
      case 'u': break;
      default: --pos_; return Fail(FeedProblem::kSyntax);
    }
    const size_t unitAt = pos_ - 2;
    const std::optional<char32_t> unit = ReadHex4();
    if (!unit) return Fail(FeedProblem::kSyntax);
    if (*unit >= 0xDC00 && *unit <= 0xDFFF) {
      pos_ = unitAt;
      return Fail(FeedProblem::kBadText);
    }
    if (*unit < 0xD800 || *unit > 0xDBFF) return *unit;
    if (bytes_.substr(pos_, 2) != "\\u") {
      pos_ = unitAt;
      return Fail(FeedProblem::kBadText);
    }
    pos_ += 2;
    const std::optional<char32_t> low = ReadHex4();
    if (!low) return Fail(FeedProblem::kSyntax);
    if (*low < 0xDC00 || *low > 0xDFFF) {
      pos_ = unitAt;
      return Fail(FeedProblem::kBadText);
    }
    return 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
  }

  // One UTF-8 sequence, shortest form, no surrogates, at most U+10FFFF; a failure is reported
  // where the sequence starts.
  std::optional<char32_t> ReadUtf8() {
    size_t next = pos_;
    const std::optional<char32_t> value = NextUtf8Scalar(bytes_, next);
    if (!value) return Fail(FeedProblem::kBadText);
    pos_ = next;
    return value;
  }

  std::optional<std::u16string> ReadString() {
    if (!Take('"')) return Fail(FeedProblem::kSyntax);
    std::u16string text;
    for (;;) {
      if (AtEnd()) return Fail(FeedProblem::kSyntax);
      const unsigned char c = Peek();
      if (c == '"') {
        ++pos_;
        return text;
      }
      if (c < 0x20) return Fail(FeedProblem::kSyntax);
      std::optional<char32_t> code;
      if (c == '\\') {
        ++pos_;
        code = ReadEscape();
      } else if (c < 0x80) {
        ++pos_;
        code = c;
      } else {
        code = ReadUtf8();
      }
      if (!code) return std::nullopt;
      AppendUtf16(text, *code);
    }
  }

  std::string_view bytes_;
  size_t pos_ = 0;
};

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

AddressCheck CheckAddress(std::u16string_view text) {
  AddressCheck check;
  if (text.empty() || text.size() > kMaxAddressLength) return check;
  // Printable ASCII only: blanks, control characters and backslashes are read differently by
  // each program that sees the address.
  if (!std::all_of(text.begin(), text.end(), [](char16_t c) { return c > 0x20 && c < 0x7F && c != u'\\'; })) {
    return check;
  }
  WebAddress& address = check.address;
  std::u16string_view rest;
  if (StartsWithNoCase(text, u"https://")) {
    address.secure = true;
    rest = text.substr(8);
  } else if (StartsWithNoCase(text, u"http://")) {
    rest = text.substr(7);
  } else {
    return check;
  }
  const size_t authorityEnd = std::min(rest.find_first_of(u"/?#"), rest.size());
  std::u16string_view authority = rest.substr(0, authorityEnd);
  if (authority.find(u'@') != std::u16string_view::npos) return check;

  std::u16string_view host;
  std::u16string_view port;
  if (!authority.empty() && authority.front() == u'[') {
    const size_t close = authority.find(u']');
    if (close == std::u16string_view::npos) return check;
    host = authority.substr(1, close - 1);
    if (!ValidIpv6Literal(host)) return check;
    const std::u16string_view after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != u':') return check;
      port = after.substr(1);
      if (port.empty()) return check;
    }
  } else {
    const size_t colon = authority.find(u':');
    host = authority.substr(0, colon);
    if (colon != std::u16string_view::npos) {
      port = authority.substr(colon + 1);
      if (port.empty()) return check;
    }
    if (!ValidHostName(host)) return check;
  }
  address.port = address.secure ? 443 : 80;
  if (!port.empty()) {
    if (port.size() > 5 || !std::all_of(port.begin(), port.end(), IsDigit)) return check;
    uint32_t number = 0;
    for (char16_t c : port) number = number * 10 + static_cast<uint32_t>(c - u'0');
    if (number == 0 || number > 65535) return check;
    address.port = static_cast<uint16_t>(number);
  }
  address.host = std::u16string(host);

  std::u16string_view target = rest.substr(authorityEnd);
  target = target.substr(0, std::min(target.find(u'#'), target.size()));
  address.pathAndQuery = target.empty() || target.front() != u'/' ? u"/" + std::u16string(target) : std::u16string(target);

  check.problem = address.secure || IsLoopbackHost(address.host) ? AddressProblem::kNone
                                                                 : AddressProblem::kPlainHttpRemote;
  return check;
}

FeedParse ParseFeed(std::string_view bytes) {
  FeedParse result;
  FeedReader reader(bytes);
  const auto members = reader.ReadObject();
  if (!members) {
    result.problem = reader.problem;
    result.offset = reader.offset;
    return result;
  }
  const auto version = members->find(u"version");
  if (version == members->end()) {
    result.problem = FeedProblem::kMissingVersion;
    return result;
  }
  const auto page = members->find(u"url");
  if (page == members->end()) {
    result.problem = FeedProblem::kMissingDownloadPage;
    return result;
  }
  const std::optional<Version> parsed = ParseVersion(version->second);
  if (!parsed) {
    result.problem = FeedProblem::kBadVersion;
    return result;
  }
  if (!CheckAddress(page->second).Allowed()) {
    result.problem = FeedProblem::kBadDownloadPage;
    return result;
  }
  result.feed.versionText = version->second;
  result.feed.version = *parsed;
  result.feed.downloadPage = page->second;
  if (const auto notes = members->find(u"notes"); notes != members->end()) result.feed.notes = notes->second;
  return result;
}

const char* FeedProblemName(FeedProblem problem) {
  switch (problem) {
    case FeedProblem::kNone: return "none";
    case FeedProblem::kSyntax: return "not a JSON object of strings";
    case FeedProblem::kBadText: return "invalid UTF-8 or lone surrogate";
    case FeedProblem::kDuplicateName: return "a name given twice";
    case FeedProblem::kMissingVersion: return "no version";
    case FeedProblem::kMissingDownloadPage: return "no url";
    case FeedProblem::kBadVersion: return "malformed version";
    case FeedProblem::kBadDownloadPage: return "download page not allowed";
  }
  return "unknown";
}

}  // namespace ostrel::updater
