#include "reading/clipboard_to_speech.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "reading/prepare_for_speech.h"
#include "reading/reading_control.h"
#include "reading/reading_texts.h"
#include "reading/text_capture.h"
#include "capture_fakes.h"
#include "reading_fakes.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeCapturePlatform;
using testing::FakeEngine;
using testing::FakeHost;

class FakeClipboard : public ClipboardReader {
 public:
  explicit FakeClipboard(CallLog& log) : log_(log) {}
  bool HasUnicodeText() override {
    log_.push_back("HasText");
    return ++looks >= textFromLook;
  }
  bool Open() override {
    log_.push_back("Open");
    return opens;
  }
  std::optional<std::u16string> UnicodeText() override {
    log_.push_back("GetText");
    return text;
  }
  void Empty() override {
    log_.push_back("Empty");
    if (onEmpty) onEmpty();
  }
  void Close() override { log_.push_back("Close"); }

  int looks = 0;
  int textFromLook = 1;
  bool opens = true;
  std::optional<std::u16string> text = u"AB";
  std::function<void()> onEmpty;

 private:
  CallLog& log_;
};

// ASCII passes through; a few characters have the bytes their code page gives them; anything
// else becomes '?', the default character.
class FakeEncoder : public TextEncoder {
 public:
  struct Call {
    uint32_t codePage;
    size_t limit;
    friend bool operator==(const Call&, const Call&) = default;
  };
  std::string Encode(std::u16string_view text, uint32_t codePage, size_t limit) override {
    calls.push_back({codePage, limit});
    static const std::map<char16_t, std::string> bytes = {
        {u'あ', "\x82\xA0"}, {u'亜', "\x88\x9F"}, {u'国', "\xB9\xFA"}, {u'é', "\xE9"}, {u'한', "\xC7\xD1"}};
    std::string out;
    for (const char16_t c : text) {
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (const auto found = bytes.find(c); found != bytes.end()) {
        out += found->second;
      } else {
        out += '?';
      }
    }
    return out.substr(0, limit);
  }
  void TraditionalToSimplified(std::u16string& text) override {
    ++simplifications;
    std::replace(text.begin(), text.end(), u'國', u'国');
  }

  std::vector<Call> calls;
  int simplifications = 0;
};

// A capture has started the timer and the application has copied.
constexpr CaptureFlags kAfterCopy{.ClipboardWaiting = 0, .ClipboardChanged = 1, .ClipboardTimerRunning = 1};

class ReadingClipboardToSpeechTest : public ::testing::Test {
 protected:
  ReadingClipboardToSpeechTest() {
    settings.UseLanguageSet = 0x0F;
    settings.languageEnabled = {true, true, true, true};
    // Distinct values that spell the argument order: pitch, speed, volume, pause, commapause.
    for (int l = 0; l < kLanguageCount; ++l) {
      const int32_t base = 10 * l;
      settings.languages[l].voice = {base + 2, base + 1, base + 3, base + 4, base + 5, base + 6};
    }
    buttons.Initialize();
    buttons.MarkDrawn();  // as the toolbar shows them
    flags = kAfterCopy;
  }

  CallLog Waits(int count) const {
    CallLog calls;
    for (int i = 0; i < count; ++i) {
      calls.push_back("Sleep 500");
      calls.push_back("HasText");
    }
    return calls;
  }

  CallLog log;
  AppSettings settings;
  ButtonStates buttons;
  FakeEngine engine{log};
  FakeHost host{log, buttons};
  ReadingControl reading{settings, engine, host};
  FakeCapturePlatform platform{log};
  FakeClipboard clipboard{log};
  FakeEncoder encoder;
  CaptureFlags flags;
  TextCapture capture{platform, flags};
  ClipboardToSpeech tick{clipboard, encoder, platform, flags, capture, reading, settings};
};

TEST_F(ReadingClipboardToSpeechTest, BeforeTheClipboardChangesATickOnlyFreesTheHeldText) {
  flags.ClipboardChanged = 0;
  reading.SetHeldText("old");
  tick.OnClipboardTimer();
  EXPECT_EQ(reading.HeldText(), nullptr);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(flags.ClipboardTimerRunning, 1);
}

