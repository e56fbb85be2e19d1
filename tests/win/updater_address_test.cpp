// The feed's and the download page's addresses as WinHTTP itself splits them: what the check
// lets through is exactly what DownloadFeed will contact.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "updater/feed_download_win32.h"
#include "updater/update_check.h"
#include "updater/update_feed.h"

namespace ostrel::updater {
namespace {

AddressCheck Check(std::u16string_view text) { return CheckAddress(text, SplitWebAddress(text)); }

// What WinHTTP made of the text, for a failure's message.
std::string Split(std::u16string_view text) {
  const std::optional<AddressPieces> pieces = SplitWebAddress(text);
  if (!pieces) return LogText(text) + " -> not split";
  return LogText(text) + " -> scheme " + std::to_string(static_cast<int>(pieces->scheme)) + " user [" +
         LogText(pieces->userName) + ":" + LogText(pieces->password) + "] host [" + LogText(pieces->host) +
         "] port " + std::to_string(pieces->port) + " path [" + LogText(pieces->path) + "] extra [" +
         LogText(pieces->extra) + "]";
}

TEST(UpdaterAddress, HttpsAnywhereAndPlainHttpOnlyToThisMachine) {
  using A = AddressProblem;
  struct Case {
    std::u16string text;
    AddressProblem expected;
  };
  const Case cases[] = {
      {u"https://brantic.github.io/ostrel4/update.json", A::kNone},
      {u"HTTPS://Example.ORG", A::kNone},
      {u"https://192.0.2.1:8443/feed?x=1", A::kNone},
      {u"http://127.0.0.1:8000/feed.json", A::kNone},
      {u"http://localhost/feed.json", A::kNone},
      {u"http://LocalHost:1/", A::kNone},
      {u"http://192.0.2.1/feed.json", A::kPlainHttpRemote},
      {u"http://example.org/", A::kPlainHttpRemote},
      {u"http://127.0.0.2/", A::kPlainHttpRemote},
      {u"http://localhost.example.org/", A::kPlainHttpRemote},
      {u"http://127.0.0.1.example.org/", A::kPlainHttpRemote},
      // A user name hides the real host from a quick look; backslashes are read as slashes by some.
      {u"http://127.0.0.1@192.0.2.1/", A::kNotAnAddress},
      {u"http://127.0.0.1:80@192.0.2.1/", A::kNotAnAddress},
      {u"https://user:pw@example.org/", A::kNotAnAddress},
      {u"http://192.0.2.1\\@127.0.0.1/", A::kNotAnAddress},
      {u"http://127.0.0.1\\.example.org/", A::kNotAnAddress},
      {u"http://127.0.0.1 .example.org/", A::kNotAnAddress},
      {u"http://127.0.0.1%2e/", A::kNotAnAddress},
      {u"http://[127.0.0.1]/", A::kNotAnAddress},
      {u"http://[::1/", A::kNotAnAddress},
      {u"http://[::1]x/", A::kNotAnAddress},
      {u"https://例え.jp/", A::kNotAnAddress},
      {u"https://e.org/\n", A::kNotAnAddress},
      {u"https://", A::kNotAnAddress},
      {u"https:///path", A::kNotAnAddress},
      {u"https://:443/", A::kNotAnAddress},
      {u"https://e.org:0/", A::kNotAnAddress},
      {u"https://e.org:65536/", A::kNotAnAddress},
      {u"https://e.org:123456/", A::kNotAnAddress},
      {u"https://-e.org/", A::kNotAnAddress},
      {u"https:/e.org/", A::kNotAnAddress},
      {u"ftp://e.org/", A::kNotAnAddress},
      {u"file:///C:/x", A::kNotAnAddress},
      {u"javascript:alert(1)", A::kNotAnAddress},
      {u"C:\\feed.json", A::kNotAnAddress},
      {u"//e.org/", A::kNotAnAddress},
      {u"", A::kNotAnAddress},
      {u"https://e.org/" + std::u16string(3000, u'a'), A::kNotAnAddress},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Check(c.text).problem, c.expected) << Split(c.text);
  }
}

TEST(UpdaterAddress, SplitsIntoWhatIsContacted) {
  struct Case {
    std::u16string text;
    bool secure;
    std::u16string host;
    uint16_t port;
    std::u16string target;
  };
  const Case cases[] = {
      {u"https://e.org", true, u"e.org", 443, u"/"},
      {u"https://e.org:8443/a/b.json?x=1&y=2#frag", true, u"e.org", 8443, u"/a/b.json?x=1&y=2"},
      {u"https://e.org/a%20b?q=%2F", true, u"e.org", 443, u"/a%20b?q=%2F"},  // sent as written
      {u"http://127.0.0.1:65535/feed.json", false, u"127.0.0.1", 65535, u"/feed.json"},
      {u"http://localhost/", false, u"localhost", 80, u"/"},
  };
  for (const Case& c : cases) {
    const AddressCheck check = Check(c.text);
    ASSERT_TRUE(check.Allowed()) << Split(c.text);
    EXPECT_EQ(check.address.secure, c.secure) << LogText(c.text);
    EXPECT_EQ(check.address.host, c.host) << LogText(c.text);
    EXPECT_EQ(check.address.port, c.port) << LogText(c.text);
    EXPECT_EQ(check.address.pathAndQuery, c.target) << LogText(c.text);
  }
}

// Wine 8's WinHttpCrackUrl does not read IPv6 literals (it gives a host of "[" and port 0);
// Windows does. Either way such an address is contacted exactly as written or refused.
TEST(UpdaterAddress, AnIpv6LiteralIsContactedAsWrittenOrRefused) {
  struct Case {
    std::u16string text;
    std::u16string host;
    uint16_t port;
  };
  const Case cases[] = {
      {u"http://[::1]:8000/feed.json", u"::1", 8000},
      {u"https://[2001:db8::1]/feed", u"2001:db8::1", 443},
  };
  for (const Case& c : cases) {
    const AddressCheck check = Check(c.text);
    if (!check.Allowed()) continue;
    EXPECT_EQ(check.address.host, c.host) << Split(c.text);
    EXPECT_EQ(check.address.port, c.port) << Split(c.text);
  }
  EXPECT_FALSE(Check(u"http://[::2]/").Allowed()) << Split(u"http://[::2]/");
}

}  // namespace
}  // namespace ostrel::updater
