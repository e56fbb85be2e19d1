// The engine's own SAPI path against the stand-in and the test voice: which voice each language
// gets and which stand behind it, what the voice is given for the user's speed and pitch and for
// awkward text (read back from its signal), how each way a voice can fail ends a rendering, and
// what the whole engine hands its SAPI voice and when it reports a text's end.
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "orvatone_engine.h"
#include "sapi_bench.h"
#include "sapi_synthesiser_win32.h"
#include "voices_win32.h"

namespace sapibench {
namespace {

using ostrel::orvatone::AudioDevice;
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
    for (const std::wstring& key : chosenKeys_) RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Voice");
    SapiBench::TearDown();
  }

  void ChooseVoice(const wchar_t* languageKey, const std::wstring& name) {
    // Every language chosen for goes back to the program's own choice, or the next test inherits it.
    chosenKeys_.push_back(std::wstring(L"Software\\Brantic\\Ostrel4\\") + languageKey);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, chosenKeys_.back().c_str(), L"Voice", REG_SZ,
                                             name.c_str(), static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t))));
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
  std::vector<std::wstring> chosenKeys_;
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


// Plays each block at four times its speed on a thread of its own and keeps every sample written,
// so that a test can decode what the voice wrote and see how much of it had sounded.
class KeptDevice final : public AudioDevice {
 public:
  ~KeptDevice() override { Close(); }
  bool Open(int sampleRate, std::function<void()> blockDone) noexcept override {
    std::lock_guard lock(mutex_);
    rate_ = sampleRate;
    blockDone_ = std::move(blockDone);
    closing_ = false;
    paused_ = false;
    player_ = std::thread([this] { Play(); });
    return true;
  }
  bool Write(std::vector<std::int16_t> block) noexcept override {
    std::lock_guard lock(mutex_);
    written_.insert(written_.end(), block.begin(), block.end());
    queued_.push_back(block.size());
    wake_.notify_all();
    return true;
  }
  void Pause() noexcept override {
    std::lock_guard lock(mutex_);
    paused_ = true;
  }
  void Resume() noexcept override {
    std::lock_guard lock(mutex_);
    paused_ = false;
    wake_.notify_all();
  }
  void Reset() noexcept override {
    std::lock_guard lock(mutex_);
    queued_.clear();
  }
  void Close() noexcept override {
    Reset();
    {
      std::lock_guard lock(mutex_);
      closing_ = true;
      wake_.notify_all();
    }
    if (player_.joinable()) player_.join();
  }

  std::vector<std::int16_t> Written() {
    std::lock_guard lock(mutex_);
    return written_;
  }
  int Rate() {
    std::lock_guard lock(mutex_);
    return rate_;
  }
  // Samples written and samples played so far.
  std::pair<std::size_t, std::size_t> Progress() {
    std::lock_guard lock(mutex_);
    return {written_.size(), played_};
  }

 private:
  void Play() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return closing_ || (!paused_ && !queued_.empty()); });
      if (closing_) return;
      const std::size_t samples = queued_.front();
      lock.unlock();
      std::this_thread::sleep_for(std::chrono::microseconds(samples * 250000 / static_cast<std::size_t>(rate_)));
      lock.lock();
      // Dropped by a reset while it "played": never reported.
      if (queued_.empty() || closing_) continue;
      queued_.pop_front();
      played_ += samples;
      lock.unlock();
      blockDone_();
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::function<void()> blockDone_;
  std::deque<std::size_t> queued_;
  std::vector<std::int16_t> written_;
  std::size_t played_ = 0;
  int rate_ = 22050;
  bool paused_ = false;
  bool closing_ = false;
  std::thread player_;
};

// The engine's platform with the voices it would choose itself, each playing into a KeptDevice;
// the end of a text is noted with how much of the sound had been written and played by then.
class SapiEngineHost final : public ostrel::orvatone::EngineHost {
 public:
  void Record(std::string_view) noexcept override {}
  void PostSpoken(void*) noexcept override {
    std::lock_guard lock(mutex_);
    endsAt_.push_back(device_ != nullptr ? device_->Progress() : std::pair<std::size_t, std::size_t>{});
    changed_.notify_all();
  }
  std::optional<std::chrono::milliseconds> FixedSpeechLength() noexcept override { return std::nullopt; }
  void OnWorkerStarted() noexcept override {}
  void OnWorkerEnded() noexcept override {}
  bool OnPlayerThreadStarted() noexcept override { return SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)); }
  void OnPlayerThreadEnding(bool started) noexcept override {
    ostrel::orvatone::ReleaseSapiThreadVoice();
    if (started) CoUninitialize();
  }
  // The tests write their texts and dictionaries in UTF-8 whatever the language.
  std::u16string DecodeText(int, std::string_view bytes) noexcept override {
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return std::u16string(wide.begin(), wide.end());
  }
  std::optional<std::string> ReadDictionaryFile(std::string_view path) noexcept override {
    const auto found = files.find(std::string(path));
    return found != files.end() ? std::optional<std::string>(found->second) : std::nullopt;
  }
  std::optional<LanguageVoice> OpenVoice(int language) noexcept override {
    std::optional<LanguageVoice> voice = OpenBestVoice(language);
    if (!voice) return voice;
    auto device = std::make_unique<KeptDevice>();
    {
      std::lock_guard lock(mutex_);
      device_ = device.get();
    }
    voice->device = std::move(device);
    return voice;
  }
  void TellNoVoice(void*, int) noexcept override {}
  void TellDeviceFailure(void*, int) noexcept override {}
  void TellVoiceReplaced(void*, int, std::string_view, std::string_view) noexcept override {}

  KeptDevice& Device() { return *device_; }
  bool WaitForEnds(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return endsAt_.size() >= count; });
  }
  std::vector<std::pair<std::size_t, std::size_t>> Ends() {
    std::lock_guard lock(mutex_);
    return endsAt_;
  }
  // The text of each fragment the voice wrote into the device, in order.
  std::vector<std::u16string> Spoken() {
    std::vector<std::u16string> texts;
    for (const auto& f : testvoice::Fragments(testvoice::Decode(device_->Written(), device_->Rate()))) {
      texts.push_back(f.text);
    }
    return texts;
  }

  std::map<std::string, std::string> files;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  KeptDevice* device_ = nullptr;
  std::vector<std::pair<std::size_t, std::size_t>> endsAt_;
};