TEST_F(ReadingClipboardToSpeechTest, ReadsTheTextEmptiesTheClipboardAndSpeaks) {
  reading.SetHeldText("old");
  tick.OnClipboardTimer();
  EXPECT_EQ(log, (CallLog{"HasText", "Open", "GetText", "Empty", "Close", "StopTimer", "Speak 1 4142 1 2 3 4 5 0"}));
  ASSERT_NE(reading.HeldText(), nullptr);
  EXPECT_EQ(*reading.HeldText(), "AB");
  EXPECT_EQ(engine.lastWindow, testing::kToolbarId);
  EXPECT_EQ(flags.ClipboardTimerRunning, 0);
  EXPECT_EQ(flags.ClipboardChanged, 1);  // the next capture clears it
  EXPECT_TRUE(platform.warnings.empty());
}

TEST_F(ReadingClipboardToSpeechTest, WaitsUpToElevenTimesForTheText) {
  struct Row {
    int textFromLook;
    int waits;
    bool read;
  };
  for (const Row& row : {Row{5, 4, true}, Row{12, 11, true}, Row{13, 11, false}}) {
    SCOPED_TRACE(row.textFromLook);
    log.clear();
    platform.warnings.clear();
    flags = kAfterCopy;
    clipboard.looks = 0;
    clipboard.textFromLook = row.textFromLook;
    tick.OnClipboardTimer();
    CallLog expected = {"HasText"};
    const CallLog waits = Waits(row.waits);
    expected.insert(expected.end(), waits.begin(), waits.end());
    if (row.read) {
      expected.insert(expected.end(), {"Open", "GetText", "Empty", "Close", "StopTimer", "Speak 1 4142 1 2 3 4 5 0"});
      EXPECT_TRUE(platform.warnings.empty());
    } else {
      expected.insert(expected.end(), {"StopTimer", "Warning"});
      EXPECT_EQ(platform.warnings, std::vector<std::u16string>{texts::kNoTextCaptured});
    }
    EXPECT_EQ(log, expected);
    EXPECT_EQ(flags.ClipboardTimerRunning, 0);
  }
}

TEST_F(ReadingClipboardToSpeechTest, ClipboardFailuresStopTheTimerAndSpeakNothing) {
  struct Row {
    const char* name;
    bool opens;
    std::optional<std::u16string> text;
    CallLog calls;
    std::u16string warning;
  };
  const std::vector<Row> rows = {
      {"cannot open", false, u"AB", {"HasText", "Open", "StopTimer", "Warning"}, texts::kClipboardOpenFailed},
      {"no data",
       true,
       std::nullopt,
       {"HasText", "Open", "GetText", "Close", "StopTimer", "Warning"},
       texts::kNoTextCaptured},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    log.clear();
    platform.warnings.clear();
    flags = kAfterCopy;
    clipboard.opens = row.opens;
    clipboard.text = row.text;
    tick.OnClipboardTimer();
    EXPECT_EQ(log, row.calls);
    EXPECT_EQ(platform.warnings, std::vector<std::u16string>{row.warning});
    EXPECT_EQ(flags.ClipboardTimerRunning, 0);
    EXPECT_EQ(reading.HeldText(), nullptr);
  }
}

// The message box runs a message loop in which a hot key can start the next capture; that
// capture must find no timer running, or nobody would pick up its text.
TEST_F(ReadingClipboardToSpeechTest, ATimerThatGaveUpIsNotRunningWhileItsMessageShows) {
  clipboard.opens = false;
  bool nested = false;
  platform.onWarning = [&] {
    if (nested) return;
    nested = true;
    capture.StartTextCapture(kSelectionReading);
  };
  tick.OnClipboardTimer();
  EXPECT_EQ(std::count(log.begin(), log.end(), "StartTimer"), 1);
  EXPECT_EQ(flags.ClipboardTimerRunning, 1);
  EXPECT_EQ(flags.ClipboardWaiting, 1);
}

