// The stand-in's reading of the markup a voice object takes: what each run of text is spoken
// with, and what is refused.
#include "standin/sapi_markup.h"

#include <gtest/gtest.h>

namespace sapistandin {
namespace {

std::vector<MarkupFragment> Read(std::u16string_view markup) {
  MarkupResult result = ReadMarkup(markup);
  EXPECT_EQ("", result.error) << std::string(markup.begin(), markup.end());
  return result.fragments;
}

TEST(SapiMarkup, TheEnginesMarkupGivesOneFragmentWithItsValuesAndDecodedText) {
  const std::u16string markup = u"<pitch absmiddle=\"-3\"><rate absspeed=\"4\">a &lt;b&gt; &amp; &quot;c&apos;</rate></pitch>";
  const std::vector<MarkupFragment> f = Read(markup);
  ASSERT_EQ(1u, f.size());
  EXPECT_EQ(u"a <b> & \"c'", f[0].text);
  EXPECT_EQ(-3, f[0].state.middleAdj);
  EXPECT_EQ(4, f[0].state.rateAdj);
  EXPECT_EQ(100u, f[0].state.volume);
  EXPECT_EQ(markup.find(u">a ") + 1, f[0].sourceOffset);
}

TEST(SapiMarkup, AttributesAreFoundByNameNotBySearching) {
  // "middle=" inside "absmiddle=" is not the relative attribute.
  const std::vector<MarkupFragment> f =
      Read(u"<pitch absmiddle=\"2\">a<pitch middle=\"3\">b</pitch><pitch absmiddle=\"-1\">c</pitch></pitch>");
  ASSERT_EQ(3u, f.size());
  EXPECT_EQ(2, f[0].state.middleAdj);
  EXPECT_EQ(5, f[1].state.middleAdj);
  EXPECT_EQ(-1, f[2].state.middleAdj);
  EXPECT_EQ(7, Read(u"<RATE Speed = '3'><rate SPEED=\"4\">x</rate></RATE>")[0].state.rateAdj);
  // Beyond -10..10 passes through for the voice to judge; volume is clipped to 0..100.
  EXPECT_EQ(25, Read(u"<rate absspeed=\"25\">x</rate>")[0].state.rateAdj);
  EXPECT_EQ(100u, Read(u"<volume level=\"150\">x</volume>")[0].state.volume);
  EXPECT_EQ(0u, Read(u"<volume level=\"-5\">x</volume>")[0].state.volume);
}

TEST(SapiMarkup, ItemsAndUnknownTagsBecomeTheirOwnFragments) {
  const std::vector<MarkupFragment> f =
      Read(u"<?xml version=\"1.0\"?><sapi>a<!-- note --><silence msec=\"250\"/><bookmark mark=\"m1\"/>"
           u"<emph>b</emph><spell>c</spell><lang langid=\"409\">d</lang><u x=\"1\">e</u>&#x41;&#66;<![CDATA[<&>]]></sapi>");
  ASSERT_EQ(9u, f.size());
  EXPECT_EQ(MarkupAction::kSilence, f[1].state.action);
  EXPECT_EQ(250u, f[1].state.silenceMs);
  EXPECT_EQ(MarkupAction::kBookmark, f[2].state.action);
  EXPECT_EQ(u"m1", f[2].text);
  EXPECT_EQ(1, f[3].state.emphAdj);
  EXPECT_EQ(MarkupAction::kSpellOut, f[4].state.action);
  EXPECT_EQ(0x409, f[5].state.langId);
  EXPECT_EQ(MarkupAction::kParseUnknownTag, f[6].state.action);
  EXPECT_EQ(u"<u x=\"1\">", f[6].text);
  EXPECT_EQ(u"e", f[7].text);
  EXPECT_EQ(u"AB<&>", f[8].text);
  EXPECT_EQ(MarkupAction::kSpeak, f[8].state.action);
}

TEST(SapiMarkup, MarkupThatIsNotWellFormedIsRefusedWithWhereItWentWrong) {
  for (const std::u16string_view bad :
       {u"<pitch middle=\"1\">x", u"x</pitch>", u"<pitch absmiddle=\"1\">x</rate>", u"a < b", u"a & b", u"&bogus;",
        u"&#xD800;", u"<rate>x</rate>", u"<rate speed=\"1\" absspeed=\"2\">x</rate>", u"<rate speed=\"fast\">x</rate>",
        u"<rate speed=1>x</rate>", u"<volume level=\"1\" level=\"2\">x</volume>", u"<!-- open", u"<![CDATA[x",
        u"<!DOCTYPE x>", u"<silence/>", u"<pitch absmiddle=\"1\"", u"<rate speed=\"1\"absspeed=\"2\">"}) {
    const MarkupResult result = ReadMarkup(bad);
    EXPECT_NE("", result.error) << std::string(bad.begin(), bad.end());
    EXPECT_TRUE(result.fragments.empty());
  }
  EXPECT_NE(std::string::npos, ReadMarkup(u"ab<x").error.find("at 2"));
}

TEST(SapiMarkup, PlainTextAndTheGuessBetweenThem) {
  const MarkupResult plain = ReadPlainText(u"<b> &amp;");
  ASSERT_EQ(1u, plain.fragments.size());
  EXPECT_EQ(u"<b> &amp;", plain.fragments[0].text);
  EXPECT_TRUE(ReadPlainText(u"").fragments.empty());
  EXPECT_TRUE(LooksLikeMarkup(u" \r\n<sapi>"));
  EXPECT_FALSE(LooksLikeMarkup(u"a<b>"));
  EXPECT_FALSE(LooksLikeMarkup(u""));
}

}  // namespace
}  // namespace sapistandin
