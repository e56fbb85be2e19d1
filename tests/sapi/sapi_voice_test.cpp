// Rendering through SAPI as the speech engine does (markup into an SpStream over memory,
// asynchronously, waited for), read back from the test voice's signal: what arrived, and how a
// failing, hanging or slow voice shows.
#include "sapi_bench.h"

namespace sapibench {
namespace {

constexpr DWORD kEngineFlags = SPF_ASYNC | SPF_IS_XML | SPF_PURGEBEFORESPEAK;
const std::wstring kJapaneseClassic = TokenId(testvoice::kTestTokens[1]);

// Speaks and waits, as the engine does; the records of what the voice rendered.
std::vector<testvoice::Record> Render(ISpVoice* voice, const std::wstring& text, DWORD flags = kEngineFlags,
                                      int rate = 22050) {
  const SapiBench::Output out = SapiBench::Attach(voice, rate);
  EXPECT_EQ(S_OK, voice->Speak(text.c_str(), flags, nullptr));
  EXPECT_EQ(S_OK, voice->WaitUntilDone(30000));
  EXPECT_EQ(S_OK, voice->SetOutput(nullptr, FALSE));
  return SapiBench::Records(out);
}

class SapiVoice : public SapiBench {};

TEST_F(SapiVoice, TheEnginesMarkupReachesTheVoiceExactly) {
  ComPtr<ISpVoice> voice = Voice(kJapaneseClassic);
  ASSERT_TRUE(voice);
  const std::wstring text = L"<pitch absmiddle=\"-3\"><rate absspeed=\"4\">今日は &lt;晴れ&gt; &amp; \"暖かい\"</rate></pitch>";
  const std::vector<testvoice::FragmentRecord> fragments = testvoice::Fragments(Render(voice.get(), text));
  ASSERT_EQ(1u, fragments.size());
  const testvoice::FragmentRecord& f = fragments[0];
  EXPECT_EQ(u"今日は <晴れ> & \"暖かい\"", f.text);
  EXPECT_EQ(SPVA_Speak, f.action);
  EXPECT_EQ(4, f.rateAdj);
  EXPECT_EQ(-3, f.middleAdj);
  EXPECT_EQ(100, f.volume);
  EXPECT_EQ(0, f.siteRate);
  EXPECT_EQ(100, f.siteVolume);
  EXPECT_EQ(0x411, f.langId);
  EXPECT_EQ(text.find(L"今"), f.sourceOffset);
}

TEST_F(SapiVoice, NestedRelativeAndEmptyTagsEachGiveTheirFragment) {
  ComPtr<ISpVoice> voice = Voice(kJapaneseClassic);
  ASSERT_TRUE(voice);
  const std::vector<testvoice::Record> records = Render(
      voice.get(),
      L"<rate speed=\"2\">a<rate speed=\"3\">b</rate><volume level=\"40\"/>c<pitch middle=\"5\">d</pitch>"
      L"<silence msec=\"120\"/><![CDATA[<e>]]></rate>f");
  const std::vector<testvoice::FragmentRecord> f = testvoice::Fragments(records);
  ASSERT_EQ(7u, f.size()) << Dump(records);
  EXPECT_EQ(u"a", f[0].text);
  EXPECT_EQ(2, f[0].rateAdj);
  EXPECT_EQ(5, f[1].rateAdj);
  EXPECT_EQ(u"c", f[2].text);
  EXPECT_EQ(40, f[2].volume);
  EXPECT_EQ(5, f[3].middleAdj);
  EXPECT_EQ(40, f[3].volume);
  EXPECT_EQ(SPVA_Silence, f[4].action);
  EXPECT_EQ(120, f[4].silenceMs);
  EXPECT_EQ(u"<e>", f[5].text);
  EXPECT_EQ(0, f[5].middleAdj);
  EXPECT_EQ(u"f", f[6].text);
  EXPECT_EQ(0, f[6].rateAdj);
  EXPECT_EQ(100, f[6].volume);
  for (std::size_t i = 0; i < f.size(); ++i) EXPECT_EQ(i, f[i].index);
}

TEST_F(SapiVoice, TextThatIsNotMarkupArrivesAsWritten) {
  ComPtr<ISpVoice> voice = Voice(kJapaneseClassic);
  ASSERT_TRUE(voice);
  const std::vector<testvoice::FragmentRecord> plain =
      testvoice::Fragments(Render(voice.get(), L"<b> & c", SPF_ASYNC | SPF_IS_NOT_XML));
  ASSERT_EQ(1u, plain.size());
  EXPECT_EQ(u"<b> & c", plain[0].text);
  // Without either flag, text that does not start with a tag is not read as markup.
  const std::vector<testvoice::FragmentRecord> guessed = testvoice::Fragments(Render(voice.get(), L"x &amp; y", 0));
  ASSERT_EQ(1u, guessed.size());
  EXPECT_EQ(u"x &amp; y", guessed[0].text);
}

TEST_F(SapiVoice, RateAndVolumeOfTheVoiceObjectReachTheVoiceBesideTheMarkup) {
  ComPtr<ISpVoice> voice = Voice(kJapaneseClassic);
  ASSERT_TRUE(voice);
  EXPECT_EQ(S_OK, voice->SetRate(-4));
  EXPECT_EQ(S_OK, voice->SetVolume(50));
  EXPECT_EQ(E_INVALIDARG, voice->SetRate(11));
  EXPECT_EQ(E_INVALIDARG, voice->SetVolume(101));
  const std::vector<testvoice::FragmentRecord> f =
      testvoice::Fragments(Render(voice.get(), L"<rate absspeed=\"7\"><volume level=\"20\">x</volume></rate>"));
  ASSERT_EQ(1u, f.size());
  EXPECT_EQ(-4, f[0].siteRate);
  EXPECT_EQ(7, f[0].rateAdj);
  EXPECT_EQ(50, f[0].siteVolume);
  EXPECT_EQ(20, f[0].volume);
}

TEST_F(SapiVoice, MarkupThatIsNotWellFormedAndUnknownFlagsAreRefused) {
  ComPtr<ISpVoice> voice = Voice(kJapaneseClassic);
  ASSERT_TRUE(voice);
  const Output out = Attach(voice.get());
  for (const wchar_t* bad : {L"<pitch middle=\"1\">x", L"a < b", L"a &bogus; b", L"<rate>x</rate>",
                             L"<pitch absmiddle=\"1\">x</rate>", L"<volume level=\"loud\">x</volume>"}) {
    EXPECT_EQ(E_INVALIDARG, voice->Speak(bad, kEngineFlags, nullptr)) << testing::PrintToString(std::wstring(bad));
  }
  EXPECT_EQ(sapiids::kSpErrInvalidFlags, voice->Speak(L"x", SPF_IS_XML | SPF_IS_NOT_XML, nullptr));
  EXPECT_EQ(sapiids::kSpErrInvalidFlags, voice->Speak(L"x", 0x10000, nullptr));
  EXPECT_EQ(S_OK, voice->WaitUntilDone(5000));
  EXPECT_TRUE(Samples(out.memory.get()).empty());
}

TEST_F(SapiVoice, OneVoiceObjectServesOneStreamAfterAnother) {
  ComPtr<ISpVoice> voice = Voice(kJapaneseClassic);
  ASSERT_TRUE(voice);
  const std::vector<testvoice::FragmentRecord> first = testvoice::Fragments(Render(voice.get(), L"<sapi>one</sapi>"));
  const std::vector<testvoice::FragmentRecord> second =
      testvoice::Fragments(Render(voice.get(), L"<sapi>two</sapi>", kEngineFlags, 16000));
  ASSERT_EQ(1u, first.size());
  ASSERT_EQ(1u, second.size());
  EXPECT_EQ(u"one", first[0].text);
  EXPECT_EQ(u"two", second[0].text);
  EXPECT_EQ(1, second[0].index);
  // Null output is the default audio device, which the stand-in does not have.
  EXPECT_EQ(E_NOTIMPL, voice->Speak(L"x", kEngineFlags, nullptr));
}

TEST_F(SapiVoice, AFormatTheVoiceDoesNotWriteFailsTheSpeakCallNotTheWait) {
  ComPtr<ISpVoice> voice = Voice(kJapaneseClassic);
  ASSERT_TRUE(voice);
  const Output out = Attach(voice.get(), 8000);
  EXPECT_EQ(S_OK, voice->Speak(L"<sapi>x</sapi>", kEngineFlags, nullptr));
  EXPECT_EQ(S_OK, voice->WaitUntilDone(5000));
  EXPECT_EQ(sapiids::kSpErrUnsupportedFormat, LastResult(voice.get()));
  EXPECT_TRUE(Samples(out.memory.get()).empty());
}

// The wait ends well whatever the voice did; only the voice object's status tells of a failure.
TEST_F(SapiVoice, AVoiceFailingMidwayLeavesWhatItRenderedAndItsFailureInTheStatus) {
  ComPtr<ISpVoice> voice = Voice(AddToken(L"OstrelTestVoice_failing", L"411", {{testvoice::kFailAfter, 1}}));
  ASSERT_TRUE(voice);
  const Output out = Attach(voice.get());
  EXPECT_EQ(S_OK, voice->Speak(L"<rate speed=\"1\">a</rate>b", kEngineFlags, nullptr));
  EXPECT_EQ(S_OK, voice->WaitUntilDone(30000));
  EXPECT_EQ(testvoice::kFailAfterResult, LastResult(voice.get()));
  const std::vector<testvoice::FragmentRecord> f = testvoice::Fragments(Records(out));
  ASSERT_EQ(1u, f.size());
  EXPECT_EQ(u"a", f[0].text);
  // Spoken synchronously, the failure is Speak's own result.
  EXPECT_EQ(testvoice::kFailAfterResult, voice->Speak(L"c", SPF_IS_NOT_XML, nullptr));
}

TEST_F(SapiVoice, AHungVoiceOutlastsTheWaitUntilAPurgeAbortsIt) {
  ComPtr<ISpVoice> voice = Voice(AddToken(L"OstrelTestVoice_hanging", L"411",
                                          {{testvoice::kHangAfter, 1}, {testvoice::kHangMs, 60000}}));
  ASSERT_TRUE(voice);
  const Output out = Attach(voice.get());
  ASSERT_EQ(S_OK, voice->Speak(L"<sapi>a<emph>b</emph></sapi>", kEngineFlags, nullptr));
  EXPECT_EQ(S_FALSE, voice->WaitUntilDone(300));
  SPVOICESTATUS status{};
  EXPECT_EQ(S_OK, voice->GetStatus(&status, nullptr));
  EXPECT_EQ(static_cast<DWORD>(SPRS_IS_SPEAKING), status.dwRunningState);
  EXPECT_EQ(S_OK, voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
  EXPECT_EQ(S_OK, voice->WaitUntilDone(10000));
  const std::vector<testvoice::Record> records = Records(out);
  ASSERT_EQ(2u, records.size()) << Dump(records);
  EXPECT_EQ(u"a", records[0].fragment.text);
  ASSERT_EQ(testvoice::RecordType::kAction, records[1].type);
  EXPECT_EQ(SPVES_ABORT, records[1].action.actions & SPVES_ABORT);
  EXPECT_EQ(1, records[1].action.fragmentIndex);
}

TEST_F(SapiVoice, AVoiceDeafToAbortsKeepsTheWaitWaiting) {
  ComPtr<ISpVoice> voice = Voice(AddToken(L"OstrelTestVoice_deaf", L"411",
                                          {{testvoice::kHangAfter, 0}, {testvoice::kHangMs, 3000},
                                           {testvoice::kHangIgnoresAbort, 1}}));
  ASSERT_TRUE(voice);
  const Output out = Attach(voice.get());
  ASSERT_EQ(S_OK, voice->Speak(L"<sapi>a</sapi>", kEngineFlags, nullptr));
  EXPECT_EQ(S_FALSE, voice->WaitUntilDone(300));
  EXPECT_EQ(S_OK, voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
  EXPECT_EQ(S_FALSE, voice->WaitUntilDone(200));
  EXPECT_EQ(S_OK, voice->WaitUntilDone(20000));
  EXPECT_TRUE(Records(out).empty());
}

TEST_F(SapiVoice, APurgeReachesASlowVoiceBetweenItsChunks) {
  ComPtr<ISpVoice> voice =
      Voice(AddToken(L"OstrelTestVoice_slow", L"411", {{testvoice::kRealTimePercent, 100}}));
  ASSERT_TRUE(voice);
  const Output out = Attach(voice.get());
  // Some seconds of sound at real time; the purge comes long before the end.
  ASSERT_EQ(S_OK, voice->Speak(L"<sapi>first part of a long reading</sapi><sapi>and more after it</sapi>",
                               kEngineFlags, nullptr));
  EXPECT_EQ(S_FALSE, voice->WaitUntilDone(400));
  EXPECT_EQ(S_OK, voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr));
  EXPECT_EQ(S_OK, voice->WaitUntilDone(10000));
  const std::vector<testvoice::Record> records = Records(out);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(testvoice::RecordType::kAction, records.back().type) << Dump(records);
  EXPECT_TRUE(testvoice::Fragments(records).size() < 2) << Dump(records);
}

}  // namespace
}  // namespace sapibench