TEST_F(ReadingClipboardToSpeechTest, EmptyTextIsNotSpokenAndTheNextCaptureStartsTheTimer) {
  clipboard.text = u"";
  tick.OnClipboardTimer();
  EXPECT_EQ(log, (CallLog{"HasText", "Open", "GetText", "Empty", "Close", "StopTimer"}));
  EXPECT_TRUE(platform.warnings.empty());
  EXPECT_EQ(reading.HeldText(), nullptr);
  EXPECT_EQ(flags.ClipboardTimerRunning, 0);

  log.clear();
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(log.back(), "StartTimer");
  EXPECT_EQ(flags.ClipboardTimerRunning, 1);
}

// A clipboard holding only a picture or another program's private format, one that will not
// open, or an empty text: nothing is read, and the toolbar must not go on showing a reading.
TEST_F(ReadingClipboardToSpeechTest, ACaptureThatFindsNoTextEndsTheReadingBeforeAnyMessage) {
  struct Row {
    const char* name;
    int textFromLook;
    bool opens;
    std::optional<std::u16string> text;
    std::vector<std::u16string> warnings;
  };
  const std::vector<Row> rows = {
      {"only non-text formats", 99, true, u"AB", {texts::kNoTextCaptured}},
      {"cannot open", 1, false, u"AB", {texts::kClipboardOpenFailed}},
      {"no data", 1, true, std::nullopt, {texts::kNoTextCaptured}},
      {"empty text", 1, true, u"", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    reading.ExecuteCommand(Command::SelectionReading);
    host.RedrawIfChanged();
    ASSERT_EQ(reading.State(ReadKind::Selection), ReadingState::Speaking);
    ASSERT_EQ(buttons.State(Command::Stop), ButtonState::Normal);
    log.clear();
    platform.warnings.clear();
    flags = kAfterCopy;
    clipboard.looks = 0;
    clipboard.textFromLook = row.textFromLook;
    clipboard.opens = row.opens;
    clipboard.text = row.text;

    tick.OnClipboardTimer();
    EXPECT_EQ(platform.warnings, row.warnings);
    EXPECT_EQ((std::array{reading.State(ReadKind::Selection), reading.State(ReadKind::WholeText)}),
              (std::array{ReadingState::Idle, ReadingState::Idle}));
    EXPECT_EQ(buttons.State(Command::Stop), ButtonState::Disabled);
    EXPECT_EQ(buttons.State(Command::WholeTextReading), ButtonState::Normal);
    EXPECT_EQ(buttons.Variant(Command::SelectionReading), 0);
    EXPECT_FALSE(buttons.Changed());
    // Shown idle before the message, and nothing asked of the engine.
    const auto redraw = std::find(log.begin(), log.end(), "Redraw");
    ASSERT_NE(redraw, log.end());
    EXPECT_LT(redraw - log.begin(), std::find(log.begin(), log.end(), "Warning") - log.begin());
    for (const std::string& call : log) {
      EXPECT_NE(call.rfind("Speak", 0), 0u) << call;
      EXPECT_NE(call.rfind("Stop ", 0), 0u) << call;
    }
    // What the other program put there stays for it.
    if (!row.text || row.textFromLook > 1) {
      EXPECT_EQ(std::count(log.begin(), log.end(), "Empty"), 0);
    }
  }
}

TEST_F(ReadingClipboardToSpeechTest, TheReadButtonPressedWhileTheMessageShowsStartsANewReading) {
  host.onCapture = [&](int kind) { capture.StartTextCapture(kind); };
  reading.ExecuteCommand(Command::SelectionReading);
  flags = kAfterCopy;
  clipboard.textFromLook = 99;
  bool pressed = false;
  platform.onWarning = [&] {
    if (pressed) return;
    pressed = true;
    log.clear();
    reading.ExecuteCommand(Command::SelectionReading);
  };
  tick.OnClipboardTimer();
  ASSERT_TRUE(pressed);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Capture 0"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "StartTimer"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "Pause 1"), 0);
  EXPECT_EQ(reading.State(ReadKind::Selection), ReadingState::Speaking);
}

TEST_F(ReadingClipboardToSpeechTest, PreparesTheTextForEachLanguage) {
  struct Row {
    const char* name;
    LanguageIndex language;
    int32_t chineseCode;
    std::u16string text;
    FakeEncoder::Call encoding;
    int simplifications;
    std::string speak;
  };
  const std::vector<Row> rows = {
      {"Japanese", kJapanese, 0, u"aあ", {932, 6}, 0, "Speak 1 6182A0 1 2 3 4 5 0"},
      {"Chinese GB", kChinese, 0, u"国", {936, 4}, 0, "Speak 2 B9FA 11 12 13 14 15 0"},
      {"Chinese BIG5", kChinese, 1, u"國", {936, 4}, 1, "Speak 2 B9FA 11 12 13 14 15 0"},
      {"Chinese XR simplified", kChinese, 2, u"亜a", {932, 204}, 0, "Speak 2 B0A161 11 12 13 14 15 0"},
      {"Chinese XR traditional", kChinese, 3, u"亜a", {932, 204}, 0, "Speak 2 B0A161 11 12 13 14 15 0"},
      {"Chinese, unknown code taken as GB", kChinese, 9, u"国", {936, 4}, 0, "Speak 2 B9FA 11 12 13 14 15 0"},
      {"English", kEnglish, 0, u"é!", {1252, 6}, 0, "Speak 3 E921 21 22 23 24 25 0"},
      {"Korean passes its parenthesis rule", kKorean, 0, u"한", {949, 4}, 0, "Speak 4 C7D1 31 32 33 34 35 36"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    log.clear();
    encoder.calls.clear();
    encoder.simplifications = 0;
    flags = kAfterCopy;
    settings.language = row.language;
    settings.languages[kChinese].codepage = row.chineseCode;
    clipboard.text = row.text;
    tick.OnClipboardTimer();
    EXPECT_EQ(encoder.calls, std::vector<FakeEncoder::Call>{row.encoding});
    EXPECT_EQ(encoder.simplifications, row.simplifications);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), row.speak);
  }
}

