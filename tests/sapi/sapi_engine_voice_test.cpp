// The engine's own SAPI path against the stand-in and the test voice: which voice each language
// gets and which stand behind it, what the voice is given for the user's speed and pitch and for
// awkward text (read back from its signal), and how each way a voice can fail ends a rendering.
#include <chrono>
#include <cmath>

#include "sapi_bench.h"
#include "sapi_synthesiser_win32.h"
#include "voices_win32.h"

namespace sapibench {
namespace {

using ostrel::orvatone::LanguageVoice;
using ostrel::orvatone::OpenBestVoice;
using ostrel::orvatone::Prosody;
using ostrel::orvatone::Rendering;
using ostrel::orvatone::SapiSynthesiser;
using ostrel::orvatone::SapiTiming;

constexpr int kJapanese = 1, kChinese = 2, kEnglish = 3, kKorean = 4;
const std::wstring kJapaneseClassic = TokenId(testvoice::kTestTokens[1]);
const std::function<bool()> kNeverCancelled = [] { return false; };

// "synthesiser voice" for the voice that reads first and each that stands behind it.
std::vector<std::string> Voices(const std::optional<LanguageVoice>& voice) {
  std::vector<std::string> names;
  if (!voice) return names;
  names.push_back(voice->synthesiserName + " " + voice->voiceName);
  for (const auto& fallback : voice->fallbacks) names.push_back(fallback.synthesiserName + " " + fallback.voiceName);
  return names;
}

class EngineSapi : public SapiBench {
 public:
  void TearDown() override {
    if (!chosenKey_.empty()) RegDeleteKeyValueW(HKEY_CURRENT_USER, chosenKey_.c_str(), L"Voice");
    SapiBench::TearDown();
  }

  void ChooseVoice(const wchar_t* languageKey, const std::wstring& name) {
    chosenKey_ = std::wstring(L"Software\\Brantic\\Ostrel4\\") + languageKey;
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, chosenKey_.c_str(), L"Voice", REG_SZ, name.c_str(),
                                             static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t))));
  }

  // The one fragment the voice rendered for `text`.
  static testvoice::FragmentRecord Fragment(const std::wstring& tokenId, std::u16string_view text, Prosody prosody) {
    SapiSynthesiser synthesiser(tokenId);
    Rendering out;
    EXPECT_TRUE(synthesiser.Render(text, prosody, kNeverCancelled, out));
    EXPECT_EQ(22050, out.pcm.sampleRate);
    const std::vector<testvoice::FragmentRecord> fragments =
        testvoice::Fragments(testvoice::Decode(out.pcm.samples, out.pcm.sampleRate));
    EXPECT_EQ(1u, fragments.size());
    return fragments.empty() ? testvoice::FragmentRecord{} : fragments[0];
  }

 private:
  std::wstring chosenKey_;
};

TEST_F(EngineSapi, EachLanguageGetsItsOwnVoiceOneCoreFirstWithTheOthersBehind) {
  const auto japanese = Voices(OpenBestVoice(kJapanese));
  ASSERT_GE(japanese.size(), 2u);
  EXPECT_EQ("SAPI-OneCore Ostrel Test Japanese OneCore", japanese[0]);
  EXPECT_EQ("SAPI Ostrel Test Japanese", japanese[1]);
  // espeak-ng, where the host has it, stands last.
  for (std::size_t i = 2; i < japanese.size(); ++i) EXPECT_EQ(0u, japanese[i].rfind("espeak-ng ", 0)) << japanese[i];
  EXPECT_EQ("SAPI Ostrel Test Chinese", Voices(OpenBestVoice(kChinese)).at(0));
  EXPECT_EQ("SAPI Ostrel Test English", Voices(OpenBestVoice(kEnglish)).at(0));
  EXPECT_EQ("SAPI Ostrel Test Korean", Voices(OpenBestVoice(kKorean)).at(0));
}

TEST_F(EngineSapi, TheLanguagesOwnVariantComesBeforeOneCoreAndTheUsersChoiceBeforeAll) {
  AddToken(L"OstrelTestVoice_enGB_OneCore", L"809", {}, true);
  AddToken(L"OstrelTestVoice_zhTW_OneCore", L"404", {}, true);
  EXPECT_EQ("SAPI Ostrel Test English", Voices(OpenBestVoice(kEnglish)).at(0));
  EXPECT_EQ("SAPI Ostrel Test Chinese", Voices(OpenBestVoice(kChinese)).at(0));
  ChooseVoice(L"English", L"OstrelTestVoice_enGB_OneCore");
  const auto english = Voices(OpenBestVoice(kEnglish));
  ASSERT_GE(english.size(), 2u);
  EXPECT_EQ("SAPI-OneCore OstrelTestVoice_enGB_OneCore", english[0]);
  EXPECT_EQ("SAPI Ostrel Test English", english[1]);
  // A choice that does not speak the language is passed over.
  ChooseVoice(L"Korean", L"Ostrel Test Japanese");
  EXPECT_EQ("SAPI Ostrel Test Korean", Voices(OpenBestVoice(kKorean)).at(0));
}

TEST_F(EngineSapi, ALanguageWithoutASapiVoiceFallsToEspeakOrNothing) {
  ASSERT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_LOCAL_MACHINE, (std::wstring(testvoice::kClassicTokens) +
                                                               L"\\OstrelTestVoice_koKR").c_str()));
  for (const std::string& voice : Voices(OpenBestVoice(kKorean))) EXPECT_EQ(0u, voice.rfind("espeak-ng ", 0)) << voice;
}

