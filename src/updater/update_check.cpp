#include "updater/update_check.h"

#include <initializer_list>

#include "encoding/utf8.h"
#include "updater/updater_texts.h"

namespace ostrel::updater {
namespace {

constexpr size_t kMaxNotes = 600;

std::u16string Fill(std::u16string_view pattern, std::initializer_list<std::u16string_view> values) {
  std::u16string out;
  auto next = values.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' && next != values.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::string Decimal(uint32_t value) { return std::to_string(value); }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Runs the check up to its outcome and fills in the log's detail.
class Check {
 public:
  Check(UpdateHost& host, CheckMode mode) : host_(host), mode_(mode) {}

  Outcome Run(std::u16string_view programVersionText) {
    const std::optional<std::u16string> feedAddress = host_.FeedAddress();
    if (!feedAddress || feedAddress->empty()) {
      return End(Outcome::kNoFeedAddress, "no FeedUrl value", texts::kNoFeedAddress, Notice::kWarning);
    }
    address_ = *feedAddress;
    const AddressCheck check = CheckAddress(address_, host_.SplitAddress(address_));
    if (!check.Allowed()) {
      return End(Outcome::kAddressRefused,
                 check.problem == AddressProblem::kPlainHttpRemote ? "plain http to another machine"
                                                                   : "not a usable https address",
                 Fill(texts::kAddressRefused, {address_}), Notice::kWarning);
    }
    const std::optional<Version> programVersion = ParseVersion(programVersionText);
    if (!programVersion) {
      return End(Outcome::kMalformed, "the program's own version is unreadable", texts::kUnreadable,
                 Notice::kWarning);
    }

    const FetchResult fetched = host_.Fetch(check.address);
    switch (fetched.kind) {
      case FetchResult::Kind::kUnreachable:
        return End(Outcome::kUnreachable, "error " + Decimal(fetched.code), texts::kUnreachable, Notice::kWarning);
      case FetchResult::Kind::kHttpStatus:
        return End(Outcome::kHttpError, "status " + Decimal(fetched.code),
                   Fill(texts::kHttpError, {Ascii(Decimal(fetched.code))}), Notice::kWarning);
      case FetchResult::Kind::kTooLarge:
        return End(Outcome::kTooLarge, "more than " + Decimal(fetched.code) + " bytes", texts::kUnreadable,
                   Notice::kWarning);
      case FetchResult::Kind::kOk: break;
    }

    const FeedParse parse = ParseFeed(fetched.body);
    if (!parse.Ok()) {
      std::string detail = FeedProblemName(parse.problem);
      if (parse.problem == FeedProblem::kSyntax || parse.problem == FeedProblem::kBadText) {
        detail += " at byte " + std::to_string(parse.offset);
      }
      return End(Outcome::kMalformed, detail, texts::kUnreadable, Notice::kWarning);
    }
    const UpdateFeed& feed = parse.feed;
    if (!CheckAddress(feed.downloadPage, host_.SplitAddress(feed.downloadPage)).Allowed()) {
      return End(Outcome::kMalformed, FeedProblemName(FeedProblem::kBadDownloadPage), texts::kUnreadable,
                 Notice::kWarning);
    }
    const std::u16string programText(programVersionText);
    const std::string versions = "offered " + LogText(feed.versionText) + ", program " + LogText(programText);
    if (CompareVersions(feed.version, *programVersion) <= 0) {
      return End(Outcome::kUpToDate, versions, Fill(texts::kUpToDate, {programText}), Notice::kInformation);
    }

    const std::u16string notes = NotesForDisplay(feed.notes);
    const std::u16string offer =
        Fill(texts::kOffer, {feed.versionText, programText, notes.empty() ? std::u16string() : u"\n\n" + notes});
    if (!host_.AskYesNo(offer)) return End(Outcome::kDeclined, versions, {}, Notice::kInformation);
    const std::string page = versions + ", page " + LogText(feed.downloadPage);
    if (!host_.OpenPage(feed.downloadPage)) {
      return End(Outcome::kOpenFailed, page, Fill(texts::kOpenFailed, {feed.downloadPage}), Notice::kWarning);
    }
    return End(Outcome::kOpened, page, {}, Notice::kInformation);
  }

 private:
  // A person who started the check is told how it ended; at start-up only the offer shows.
  Outcome End(Outcome outcome, const std::string& detail, const std::u16string& message, Notice notice) {
    host_.Log(std::string(Keyword(outcome)) + ": " + detail + " <" + LogText(address_) + ">");
    if (mode_ == CheckMode::kByHand && !message.empty()) host_.Tell(message, notice);
    return outcome;
  }

  static const char* Keyword(Outcome outcome) {
    switch (outcome) {
      case Outcome::kNoFeedAddress: return "no-feed-address";
      case Outcome::kAddressRefused: return "address-refused";
      case Outcome::kUnreachable: return "unreachable";
      case Outcome::kHttpError: return "http-error";
      case Outcome::kTooLarge: return "too-large";
      case Outcome::kMalformed: return "malformed-feed";
      case Outcome::kUpToDate: return "up-to-date";
      case Outcome::kDeclined: return "offer-declined";
      case Outcome::kOpened: return "download-page-opened";
      case Outcome::kOpenFailed: return "download-page-failed";
    }
    return "unknown";
  }

  UpdateHost& host_;
  CheckMode mode_;
  std::u16string address_;
};

}  // namespace

CheckMode ModeFromArguments(const std::vector<std::u16string>& arguments) {
  for (const std::u16string& argument : arguments) {
    if (argument.size() != 7 || (argument[0] != u'-' && argument[0] != u'/')) continue;
    std::u16string word;
    for (char16_t c : argument.substr(1)) word += c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    if (word == u"updchk") return CheckMode::kAtStartUp;
  }
  return CheckMode::kByHand;
}

Outcome RunUpdateCheck(UpdateHost& host, CheckMode mode, std::u16string_view programVersion) {
  return Check(host, mode).Run(programVersion);
}

std::u16string NotesForDisplay(std::u16string_view notes) {
  std::u16string out;
  for (char16_t c : notes) {
    if (c == u'\n' || c >= 0x20) {
      if (c != 0x7F) out += c;
    }
  }
  const size_t first = out.find_first_not_of(u" \n");
  if (first == std::u16string::npos) return {};
  out.erase(0, first);
  out.erase(out.find_last_not_of(u" \n") + 1);
  if (out.size() > kMaxNotes) {
    size_t cut = kMaxNotes;
    if (IsLowSurrogate(out[cut]) && IsHighSurrogate(out[cut - 1])) --cut;
    out.resize(cut);
    out += u"…";
  }
  return out;
}

std::string LogText(std::u16string_view text) {
  std::u16string printable(text);
  for (char16_t& c : printable) {
    if (c < 0x20 || c == 0x7F) c = u'?';  // one line per run, whatever the feed says
  }
  return EncodeUtf8(printable);
}

}  // namespace ostrel::updater