// The clipboard as one: the platform's model of it is what the tick reads and empties.
class ReadingKeptClipboardTest : public ReadingClipboardToSpeechTest {
 protected:
  ReadingKeptClipboardTest() {
    flags = {};
    clipboard.onEmpty = [this] {
      platform.clipboard.reset();
      ++platform.sequence;
    };
    host.onCapture = [this](int kind) { capture.StartTextCapture(kind); };
  }
  void Keep(bool keep) { capture.SetOptions({.keepClipboard = keep, .quick = false}); }
  // The application copies what is selected in it.
  void ApplicationCopies(const std::u16string& text) {
    platform.CopiedByAnotherProgram(text);
    clipboard.text = text;
    capture.OnClipboardChanged();
  }
  const std::u16string before = u"what the user copied before";
};

TEST_F(ReadingKeptClipboardTest, TheUsersClipboardIsBackAfterTheReadingOnlyWithTheOption) {
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    platform.clipboard = before;
    Keep(keep);
    reading.ExecuteCommand(Command::SelectionReading);
    EXPECT_EQ(platform.clipboard, std::nullopt) << "the copy must find the clipboard empty";
    ApplicationCopies(u"AB");
    log.clear();
    tick.OnClipboardTimer();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Speak 1 4142 1 2 3 4 5 0"), 1);
    EXPECT_EQ(platform.clipboard, keep ? std::optional(before) : std::nullopt);
    EXPECT_EQ(platform.kept, std::nullopt);
    EXPECT_TRUE(platform.warnings.empty());
    reading.ExecuteCommand(Command::Stop);
  }
}

TEST_F(ReadingKeptClipboardTest, WhatAnotherProgramCopiedMeanwhileIsNotOverwritten) {
  Keep(true);
  capture.StartTextCapture(kSelectionReading);
  ApplicationCopies(u"AB");
  // The tick takes the text; before the clipboard goes back, another program copies.
  clipboard.Empty();
  capture.ClipboardTextTaken();
  platform.CopiedByAnotherProgram(u"copied meanwhile");
  capture.PutClipboardBack();
  EXPECT_EQ(platform.clipboard, u"copied meanwhile");
  EXPECT_EQ(platform.kept, std::nullopt);
  EXPECT_EQ(platform.putBacks, 0);
}

