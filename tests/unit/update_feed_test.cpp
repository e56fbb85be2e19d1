#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ostrel_release.h"
#include "updater/update_check.h"
#include "updater/update_feed.h"

namespace ostrel::updater {
namespace {

std::string Utf8(std::u16string_view text) { return LogText(text); }

// --- the feed -------------------------------------------------------------------

TEST(UpdateFeed, ReadsWellFormedFeedsWhateverTheirLayout) {
  struct Case {
    std::string json;
    std::u16string version;
    std::u16string page;
    std::u16string notes;
  };
  const Case cases[] = {
      {R"({"version":"2.0.2","url":"https://example.org/dl/"})", u"2.0.2", u"https://example.org/dl/", u""},
      {" \r\n\t{ \"url\" : \"https://example.org/\" ,\n \"version\" : \"3\" } \n", u"3", u"https://example.org/", u""},
      {"\xEF\xBB\xBF{\"version\":\"2.1\",\"url\":\"https://e.org/\"}", u"2.1", u"https://e.org/", u""},
      // Names the updater does not know are left alone.
      {R"({"version":"2.0.2","url":"https://e.org/","notes":"n","size":"12 MB"})", u"2.0.2", u"https://e.org/", u"n"},
      {R"({"version":"2.0.2","url":"https:\/\/e.org\/a","notes":"\"q\" \\ \b\f\n\r\t"})", u"2.0.2", u"https://e.org/a",
       u"\"q\" \\ \b\f\n\r\t"},
      {R"({"version":"2.0.2","url":"https://e.org/","notes":"\u65b0\u7248 \uD83D\uDE00 \u00e9"})", u"2.0.2",
       u"https://e.org/", u"新版 \U0001F600 é"},
      {"{\"version\":\"2.0.2\",\"url\":\"https://e.org/\",\"notes\":\"新版です\xF0\x9F\x98\x80\"}", u"2.0.2",
       u"https://e.org/", u"新版です\U0001F600"},
      // A value may open with U+FEFF; only the document's own byte-order mark is dropped.
      {"\xEF\xBB\xBF{\"version\":\"2\",\"url\":\"https://e.org/\",\"notes\":\"\xEF\xBB\xBF" "a\\uFEFF\"}", u"2",
       u"https://e.org/", u"\uFEFFa\uFEFF"},
      {R"({"version":"2.0.2","url":"http://127.0.0.1:8080/download/"})", u"2.0.2", u"http://127.0.0.1:8080/download/",
       u""},
  };
  for (const Case& c : cases) {
    const FeedParse parse = ParseFeed(c.json);
    ASSERT_TRUE(parse.Ok()) << c.json << " -> " << FeedProblemName(parse.problem) << " at " << parse.offset;
    EXPECT_EQ(parse.feed.versionText, c.version) << c.json;
    EXPECT_EQ(parse.feed.downloadPage, c.page) << c.json;
    EXPECT_EQ(parse.feed.notes, c.notes) << c.json;
  }
}

TEST(UpdateFeed, RefusesAnythingButAFlatObjectOfStringsInValidText) {
  using P = FeedProblem;
  using namespace std::string_literals;
  struct Case {
    std::string json;
    FeedProblem expected;
  };
  const std::string ok = R"("version":"2.0.2","url":"https://e.org/")";
  const Case cases[] = {
      {"", P::kSyntax},
      {"   ", P::kSyntax},
      {"[]", P::kNotFlat},
      {"\"version\"", P::kNotFlat},
      {"{" + ok, P::kSyntax},
      {"{" + ok + ",}", P::kSyntax},
      {"{," + ok + "}", P::kSyntax},
      {"{" + ok + "}}", P::kSyntax},
      {"{" + ok + "}{}", P::kSyntax},
      {"{" + ok + "} x", P::kSyntax},
      {"{" + ok + ",\"size\":12}", P::kNotFlat},
      {"{" + ok + ",\"beta\":true}", P::kNotFlat},
      {"{" + ok + ",\"more\":{}}", P::kNotFlat},
      {"{" + ok + ",\"list\":[\"a\"]}", P::kNotFlat},
      {"{'version':'2.0.2','url':'https://e.org/'}", P::kSyntax},
      {"{version:\"2.0.2\"}", P::kSyntax},
      {"{\"version\" \"2.0.2\"}", P::kSyntax},
      {"{\"version\":\"2.0.2\" \"url\":\"https://e.org/\"}", P::kSyntax},
      {"{\"version\":\"2.0.2", P::kSyntax},
      {"{\"version\":\"2.0.2\\", P::kSyntax},
      {"{\"version\":\"2.0\n.2\",\"url\":\"https://e.org/\"}", P::kSyntax},
      {"{\"version\":\"2.0.2\",\"url\":\"https://e.org/\",\"notes\":\"\\x41\"}", P::kSyntax},
      {"{\"version\":\"2.0.2\",\"url\":\"https://e.org/\",\"notes\":\"\\u12\"}", P::kSyntax},
      {"{\"version\":\"2.0.2\",\"url\":\"https://e.org/\",\"notes\":\"\\u12G4\"}", P::kSyntax},
      {"{\"version\":\"2.0.2\"\0,\"url\":\"https://e.org/\"}"s, P::kSyntax},
      {"{" + ok + "}\0{"s, P::kSyntax},
      {"{" + ok + ",\"notes\":\"a\0b\"}"s, P::kSyntax},
      {"{" + ok + ",\"n\":null}", P::kNotFlat},
      {"{" + ok + ",\"n\":-1.5e3}", P::kNotFlat},
      {std::string(100000, '['), P::kNotFlat},  // refused at once, never built
      {"\xEF\xBB{" + ok + "}", P::kSyntax},
      {"{" + ok + ",\"notes\":\"\\uD83D\"}", P::kBadText},
      {"{" + ok + ",\"notes\":\"\\uD83Dx\"}", P::kBadText},
      {"{" + ok + ",\"notes\":\"\\uDE00\\uD83D\"}", P::kBadText},
      {"{" + ok + ",\"notes\":\"\\uD83D\\u0041\"}", P::kBadText},
      {"{" + ok + ",\"notes\":\"\xC0\x80\"}", P::kBadText},          // overlong
      {"{" + ok + ",\"notes\":\"\xE0\x80\xAF\"}", P::kBadText},      // overlong
      {"{" + ok + ",\"notes\":\"\xED\xA0\x80\"}", P::kBadText},      // a surrogate in UTF-8
      {"{" + ok + ",\"notes\":\"\xF4\x90\x80\x80\"}", P::kBadText},  // above U+10FFFF
      {"{" + ok + ",\"notes\":\"\xE6\x96\"}", P::kBadText},          // cut short
      {"{" + ok + ",\"notes\":\"\x80\"}", P::kBadText},
      {"{" + ok + ",\"notes\":\"\xFF\"}", P::kBadText},
      {"{" + ok + ",\"version\":\"2.0.3\"}", P::kDuplicateName},
      {"{}", P::kMissingVersion},
      {"{\"url\":\"https://e.org/\"}", P::kMissingVersion},
      {"{\"Version\":\"2.0.2\",\"url\":\"https://e.org/\"}", P::kMissingVersion},
      {"{\"version\":\"2.0.2\"}", P::kMissingDownloadPage},
      {"{\"version\":\"\",\"url\":\"https://e.org/\"}", P::kBadVersion},
      {"{\"version\":\"v2.0.2\",\"url\":\"https://e.org/\"}", P::kBadVersion},
  };
  for (const Case& c : cases) {
    const FeedParse parse = ParseFeed(c.json);
    EXPECT_EQ(parse.problem, c.expected) << c.json << " -> " << FeedProblemName(parse.problem);
  }
}

TEST(UpdateFeed, PointsAtTheByteWhereTheReaderGaveUp) {
  using namespace std::string_literals;
  EXPECT_EQ(ParseFeed("{\"a\":\"b\"} !").offset, 10u);
  EXPECT_EQ(ParseFeed("{\"a\":\"xy\xFF\"}").offset, 8u);
  EXPECT_EQ(ParseFeed("{\"a\":\"x\\uDC00\"}").offset, 12u);  // the end of the escape
  EXPECT_EQ(ParseFeed("{\"a\":\"b\"}\0"s).offset, 9u);
  EXPECT_EQ(ParseFeed("").offset, 0u);
  EXPECT_EQ(ParseFeed("{").offset, 1u);
}

// --- versions -------------------------------------------------------------------

TEST(UpdateVersion, ComparesNumberByNumberWithMissingNumbersAsZero) {
  struct Case {
    std::u16string a;
    std::u16string b;
    int expected;
  };
  const Case cases[] = {
      {u"2.0.10", u"2.0.9", 1},  {u"2.0.1", u"2.0.1", 0},   {u"2.0.1", u"2.0.1.0", 0}, {u"2.0.1.0.0", u"2.0.1", 0},
      {u"2.0.1.1", u"2.0.1", 1}, {u"2", u"2.0.0", 0},       {u"3", u"2.99.99", 1},     {u"2.1", u"2.0.99", 1},
      {u"1.9.9", u"2.0.0", -1},  {u"2.0.01", u"2.0.1", 0}, {u"10.0", u"9.9", 1},      {u"999999999", u"2", 1},
      {u"0", u"0.0.0.0", 0},
  };
  for (const Case& c : cases) {
    const auto a = ParseVersion(c.a);
    const auto b = ParseVersion(c.b);
    ASSERT_TRUE(a && b) << Utf8(c.a) << " " << Utf8(c.b);
    EXPECT_EQ(CompareVersions(*a, *b), c.expected) << Utf8(c.a) << " vs " << Utf8(c.b);
    EXPECT_EQ(CompareVersions(*b, *a), -c.expected) << Utf8(c.b) << " vs " << Utf8(c.a);
  }
}

TEST(UpdateVersion, RefusesWhatIsNotDottedNumbers) {
  for (const std::u16string text : {u"", u".", u"2.", u".2", u"2..0", u"2.0.1 ", u" 2.0.1", u"v2.0.1", u"2.0.1-beta",
                                    u"2.0.1b", u"-2.0", u"+2", u"2,0,1", u"２.0.1", u"1234567890", u"1.2.3.4.5.6.7.8.9",
                                    u"2.0.4294967296"}) {
    EXPECT_FALSE(ParseVersion(text)) << Utf8(text);
  }
  EXPECT_TRUE(ParseVersion(u"1.2.3.4.5.6.7.8"));
  EXPECT_TRUE(ParseVersion(u"999999999.0"));
}

TEST(UpdateVersion, TheProgramsOwnVersionIsOneTheCheckCanCompare) {
  const auto own = ParseVersion(u"" OSTREL_VERSION_TEXT);
  ASSERT_TRUE(own);
  EXPECT_EQ(*own, (Version{OSTREL_VERSION_MAJOR, OSTREL_VERSION_MINOR, OSTREL_VERSION_PATCH}));
}

// --- addresses --------------------------------------------------------------------
// The splitting itself is the system's (tests/win); here the rule applied to its pieces.

using Scheme = AddressPieces::Scheme;

AddressPieces Pieces(Scheme scheme, std::u16string host, uint16_t port, std::u16string path = u"/",
                     std::u16string extra = u"") {
  AddressPieces pieces;
  pieces.scheme = scheme;
  pieces.host = std::move(host);
  pieces.port = port;
  pieces.path = std::move(path);
  pieces.extra = std::move(extra);
  return pieces;
}

TEST(UpdateAddress, HttpsAnywhereAndPlainHttpOnlyToThisMachine) {
  using A = AddressProblem;
  struct Case {
    AddressPieces pieces;
    AddressProblem expected;
  };
  const auto withUser = [](std::u16string user, std::u16string password) {
    AddressPieces pieces = Pieces(Scheme::kHttp, u"192.0.2.1", 80);
    pieces.userName = std::move(user);
    pieces.password = std::move(password);
    return pieces;
  };
  const Case cases[] = {
      {Pieces(Scheme::kHttps, u"Example.ORG", 443), A::kNone},
      {Pieces(Scheme::kHttps, u"192.0.2.1", 8443), A::kNone},
      {Pieces(Scheme::kHttps, u"[2001:db8::1]", 443), A::kNone},
      {Pieces(Scheme::kHttp, u"127.0.0.1", 8000), A::kNone},
      {Pieces(Scheme::kHttp, u"LocalHost", 1), A::kNone},
      {Pieces(Scheme::kHttp, u"[::1]", 8000), A::kNone},
      {Pieces(Scheme::kHttp, u"192.0.2.1", 80), A::kPlainHttpRemote},
      {Pieces(Scheme::kHttp, u"127.0.0.2", 80), A::kPlainHttpRemote},
      {Pieces(Scheme::kHttp, u"localhost.example.org", 80), A::kPlainHttpRemote},
      {Pieces(Scheme::kHttp, u"127.0.0.1.example.org", 80), A::kPlainHttpRemote},
      {Pieces(Scheme::kHttp, u"[::2]", 80), A::kPlainHttpRemote},
      // A user name hides the real host from a quick look.
      {withUser(u"127.0.0.1", u""), A::kNotAnAddress},
      {withUser(u"", u"80"), A::kNotAnAddress},
      {Pieces(Scheme::kOther, u"e.org", 21), A::kNotAnAddress},
      {Pieces(Scheme::kHttps, u"", 443), A::kNotAnAddress},
      {Pieces(Scheme::kHttps, u"e.org", 0), A::kNotAnAddress},
      {Pieces(Scheme::kHttps, u"-e.org", 443), A::kNotAnAddress},
      {Pieces(Scheme::kHttp, u"127.0.0.1%2e", 80), A::kNotAnAddress},
      {Pieces(Scheme::kHttp, u"[127.0.0.1]", 80), A::kNotAnAddress},
      {Pieces(Scheme::kHttp, u"[::1", 80), A::kNotAnAddress},
      {Pieces(Scheme::kHttp, u"[::1]x", 80), A::kNotAnAddress},
      {Pieces(Scheme::kHttps, u"例え.jp", 443), A::kNotAnAddress},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckAddress(u"https://written.example/", c.pieces).problem, c.expected) << Utf8(c.pieces.host);
  }
}

TEST(UpdateAddress, TheWrittenTextMustBePrintableAsciiWithoutBackslashes) {
  const AddressPieces fine = Pieces(Scheme::kHttps, u"e.org", 443);
  EXPECT_TRUE(CheckAddress(u"https://e.org/", fine).Allowed());
  for (const std::u16string text : {u"http://192.0.2.1\\@127.0.0.1/", u"http://127.0.0.1 .example.org/",
                                    u"https://e.org/\n", u"https://例え.jp/", u""}) {
    EXPECT_FALSE(CheckAddress(text, fine).Allowed()) << Utf8(text);
  }
  EXPECT_FALSE(CheckAddress(u"https://e.org/" + std::u16string(3000, u'a'), fine).Allowed());
  EXPECT_FALSE(CheckAddress(u"https://e.org/", std::nullopt).Allowed());  // the system could not split it
}

TEST(UpdateAddress, ContactsThePiecesWithoutTheFragment) {
  struct Case {
    AddressPieces pieces;
    std::u16string host;
    std::u16string target;
  };
  const Case cases[] = {
      {Pieces(Scheme::kHttps, u"e.org", 443, u""), u"e.org", u"/"},
      {Pieces(Scheme::kHttps, u"e.org", 443, u"", u"?v=1"), u"e.org", u"/?v=1"},
      {Pieces(Scheme::kHttps, u"e.org", 443, u"", u"#top"), u"e.org", u"/"},
      {Pieces(Scheme::kHttps, u"e.org", 8443, u"/a/b.json", u"?x=1&y=2#frag"), u"e.org", u"/a/b.json?x=1&y=2"},
      {Pieces(Scheme::kHttp, u"[::1]", 8000, u"/f"), u"::1", u"/f"},
  };
  for (const Case& c : cases) {
    const AddressCheck check = CheckAddress(u"https://e.org/", c.pieces);
    ASSERT_TRUE(check.Allowed()) << Utf8(c.pieces.host);
    EXPECT_EQ(check.address.secure, c.pieces.scheme == Scheme::kHttps);
    EXPECT_EQ(check.address.host, c.host);
    EXPECT_EQ(check.address.port, c.pieces.port);
    EXPECT_EQ(check.address.pathAndQuery, c.target) << Utf8(c.pieces.path + c.pieces.extra);
  }
}

// --- the check ---------------------------------------------------------------------

class FakeUpdateHost : public UpdateHost {
 public:
  std::optional<std::u16string> feedAddress = u"https://e.org/update.json";
  FetchResult fetchResult{FetchResult::Kind::kOk, 200, R"({"version":"2.0.1","url":"https://e.org/dl/"})"};
  bool answerYes = false;
  bool openSucceeds = true;

  std::vector<WebAddress> fetched;
  std::vector<std::u16string> questions;
  std::vector<std::u16string> told;
  std::vector<std::u16string> opened;
  std::vector<std::string> logged;

  void Serve(const std::string& body) { fetchResult = {FetchResult::Kind::kOk, 200, body}; }

  std::optional<std::u16string> FeedAddress() override { return feedAddress; }
  // Enough of an address splitter for the addresses these tests use.
  std::optional<AddressPieces> SplitAddress(std::u16string_view text) override {
    AddressPieces pieces;
    const size_t schemeEnd = text.find(u"://");
    if (schemeEnd == std::u16string_view::npos) return std::nullopt;
    const std::u16string_view scheme = text.substr(0, schemeEnd);
    pieces.scheme = scheme == u"https" ? Scheme::kHttps : scheme == u"http" ? Scheme::kHttp : Scheme::kOther;
    if (pieces.scheme == Scheme::kOther) return std::nullopt;
    std::u16string_view rest = text.substr(schemeEnd + 3);
    const size_t pathAt = std::min(rest.find_first_of(u"/?#"), rest.size());
    std::u16string_view authority = rest.substr(0, pathAt);
    if (const size_t at = authority.rfind(u'@'); at != std::u16string_view::npos) {
      pieces.userName = authority.substr(0, at);
      authority = authority.substr(at + 1);
    }
    const size_t colon = authority.rfind(u':');
    pieces.port = pieces.scheme == Scheme::kHttps ? 443 : 80;
    if (colon != std::u16string_view::npos && authority.find(u']', colon) == std::u16string_view::npos) {
      pieces.port = static_cast<uint16_t>(std::stoi(std::string(authority.begin() + colon + 1, authority.end())));
      authority = authority.substr(0, colon);
    }
    pieces.host = authority;
    const std::u16string_view target = rest.substr(pathAt);
    const size_t extraAt = std::min(target.find_first_of(u"?#"), target.size());
    pieces.path = target.substr(0, extraAt);
    pieces.extra = target.substr(extraAt);
    return pieces;
  }
  FetchResult Fetch(const WebAddress& address) override {
    fetched.push_back(address);
    return fetchResult;
  }
  bool AskYesNo(const std::u16string& text) override {
    questions.push_back(text);
    return answerYes;
  }
  void Tell(const std::u16string& text, Notice) override { told.push_back(text); }
  bool OpenPage(const std::u16string& address) override {
    opened.push_back(address);
    return openSucceeds;
  }
  void Log(const std::string& line) override { logged.push_back(line); }
};

struct QuietCase {
  const char* what;
  void (*arrange)(FakeUpdateHost&);
  Outcome expected;
  const char* logged;
};

const QuietCase kQuietCases[] = {
    {"no address", [](FakeUpdateHost& h) { h.feedAddress.reset(); }, Outcome::kNoFeedAddress, "no-feed-address"},
    {"empty address", [](FakeUpdateHost& h) { h.feedAddress = u""; }, Outcome::kNoFeedAddress, "no-feed-address"},
    {"plain http", [](FakeUpdateHost& h) { h.feedAddress = u"http://192.0.2.1/feed.json"; }, Outcome::kAddressRefused,
     "address-refused: plain http"},
    {"not an address", [](FakeUpdateHost& h) { h.feedAddress = u"C:\\feed.json"; }, Outcome::kAddressRefused,
     "address-refused"},
    {"offline", [](FakeUpdateHost& h) { h.fetchResult = {FetchResult::Kind::kUnreachable, 12029, ""}; },
     Outcome::kUnreachable, "unreachable: error 12029"},
    {"not found", [](FakeUpdateHost& h) { h.fetchResult = {FetchResult::Kind::kHttpStatus, 404, "<html>"}; },
     Outcome::kHttpError, "http-error: status 404"},
    {"too large", [](FakeUpdateHost& h) { h.fetchResult = {FetchResult::Kind::kTooLarge, 65536, ""}; },
     Outcome::kTooLarge, "too-large"},
    {"garbage", [](FakeUpdateHost& h) { h.Serve("<html>"); }, Outcome::kMalformed,
     "malformed-feed: not a JSON object of strings at byte 0 <"},
    {"bad page", [](FakeUpdateHost& h) { h.Serve(R"({"version":"9","url":"http://192.0.2.1/"})"); },
     Outcome::kMalformed, "malformed-feed: download page not allowed"},
    {"unsplittable page", [](FakeUpdateHost& h) { h.Serve(R"({"version":"9","url":"mailto:a@e.org"})"); },
     Outcome::kMalformed, "malformed-feed: download page not allowed"},
    {"page with a user", [](FakeUpdateHost& h) { h.Serve(R"({"version":"9","url":"https://e.org@192.0.2.1/"})"); },
     Outcome::kMalformed, "malformed-feed: download page not allowed"},
    {"not flat", [](FakeUpdateHost& h) { h.Serve(R"({"version":"9","url":"https://e.org/","size":12})"); },
     Outcome::kMalformed, "malformed-feed: a value that is not a string <"},
    {"same", [](FakeUpdateHost& h) { h.Serve(R"({"version":"2.0.1.0","url":"https://e.org/"})"); },
     Outcome::kUpToDate, "up-to-date: offered 2.0.1.0, program 2.0.1"},
    {"older", [](FakeUpdateHost& h) { h.Serve(R"({"version":"2.0.0","url":"https://e.org/"})"); },
     Outcome::kUpToDate, "up-to-date"},
};

TEST(UpdateCheck, AtStartUpEveryOutcomeButAnOfferIsOneLogLineAndNothingOnScreen) {
  for (const QuietCase& c : kQuietCases) {
    FakeUpdateHost host;
    c.arrange(host);
    EXPECT_EQ(RunUpdateCheck(host, CheckMode::kAtStartUp, u"2.0.1"), c.expected) << c.what;
    EXPECT_TRUE(host.told.empty()) << c.what;
    EXPECT_TRUE(host.questions.empty()) << c.what;
    EXPECT_TRUE(host.opened.empty()) << c.what;
    ASSERT_EQ(host.logged.size(), 1u) << c.what;
    EXPECT_EQ(host.logged[0].rfind(c.logged, 0), 0u) << c.what << ": " << host.logged[0];
  }
}

TEST(UpdateCheck, ByHandThePersonIsToldHowItEnded) {
  for (const QuietCase& c : kQuietCases) {
    FakeUpdateHost host;
    c.arrange(host);
    EXPECT_EQ(RunUpdateCheck(host, CheckMode::kByHand, u"2.0.1"), c.expected) << c.what;
    ASSERT_EQ(host.told.size(), 1u) << c.what;
    EXPECT_TRUE(host.questions.empty()) << c.what;
    EXPECT_EQ(host.logged.size(), 1u) << c.what;
  }
  FakeUpdateHost host;
  RunUpdateCheck(host, CheckMode::kByHand, u"2.0.1");
  EXPECT_EQ(host.told, std::vector<std::u16string>{u"お使いのバージョン 2.0.1 は最新です。"});
}

TEST(UpdateCheck, ARefusedOrMissingAddressIsNeverContacted) {
  for (const std::u16string address :
       {u"http://192.0.2.1/feed.json", u"http://127.0.0.1@192.0.2.1/", u"ftp://127.0.0.1/", u""}) {
    FakeUpdateHost host;
    host.feedAddress = address;
    RunUpdateCheck(host, CheckMode::kByHand, u"2.0.1");
    EXPECT_TRUE(host.fetched.empty()) << Utf8(address);
  }
}

TEST(UpdateCheck, FetchesExactlyTheConfiguredAddress) {
  FakeUpdateHost host;
  host.feedAddress = u"http://127.0.0.1:8123/ostrel/feed.json?channel=1#x";
  RunUpdateCheck(host, CheckMode::kAtStartUp, u"2.0.1");
  ASSERT_EQ(host.fetched.size(), 1u);
  EXPECT_FALSE(host.fetched[0].secure);
  EXPECT_EQ(host.fetched[0].host, u"127.0.0.1");
  EXPECT_EQ(host.fetched[0].port, 8123);
  EXPECT_EQ(host.fetched[0].pathAndQuery, u"/ostrel/feed.json?channel=1");
  EXPECT_NE(host.logged[0].find("<http://127.0.0.1:8123/ostrel/feed.json?channel=1#x>"), std::string::npos);
}

TEST(UpdateCheck, ANewerVersionIsOfferedAndOnlyYesOpensTheFeedsPage) {
  for (const CheckMode mode : {CheckMode::kAtStartUp, CheckMode::kByHand}) {
    for (const bool yes : {false, true}) {
      FakeUpdateHost host;
      host.answerYes = yes;
      host.Serve(R"({"version":"2.0.10","url":"https://e.org/dl/?v=2.0.10","notes":"\r\n修正\r\n"})");
      EXPECT_EQ(RunUpdateCheck(host, mode, u"2.0.9"), yes ? Outcome::kOpened : Outcome::kDeclined);
      ASSERT_EQ(host.questions.size(), 1u);
      EXPECT_EQ(host.questions[0],
                u"新しいバージョン 2.0.10 が公開されています（お使いのバージョンは 2.0.9 です）。\n\n修正\n\n"
                u"ダウンロードのページを開きますか？");
      EXPECT_EQ(host.opened, yes ? std::vector<std::u16string>{u"https://e.org/dl/?v=2.0.10"}
                                 : std::vector<std::u16string>{});
      EXPECT_TRUE(host.told.empty());
      ASSERT_EQ(host.logged.size(), 1u);
      EXPECT_EQ(host.logged[0].rfind(yes ? "download-page-opened" : "offer-declined", 0), 0u) << host.logged[0];
    }
  }
}

TEST(UpdateCheck, APageThatWillNotOpenIsLoggedAndToldOnlyToWhoeverAsked) {
  for (const CheckMode mode : {CheckMode::kAtStartUp, CheckMode::kByHand}) {
    FakeUpdateHost host;
    host.answerYes = true;
    host.openSucceeds = false;
    host.Serve(R"({"version":"3","url":"https://e.org/"})");
    EXPECT_EQ(RunUpdateCheck(host, mode, u"2.0.1"), Outcome::kOpenFailed);
    EXPECT_EQ(host.told.size(), mode == CheckMode::kByHand ? 1u : 0u);
    EXPECT_EQ(host.logged.size(), 1u);
  }
}

TEST(UpdateCheck, TheStartUpSwitchIsRecognisedInEitherSpelling) {
  EXPECT_EQ(ModeFromArguments({u"-updchk"}), CheckMode::kAtStartUp);
  EXPECT_EQ(ModeFromArguments({u"/UPDCHK"}), CheckMode::kAtStartUp);
  EXPECT_EQ(ModeFromArguments({u"x", u"-UpdChk"}), CheckMode::kAtStartUp);
  EXPECT_EQ(ModeFromArguments({}), CheckMode::kByHand);
  EXPECT_EQ(ModeFromArguments({u"-updchk2"}), CheckMode::kByHand);
  EXPECT_EQ(ModeFromArguments({u"updchk"}), CheckMode::kByHand);
}

TEST(UpdateCheck, NotesAndLogTextCannotBreakTheirLines) {
  EXPECT_EQ(NotesForDisplay(u"  \r\n a\tb\x7F\r\nc \n\n"), u"ab\nc");
  EXPECT_EQ(NotesForDisplay(u" \n "), u"");
  const std::u16string longNotes = std::u16string(599, u'a') + u"\U0001F600" + u"tail";
  const std::u16string shown = NotesForDisplay(longNotes);
  EXPECT_EQ(shown, std::u16string(599, u'a') + u"…");  // the pair is dropped whole, not split
  EXPECT_EQ(LogText(u"a\nb\rc\x01"), "a?b?c?");
  EXPECT_EQ(LogText(u"新\U0001F600"), "\xE6\x96\xB0\xF0\x9F\x98\x80");
  EXPECT_EQ(LogText(std::u16string{u'a', char16_t(0xD800), u'b', char16_t(0xDC00)}), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

}  // namespace
}  // namespace ostrel::updater