// The engine's own operations, in the order the program calls them, speaking through SAPI.
class EngineSapiReading : public SapiBench {
 public:
  void SetUp() override {
    SapiBench::SetUp();
    engine_ = std::make_unique<ostrel::orvatone::OrvatoneEngine>(host_);
  }
  void TearDown() override {
    engine_.reset();  // the players' threads end before the voice bench goes
    SapiBench::TearDown();
  }

  void Start(int language) {
    std::array<int*, ostrel::orvatone::kRangeReportSize> report{};
    ASSERT_EQ(ostrel::orvatone::kEngineOk, engine_->StartLanguage(language, report));
  }
  void Speak(int language, std::string_view utf8, int extra = 0) {
    ASSERT_EQ(ostrel::orvatone::kEngineOk, engine_->Speak(this, language, utf8, {100, 100, 100, 0, 0, extra}));
  }
  std::u16string Joined() {
    std::u16string all;
    for (const std::u16string& text : host_.Spoken()) all += text;
    return all;
  }

  SapiEngineHost host_;
  std::unique_ptr<ostrel::orvatone::OrvatoneEngine> engine_;
};

TEST_F(EngineSapiReading, TheUserDictionaryAndTheKoreanRuleChangeTheTextBeforeTheVoiceGetsIt) {
  host_.files["C:\\dict.csv"] = "東京,とうきょう\n";
  ASSERT_EQ(ostrel::orvatone::kEngineOk, engine_->SetUserDictionary(kJapanese, "C:\\dict.csv"));
  Start(kJapanese);
  Speak(kJapanese, "東京へ");
  ASSERT_TRUE(host_.WaitForEnds(1));
  EXPECT_EQ(u"とうきょうへ", Joined());

  // Korean: a parenthesis shorter than the user's length is left out, one as long is read.
  engine_.reset();
  engine_ = std::make_unique<ostrel::orvatone::OrvatoneEngine>(host_);
  Start(kKorean);
  Speak(kKorean, "서울(ㅅ)과 부산(釜山市)", 3);
  ASSERT_TRUE(host_.WaitForEnds(2));
  EXPECT_EQ(u"서울과 부산(釜山市)", Joined());
}

TEST_F(EngineSapiReading, TheEndIsReportedOnceAfterTheLastSampleAndNeverForAStoppedText) {
  Start(kJapanese);
  Speak(kJapanese, "一つ目。二つ目。");
  ASSERT_TRUE(host_.WaitForEnds(1));
  const auto [written, played] = host_.Ends().at(0);
  EXPECT_GT(written, 0u);
  EXPECT_EQ(written, played) << "the end was reported before the sound had played";
  EXPECT_EQ((std::vector<std::u16string>{u"一つ目。", u"二つ目。"}), host_.Spoken());

  std::string longText;
  for (int i = 0; i < 30; ++i) longText += "あ";
  Speak(kJapanese, longText);
  while (host_.Device().Progress().second <= played) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(ostrel::orvatone::kEngineOk, engine_->Stop(kJapanese));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(1u, host_.Ends().size()) << "a stopped text was reported as spoken";
}

TEST_F(EngineSapiReading, APauseHoldsThePlaceAndResumeGoesOnWithNothingLostOrSaidTwice) {
  Start(kJapanese);
  Speak(kJapanese, "一つ目。二つ目。三つ目。");
  while (host_.Device().Progress().second == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(ostrel::orvatone::kEngineOk, engine_->Pause(kJapanese));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  const std::size_t heldAt = host_.Device().Progress().second;
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(heldAt, host_.Device().Progress().second) << "sound went on while paused";
  EXPECT_TRUE(host_.Ends().empty());
  ASSERT_EQ(ostrel::orvatone::kEngineOk, engine_->Resume(kJapanese));
  ASSERT_TRUE(host_.WaitForEnds(1));
  EXPECT_EQ((std::vector<std::u16string>{u"一つ目。", u"二つ目。", u"三つ目。"}), host_.Spoken());
  const auto [written, played] = host_.Ends().at(0);
  EXPECT_EQ(written, played);
}

}  // namespace
}  // namespace sapibench