TEST_F(ReadingKeptClipboardTest, ACaptureWhoseApplicationNeverCopiedLeavesTheClipboardToKeepToTheNext) {
  Keep(true);
  capture.StartTextCapture(kSelectionReading);  // nothing selected: no copy follows
  capture.StartTextCapture(kSelectionReading);
  EXPECT_EQ(platform.kept, before) << "the empty clipboard of the first capture was kept instead";
  ApplicationCopies(u"AB");
  tick.OnClipboardTimer();
  EXPECT_EQ(platform.clipboard, before);
}

TEST_F(ReadingKeptClipboardTest, WithoutACopyTheWaitEndsAndTheClipboardGoesBack) {
  Keep(true);
  reading.ExecuteCommand(Command::SelectionReading);
  for (int tickNumber = 1; tickNumber < TextCapture::kTicksWithoutCopy; ++tickNumber) tick.OnClipboardTimer();
  EXPECT_TRUE(platform.warnings.empty());
  EXPECT_EQ(platform.clipboard, std::nullopt);

  tick.OnClipboardTimer();
  EXPECT_EQ(platform.warnings, std::vector<std::u16string>{texts::kNoTextCaptured});
  EXPECT_EQ(platform.clipboard, before);
  EXPECT_FALSE(platform.waitRunning);
  EXPECT_EQ(flags.ClipboardTimerRunning, 0);
  EXPECT_EQ(flags.ClipboardWaiting, 0) << "putting the clipboard back would be taken as the copy";
  EXPECT_EQ(reading.State(ReadKind::Selection), ReadingState::Idle);
}

TEST_F(ReadingKeptClipboardTest, WithoutTheOptionTheWaitForACopyHasNoEnd) {
  Keep(false);
  reading.ExecuteCommand(Command::SelectionReading);
  for (int tickNumber = 0; tickNumber < 3 * TextCapture::kTicksWithoutCopy; ++tickNumber) tick.OnClipboardTimer();
  EXPECT_TRUE(platform.warnings.empty());
  EXPECT_TRUE(platform.waitRunning);
  EXPECT_EQ(flags.ClipboardWaiting, 1);
  EXPECT_EQ(reading.State(ReadKind::Selection), ReadingState::Speaking);
}

TEST_F(ReadingKeptClipboardTest, WhatTheApplicationLeftInsteadOfATextStays) {
  Keep(true);
  capture.StartTextCapture(kSelectionReading);
  ApplicationCopies(u"a picture");
  clipboard.textFromLook = 99;  // no Unicode text among it
  tick.OnClipboardTimer();
  EXPECT_EQ(platform.warnings, std::vector<std::u16string>{texts::kNoTextCaptured});
  EXPECT_EQ(platform.clipboard, u"a picture");
  EXPECT_EQ(platform.kept, std::nullopt);
}

TEST_F(ReadingKeptClipboardTest, AnEmptyTextIsTakenAndTheClipboardGoesBack) {
  Keep(true);
  capture.StartTextCapture(kSelectionReading);
  ApplicationCopies(u"");
  tick.OnClipboardTimer();
  EXPECT_TRUE(platform.warnings.empty());
  EXPECT_EQ(platform.clipboard, before);
}

TEST_F(ReadingKeptClipboardTest, AClipboardThatCannotBeEmptiedIsNeitherKeptNorTouched) {
  for (const ClipboardClearing failure : {ClipboardClearing::kNotOpened, ClipboardClearing::kNotEmptied}) {
    platform.clearing = failure;
    Keep(true);
    capture.StartTextCapture(kSelectionReading);
    EXPECT_EQ(platform.clipboard, before);
    EXPECT_EQ(platform.kept, std::nullopt);
    capture.PutClipboardBack();
    EXPECT_EQ(platform.putBacks, 0);
  }
}

TEST_F(ReadingKeptClipboardTest, ClosingWhileWaitingPutsTheClipboardBack) {
  Keep(true);
  capture.StartTextCapture(kSelectionReading);
  capture.EndForClose();
  EXPECT_EQ(platform.clipboard, before);
  EXPECT_EQ(flags.ClipboardWaiting, 0);
  // The change that putting it back announces is not taken as the copy.
  capture.OnClipboardChanged();
  EXPECT_EQ(flags.ClipboardChanged, 0);
}

