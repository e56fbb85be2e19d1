// The voices that stand in for one another, and the markup a SAPI voice is given.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failover_synthesiser.h"
#include "sapi_speech_markup.h"

namespace ostrel::orvatone {
namespace {

// Renders one sample, or fails; a cancellable one fails only because it was cancelled.
class Voice final : public Synthesiser {
 public:
  explicit Voice(bool works) : works_(works) {}
  bool Render(std::u16string_view text, const Prosody&, const std::function<bool()>& cancelled,
              Rendering& out) noexcept override {
    ++renders;
    out.spokenText = std::u16string(text);
    out.pcm.sampleRate = 8000;
    out.pcm.samples = {1};
    return works_ && !cancelled();
  }
  int renders = 0;

 private:
  bool works_;
};

TEST(FailoverSynthesiserTest, AStopIsNotAFailureOfTheVoice) {
  std::vector<VoiceOption> voices;
  voices.push_back({"SAPI", "first", std::make_unique<Voice>(true)});
  voices.push_back({"espeak-ng", "second", std::make_unique<Voice>(true)});
  int replaced = 0;
  FailoverSynthesiser synthesiser(std::move(voices), [&](const VoiceOption&, const VoiceOption*) { ++replaced; });
  Rendering out;
  EXPECT_FALSE(synthesiser.Render(u"a", {}, [] { return true; }, out));
  EXPECT_EQ(replaced, 0);
  ASSERT_NE(synthesiser.Current(), nullptr);
  EXPECT_EQ(synthesiser.Current()->voiceName, "first");
  EXPECT_TRUE(synthesiser.Render(u"b", {}, [] { return false; }, out));
  EXPECT_EQ(out.pcm.samples, std::vector<std::int16_t>{1});
}

TEST(FailoverSynthesiserTest, WithNoVoiceLeftTheUtteranceFailsWithoutSound) {
  std::vector<VoiceOption> voices;
  voices.push_back({"SAPI", "only", std::make_unique<Voice>(false)});
  voices.push_back({"SAPI", "missing", nullptr});
  std::vector<std::string> told;
  FailoverSynthesiser synthesiser(std::move(voices), [&](const VoiceOption& failed, const VoiceOption* reading) {
    told.push_back(failed.voiceName + (reading != nullptr ? " -> " + reading->voiceName : " -> none"));
  });
  Rendering out;
  EXPECT_FALSE(synthesiser.Render(u"a", {}, [] { return false; }, out));
  EXPECT_TRUE(out.pcm.samples.empty()) << "a failed voice's partial sound must not be played";
  EXPECT_EQ(out.spokenText, u"a");
  EXPECT_EQ(told, std::vector<std::string>{"only -> none"});
  EXPECT_EQ(synthesiser.Current(), nullptr);
  EXPECT_FALSE(synthesiser.Render(u"b", {}, [] { return false; }, out));
  EXPECT_EQ(told.size(), 1U);
}

TEST(SapiSpeechMarkupTest, CarriesTheProsodyAndEveryCharacterXmlCanHold) {
  EXPECT_EQ(SapiSpeechMarkup(u"A & B <c> \"d\" 'e' ]]> f", {100, 100}),
            u"<pitch absmiddle=\"0\"><rate absspeed=\"0\">A &amp; B &lt;c&gt; \"d\" 'e' ]]&gt; f</rate></pitch>");
  // The limits of SAPI's scales, and beyond them.
  EXPECT_EQ(SapiSpeechMarkup(u"", {300, 200}), u"<pitch absmiddle=\"10\"><rate absspeed=\"10\"></rate></pitch>");
  EXPECT_EQ(SapiSpeechMarkup(u"", {10, 25}), u"<pitch absmiddle=\"-10\"><rate absspeed=\"-10\"></rate></pitch>");
}

TEST(SapiSpeechMarkupTest, CharactersXmlCannotCarryBecomeSpacesAndPairsSurvive) {
  const std::u16string text{u'a', u'\0', u'b', u'\x01', u'\t', u'\n', u'\r', u'\x1F', u'c', u'\xFFFE', u'\xFFFF',
                            u'\xD83D', u'\xDE00', u'\xD83D', u'd', u'\xDE00', u'e', u'\xD800'};
  const std::u16string expected{u'a', u' ', u'b', u' ', u'\t', u'\n', u'\r', u' ', u'c', u' ', u' ',
                                u'\xD83D', u'\xDE00', u' ', u'd', u' ', u'e', u' '};
  EXPECT_EQ(SapiSpeechMarkup(text, {}),
            u"<pitch absmiddle=\"0\"><rate absspeed=\"0\">" + expected + u"</rate></pitch>");
}

}  // namespace
}  // namespace ostrel::orvatone