TEST_F(EngineSapi, SpeedAndPitchReachTheVoiceOnSapisScaleAndClampAtItsEnds) {
  struct Case {
    int percent;
    int expected;
  };
  // Rate: ten steps for each tripling; pitch: semitones. Both end at -10 and +10.
  for (const Case c : {Case{10, -10}, Case{33, -10}, Case{50, -6}, Case{80, -2}, Case{100, 0}, Case{150, 4},
                       Case{200, 6}, Case{300, 10}, Case{500, 10}, Case{0, 0}, Case{-5, 0}}) {
    SCOPED_TRACE("speed " + std::to_string(c.percent));
    const testvoice::FragmentRecord f = Fragment(kJapaneseClassic, u"はい", {c.percent, 100});
    EXPECT_EQ(c.expected, f.rateAdj);
    EXPECT_EQ(0, f.middleAdj);
  }
  for (const Case c : {Case{25, -10}, Case{50, -10}, Case{60, -9}, Case{75, -5}, Case{100, 0}, Case{120, 3},
                       Case{150, 7}, Case{178, 10}, Case{200, 10}, Case{0, 0}}) {
    SCOPED_TRACE("pitch " + std::to_string(c.percent));
    const testvoice::FragmentRecord f = Fragment(kJapaneseClassic, u"はい", {100, c.percent});
    EXPECT_EQ(c.expected, f.middleAdj);
    EXPECT_EQ(0, f.rateAdj);
  }
}

TEST_F(EngineSapi, TheVoiceSpeaksAtFullVolumeAndItsOwnRateAsTheEngineScalesTheSamples) {
  const testvoice::FragmentRecord f = Fragment(kJapaneseClassic, u"はい", {100, 100});
  EXPECT_EQ(100, f.volume);
  EXPECT_EQ(100, f.siteVolume);
  EXPECT_EQ(0, f.siteRate);
  EXPECT_EQ(SPVA_Speak, f.action);
  EXPECT_EQ(0x411, f.langId);
}

TEST_F(EngineSapi, MarkupCharactersArriveAsTextAndCharactersXmlCannotCarryAsSpaces) {
  EXPECT_EQ(u"a<b & \"c\" 'd' ]]> e </rate>", Fragment(kJapaneseClassic, u"a<b & \"c\" 'd' ]]> e </rate>", {}).text);
  const std::u16string awkward{u'x', u'\x01', u'y', u'\0', u'z', u'\xFFFF', u'w', u'\xD800', u'v'};
  EXPECT_EQ(u"x y z w v", Fragment(kJapaneseClassic, awkward, {}).text);
}

TEST_F(EngineSapi, AVoiceThatCannotStartFailsAtOnce) {
  SapiSynthesiser synthesiser(AddToken(L"OstrelTestVoice_nostart", L"411", {{testvoice::kFailCreate, 1}}));
  Rendering out;
  EXPECT_FALSE(synthesiser.Render(u"はい", {}, kNeverCancelled, out));
  EXPECT_TRUE(out.pcm.samples.empty());
}

TEST_F(EngineSapi, AVoiceFailingMidwayIsAFailureNotAShortReading) {
  SapiSynthesiser synthesiser(AddToken(L"OstrelTestVoice_failing", L"411", {{testvoice::kFailAfter, 1}}));
  Rendering out;
  EXPECT_TRUE(synthesiser.Render(u"一つ目", {}, kNeverCancelled, out));
  EXPECT_FALSE(synthesiser.Render(u"二つ目", {}, kNeverCancelled, out));
}

TEST_F(EngineSapi, AVoiceThatStopsWritingFailsAfterTheLimitAndAFreshOneServesTheNextUtterance) {
  const std::wstring token =
      AddToken(L"OstrelTestVoice_hanging", L"411", {{testvoice::kHangAfter, 1}, {testvoice::kHangMs, 60000}});
  SapiSynthesiser synthesiser(token, SapiTiming{800, 1000});
  Rendering out;
  EXPECT_TRUE(synthesiser.Render(u"一つ目", {}, kNeverCancelled, out));
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(synthesiser.Render(u"二つ目", {}, kNeverCancelled, out));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20)) << "the hang was not noticed";
  // The hung voice object was given up: a new one renders its first fragment again.
  EXPECT_TRUE(synthesiser.Render(u"三つ目", {}, kNeverCancelled, out));
}

TEST_F(EngineSapi, AVoiceDeafToPurgesIsAbandonedRatherThanWaitedFor) {
  const std::wstring token = AddToken(L"OstrelTestVoice_deaf", L"411",
                                      {{testvoice::kHangAfter, 0}, {testvoice::kHangMs, 20000},
                                       {testvoice::kHangIgnoresAbort, 1}});
  SapiSynthesiser synthesiser(token, SapiTiming{500, 500});
  Rendering out;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(synthesiser.Render(u"はい", {}, kNeverCancelled, out));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
}

TEST_F(EngineSapi, AStopEndsASlowRenderingPromptly) {
  SapiSynthesiser synthesiser(AddToken(L"OstrelTestVoice_slow", L"411", {{testvoice::kRealTimePercent, 100}}));
  Rendering out;
  const auto started = std::chrono::steady_clock::now();
  const auto cancelled = [&] { return std::chrono::steady_clock::now() - started > std::chrono::milliseconds(300); };
  EXPECT_FALSE(synthesiser.Render(std::u16string(200, u'あ'), {}, cancelled, out));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_TRUE(synthesiser.Render(u"はい", {}, kNeverCancelled, out)) << "the voice object serves on after a stop";
}

}  // namespace
}  // namespace sapibench