// A stop ends a capture still waiting for its copy: what the user copies afterwards stays on
// the clipboard and is not read.
TEST_F(ReadingKeptClipboardTest, AStopEndsACaptureThatWaitsForItsCopy) {
  host.onEndCapture = [this] { capture.EndForStop(); };
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep);
    platform.clipboard = before;
    Keep(keep);
    reading.ExecuteCommand(Command::SelectionReading);  // nothing selected: no copy follows
    reading.ExecuteCommand(Command::Stop);
    EXPECT_EQ(flags.ClipboardTimerRunning, 0);
    EXPECT_FALSE(platform.waitRunning);
    EXPECT_EQ(platform.clipboard, keep ? std::optional(before) : std::nullopt);

    log.clear();
    ApplicationCopies(u"copied later");
    tick.OnClipboardTimer();  // a tick already on its way
    EXPECT_EQ(platform.clipboard, u"copied later");
    for (const std::string& call : log) EXPECT_NE(call.rfind("Speak", 0), 0u) << call;
    EXPECT_EQ(reading.State(ReadKind::Selection), ReadingState::Idle);

    // The next reading captures as ever.
    reading.ExecuteCommand(Command::SelectionReading);
    ApplicationCopies(u"AB");
    tick.OnClipboardTimer();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Speak 1 4142 1 2 3 4 5 0"), 1);
    reading.ExecuteCommand(Command::Stop);
  }
}

// The stop may come while the capture lets messages run before the keys (a click on the stop
// button, the stop hot key): the capture then waits for nothing and the reading stays idle.
TEST_F(ReadingKeptClipboardTest, AStopWhileTheKeysGoOutLeavesNothingWaiting) {
  host.onEndCapture = [this] { capture.EndForStop(); };
  platform.whileSendingKeys = [this] { reading.ExecuteCommand(Command::Stop); };
  reading.ExecuteCommand(Command::WholeTextReading);
  EXPECT_EQ(platform.waitsStarted, 0);
  EXPECT_EQ(flags.ClipboardTimerRunning, 0);
  EXPECT_EQ(reading.State(ReadKind::WholeText), ReadingState::Idle);
  EXPECT_TRUE(reading.Available(Command::SelectionReading));
  EXPECT_FALSE(reading.Available(Command::Stop));
  ApplicationCopies(u"the whole text");
  EXPECT_EQ(flags.ClipboardChanged, 0);
}

// A stop after the reading (the engine's end, the stop button) finds no capture to end.
TEST_F(ReadingKeptClipboardTest, AStopAfterTheTextWasTakenChangesNothingOfTheCapture) {
  host.onEndCapture = [this] { capture.EndForStop(); };
  reading.ExecuteCommand(Command::SelectionReading);
  ApplicationCopies(u"AB");
  tick.OnClipboardTimer();
  const int waitsStarted = platform.waitsStarted;
  log.clear();
  reading.ExecuteCommand(Command::Stop);
  EXPECT_EQ(std::count(log.begin(), log.end(), "StopTimer"), 0);
  EXPECT_EQ(flags.ClipboardChanged, 1);
  EXPECT_EQ(platform.waitsStarted, waitsStarted);
}

TEST(ReadingPrepareForSpeechTest, XrTextIsConvertedWhole) {
  AppSettings settings;
  settings.language = kChinese;
  settings.languages[kChinese].codepage = 2;
  FakeEncoder encoder;
  const std::u16string text(300, u'亜');
  std::string expected;
  for (int i = 0; i < 300; ++i) expected += "\xB0\xA1";
  EXPECT_EQ(PrepareForSpeech(text, settings, encoder), expected);
}

TEST(ReadingPrepareForSpeechTest, UnknownLanguageGivesNothingToSpeak) {
  AppSettings settings;
  FakeEncoder encoder;
  for (const LanguageIndex language : {-1, 4, 100}) {
    settings.language = language;
    EXPECT_EQ(PrepareForSpeech(u"AB", settings, encoder), "");
  }
  EXPECT_TRUE(encoder.calls.empty());
}

}  // namespace
}  // namespace ostrel
