#include "reading/reading_control.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "reading_fakes.h"

namespace ostrel {
namespace {

using testing::CallLog;
using testing::FakeEngine;
using testing::FakeHost;
using testing::kToolbarId;

constexpr Command kStop = Command::Stop;
constexpr Command kLanguageButton = Command::Language;
constexpr Command kSelectionReading = Command::SelectionReading;
constexpr Command kWholeTextReading = Command::WholeTextReading;
constexpr ReadingState kIdle = ReadingState::Idle;
constexpr ReadingState kSpeaking = ReadingState::Speaking;
constexpr ReadingState kPaused = ReadingState::Paused;

class ReadingControlTest : public ::testing::Test {
 protected:
  ReadingControlTest() {
    Enable(0x0F, kJapanese);
    settings.languages[kJapanese].voice = {12, 11, 13, 14, 15, 9};
    settings.languages[kKorean].voice = {22, 21, 23, 24, 25, 7};
  }

  // The toolbar as it opens with these languages enabled, nothing left of an earlier reading.
  void Enable(uint8_t mask, LanguageIndex language) {
    settings.UseLanguageSet = mask;
    for (int l = 0; l < kLanguageCount; ++l) settings.languageEnabled[l] = ((mask >> l) & 1) != 0;
    settings.language = language;
    buttons.Initialize();
    buttons.SetVariant(Command::Repeat, static_cast<uint16_t>(settings.Repeat));
    buttons.SetVariant(Command::Language, static_cast<uint16_t>(language));
    buttons.MarkDrawn();
    reading.EndWithoutText();
  }

  // Presses a button as the mouse does: the command, then redraw if changed; the log starts
  // afresh.
  void Press(Command command, int times = 1) {
    for (int i = 0; i < times; ++i) {
      reading.ExecuteCommand(command);
      host.RedrawIfChanged();
    }
    log.clear();
  }

  std::vector<ReadingState> States() const {
    return {reading.State(ReadKind::Selection), reading.State(ReadKind::WholeText)};
  }

  CallLog log;
  AppSettings settings;
  ButtonStates buttons;
  FakeEngine engine{log};
  FakeHost host{log, buttons};
  ReadingControl reading{settings, engine, host};
};

enum class Event { kReadPress, kStopPress, kDoneRepeatOff, kDoneRepeatOn };

struct StateRow {
  const char* name;
  int readPressesBefore;  // 0 idle, 1 speaking, 2 paused
  Event event;
  std::vector<std::string> calls;  // "%k" stands for the kind
  ReadingState stateAfter;
  ReadingState otherStateAfter;
  uint16_t variantAfter;
  ButtonState otherButtonAfter;
  ButtonState stopButtonAfter;
  bool textHeldAfter;
};

std::vector<std::string> ForKind(std::vector<std::string> calls, int kind) {
  for (auto& call : calls) {
    if (const auto at = call.find("%k"); at != std::string::npos) call.replace(at, 2, std::to_string(kind));
  }
  return calls;
}

TEST_F(ReadingControlTest, FollowsTheStateTableForBothKinds) {
  const std::vector<StateRow> rows = {
      {"start", 0, Event::kReadPress, {"Capture %k"}, kSpeaking, kIdle, 1, ButtonState::Disabled, ButtonState::Normal, true},
      {"pause", 1, Event::kReadPress, {"Pause 1"}, kPaused, kIdle, 0, ButtonState::Normal, ButtonState::Disabled, true},
      {"resume", 2, Event::kReadPress, {"Resume 1"}, kSpeaking, kIdle, 1, ButtonState::Disabled, ButtonState::Normal, true},
      {"stop", 1, Event::kStopPress, {"Stop 1", "Redraw"}, kIdle, kIdle, 0, ButtonState::Normal, ButtonState::Disabled, false},
      {"end of text", 1, Event::kDoneRepeatOff, {"Stop 1", "Redraw", "Redraw"}, kIdle, kIdle, 0, ButtonState::Normal,
       ButtonState::Disabled, false},
      {"end of text, repeat", 1, Event::kDoneRepeatOn, {"SleepFor 500", "Speak 1 4142 11 12 13 14 15 0"}, kSpeaking,
       kIdle, 1, ButtonState::Disabled, ButtonState::Normal, true},
  };
  for (const ReadKind readKind : {ReadKind::Selection, ReadKind::WholeText}) {
    const Command kind = ReadCommand(readKind);
    const ReadKind otherKind = readKind == ReadKind::Selection ? ReadKind::WholeText : ReadKind::Selection;
    const Command other = ReadCommand(otherKind);
    for (const StateRow& row : rows) {
      SCOPED_TRACE(std::string(row.name) + ", kind " + std::to_string(Number(kind)));
      settings.Repeat = row.event == Event::kDoneRepeatOn ? 1 : 0;
      Enable(0x0F, kJapanese);
      Press(kind, row.readPressesBefore);
      reading.SetHeldText("AB");

      switch (row.event) {
        case Event::kReadPress:
          reading.ExecuteCommand(kind);
          break;
        case Event::kStopPress:
          reading.ExecuteCommand(kStop);
          break;
        case Event::kDoneRepeatOff:
        case Event::kDoneRepeatOn:
          reading.OnEngineDone(-1);
          break;
      }

      EXPECT_EQ(log, ForKind(row.calls, Number(kind)));
      EXPECT_EQ(reading.State(readKind), row.stateAfter);
      EXPECT_EQ(reading.State(otherKind), row.otherStateAfter);
      EXPECT_EQ(buttons.Variant(kind), row.variantAfter);
      EXPECT_EQ(buttons.Variant(other), 0);
      EXPECT_EQ(buttons.State(kind), ButtonState::Normal);
      EXPECT_EQ(buttons.State(other), row.otherButtonAfter);
      EXPECT_EQ(buttons.State(kStop), row.stopButtonAfter);
      EXPECT_EQ(reading.HeldText() != nullptr, row.textHeldAfter);
      log.clear();
      reading.FreeHeldText();
    }
  }
}

TEST_F(ReadingControlTest, EngineCallsCarryTheToolbarAndTheCurrentEngineLanguage) {
  Enable(0x0F, kEnglish);
  reading.ExecuteCommand(kSelectionReading);
  reading.ExecuteCommand(kSelectionReading);
  EXPECT_EQ(engine.lastWindow, kToolbarId);
  reading.ExecuteCommand(kSelectionReading);
  EXPECT_EQ(log, (CallLog{"Capture 0", "Pause 3", "Resume 3"}));
  EXPECT_EQ(engine.lastWindow, kToolbarId);
  EXPECT_EQ(States(), (std::vector<ReadingState>{kSpeaking, kIdle}));
}

TEST_F(ReadingControlTest, DisabledCommandsAreIgnoredFromEveryCaller) {
  struct Row {
    const char* name;
    std::vector<Command> pressesBefore;
    int hotKey;
  };
  const std::vector<Row> rows = {
      {"stop hot key while idle", {}, 3},
      {"stop hot key while paused", {kSelectionReading, kSelectionReading}, 3},
      {"stop hot key while whole text is paused", {kWholeTextReading, kWholeTextReading}, 3},
      {"whole-text hot key while the selection speaks", {kSelectionReading}, 2},
      {"selection hot key while the whole text speaks", {kWholeTextReading}, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Enable(0x0F, kJapanese);
    for (const Command command : row.pressesBefore) Press(command);
    reading.SetHeldText("AB");
    const auto statesBefore = States();
    const auto pairsBefore = buttons.pairs();

    reading.OnHotKey(row.hotKey);

    EXPECT_TRUE(log.empty()) << log.front();
    EXPECT_EQ(States(), statesBefore);
    EXPECT_EQ(buttons.pairs(), pairsBefore);
    EXPECT_NE(reading.HeldText(), nullptr);
  }
}

TEST_F(ReadingControlTest, StopWhileIdleCallsNoEngineOperation) {
  reading.ExecuteCommand(kStop);
  EXPECT_TRUE(log.empty());
  // The commands that stop first only do their own part.
  reading.ExecuteCommand(Command::Repeat);
  reading.ExecuteCommand(Command::Settings);
  reading.ExecuteCommand(Command::Minimise);
  EXPECT_EQ(log, (CallLog{"Settings", "Tray"}));
}

TEST_F(ReadingControlTest, SettingsAndMinimiseStopASpeakingReadingFirst) {
  for (const auto& [command, call] : {std::pair{Command::Settings, "Settings"}, std::pair{Command::Minimise, "Tray"}}) {
    Enable(0x0F, kJapanese);
    Press(kWholeTextReading);
    reading.ExecuteCommand(command);
    EXPECT_EQ(log, (CallLog{"Stop 1", "Redraw", call}));
    EXPECT_EQ(States(), (std::vector<ReadingState>{kIdle, kIdle}));
  }
}

TEST_F(ReadingControlTest, HotKeysNameTheFirstThreeCommandsThenRedrawIfChanged) {
  reading.OnHotKey(1);
  EXPECT_EQ(log, (CallLog{"Capture 0", "Redraw"}));
  log.clear();
  reading.OnHotKey(3);
  EXPECT_EQ(log, (CallLog{"Stop 1", "Redraw"}));
  log.clear();
  reading.OnHotKey(2);
  EXPECT_EQ(log, (CallLog{"Capture 1", "Redraw"}));
  log.clear();
  for (const int id : {0, 4, -1, 0xBFFF}) reading.OnHotKey(id);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(States(), (std::vector<ReadingState>{kIdle, kSpeaking}));
}

TEST_F(ReadingControlTest, CommandsOutsideTheToolbarDoNothing) {
  for (const int command : {-1, 8, 9, 15, 16, 255, 1 << 20}) reading.ExecuteCommand(static_cast<Command>(command));
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(buttons.Changed());
}

TEST_F(ReadingControlTest, CloseButtonPostsCloseInsteadOfStopping) {
  Press(kSelectionReading);
  reading.ExecuteCommand(Command::Close);
  EXPECT_EQ(log, (CallLog{"PostClose"}));
  EXPECT_EQ(States(), (std::vector<ReadingState>{kSpeaking, kIdle}));
}

TEST_F(ReadingControlTest, LanguageButtonStepsThroughTheEnabledLanguages) {
  struct Row {
    const char* name;
    uint8_t mask;
    LanguageIndex start;
    std::vector<LanguageIndex> afterEachPress;
  };
  const std::vector<Row> rows = {
      {"Japanese and English", 0x05, kJapanese, {kEnglish, kJapanese, kEnglish}},
      {"all four", 0x0F, kJapanese, {kChinese, kEnglish, kKorean, kJapanese}},
      {"Chinese and Korean from Korean", 0x0A, kKorean, {kChinese, kKorean}},
      {"three, wrapping past a gap", 0x0B, kChinese, {kKorean, kJapanese, kChinese}},
      {"one", 0x04, kEnglish, {kEnglish, kEnglish}},
      {"none", 0x00, kJapanese, {kJapanese}},
      {"only bits no language uses", 0xF0, kJapanese, {kJapanese}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Enable(row.mask, row.start);
    for (const LanguageIndex expected : row.afterEachPress) {
      reading.ExecuteCommand(kLanguageButton);
      EXPECT_EQ(settings.language, expected);
      EXPECT_EQ(buttons.Variant(kLanguageButton), expected);
    }
    EXPECT_TRUE(log.empty()) << "no engine operation while idle";
  }
}

TEST_F(ReadingControlTest, LanguageSwitchStopsTheReadingInTheOldLanguage) {
  Enable(0x05, kJapanese);
  Press(kSelectionReading);
  reading.ExecuteCommand(kLanguageButton);
  EXPECT_EQ(log, (CallLog{"Stop 1", "Redraw"}));
  EXPECT_EQ(settings.language, kEnglish);
  EXPECT_EQ(States(), (std::vector<ReadingState>{kIdle, kIdle}));
}

TEST_F(ReadingControlTest, RepeatToggledTwiceIsOffAgainAndStopsOnlyASpeakingReading) {
  Press(kSelectionReading);
  reading.ExecuteCommand(Command::Repeat);
  EXPECT_EQ(settings.Repeat, 1);
  EXPECT_EQ(buttons.Variant(Command::Repeat), 1);
  EXPECT_EQ(log, (CallLog{"Stop 1", "Redraw"}));
  log.clear();

  Press(kWholeTextReading, 2);  // paused: the stop button is disabled
  reading.ExecuteCommand(Command::Repeat);
  EXPECT_EQ(settings.Repeat, 0);
  EXPECT_EQ(buttons.Variant(Command::Repeat), 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(States(), (std::vector<ReadingState>{kIdle, kPaused}));
}

TEST_F(ReadingControlTest, RepeatSpeaksTheHeldTextAgainAtEachEndOfText) {
  settings.Repeat = 1;
  Enable(0x0F, kKorean);
  Press(kSelectionReading);
  reading.SetHeldText(std::string("\xB0\xA1 x", 4));
  const auto pairs = buttons.pairs();
  reading.OnEngineDone(-1);
  reading.OnEngineDone(-1);
  const std::string speak = "Speak 4 B0A12078 21 22 23 24 25 7";
  EXPECT_EQ(log, (CallLog{"SleepFor 500", speak, "SleepFor 500", speak}));
  EXPECT_EQ(engine.lastWindow, kToolbarId);
  EXPECT_EQ(buttons.pairs(), pairs);
  EXPECT_EQ(States(), (std::vector<ReadingState>{kSpeaking, kIdle}));
}

TEST_F(ReadingControlTest, EngineDoneWithAnotherParameterChangesNothing) {
  for (const int32_t repeat : {0, 1}) {
    settings.Repeat = repeat;
    Press(kSelectionReading);
    reading.SetHeldText("AB");
    for (const intptr_t lParam : {intptr_t{0}, intptr_t{1}, intptr_t{-2}, INTPTR_MAX, INTPTR_MIN}) {
      reading.OnEngineDone(lParam);
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(States(), (std::vector<ReadingState>{kSpeaking, kIdle}));
    EXPECT_NE(reading.HeldText(), nullptr);
    Press(kStop);
  }
}

// The engine may post its end-of-text message just before a stop reaches it; the message then
// finds both readings idle.
TEST_F(ReadingControlTest, LateEndOfTextAfterAStopIsHarmless) {
  for (const int32_t repeat : {0, 1}) {
    SCOPED_TRACE(repeat);
    settings.Repeat = repeat;
    Enable(0x0F, kJapanese);
    Press(kSelectionReading);
    Press(kStop);
    reading.OnEngineDone(-1);
    EXPECT_TRUE(log.empty()) << log.front();
    EXPECT_EQ(States(), (std::vector<ReadingState>{kIdle, kIdle}));
    EXPECT_FALSE(buttons.Changed());
  }
}

// A capture under way still delivers its text after a stop; with repeat on, its end must not
// start it again, since the stop button is disabled and could not end it.
TEST_F(ReadingControlTest, TextDeliveredAfterAStopIsNotRepeated) {
  settings.Repeat = 1;
  Enable(0x0F, kJapanese);
  Press(kSelectionReading);
  Press(kStop);
  reading.SetHeldText("AB");
  reading.SpeakHeldText();
  log.clear();
  reading.OnEngineDone(-1);
  EXPECT_TRUE(log.empty()) << log.front();
}

// Every command that stops a reading also ends a capture still waiting for its copy; nothing
// else does.
TEST_F(ReadingControlTest, EachStopEndsTheCaptureToo) {
  for (const Command command : {Command::Stop, Command::Repeat, Command::Language, Command::Settings,
                                Command::Minimise}) {
    SCOPED_TRACE(static_cast<int>(command));
    host.captureEnds = 0;
    Press(Command::SelectionReading);
    EXPECT_EQ(host.captureEnds, 0);
    Press(command);
    EXPECT_EQ(host.captureEnds, 1);
    if (reading.State(ReadKind::Selection) != kIdle) Press(kStop);
  }
  host.captureEnds = 0;
  Press(Command::Language);  // nothing running: nothing to stop
  EXPECT_EQ(host.captureEnds, 0);
}

TEST_F(ReadingControlTest, ReadingStartsOnlyAfterTheCaptureReturns) {
  std::vector<ReadingState> seenInside;
  host.onCapture = [&](int) { seenInside = States(); };
  reading.ExecuteCommand(kWholeTextReading);
  EXPECT_EQ(seenInside, (std::vector<ReadingState>{kIdle, kIdle}));
  EXPECT_EQ(States(), (std::vector<ReadingState>{kIdle, kSpeaking}));
}

TEST_F(ReadingControlTest, SpeakHeldTextNeedsATextAndAKnownLanguage) {
  reading.SpeakHeldText();
  reading.SetHeldText("AB");
  settings.language = 7;
  reading.SpeakHeldText();
  EXPECT_TRUE(log.empty());
  settings.language = kJapanese;
  reading.SpeakHeldText();
  EXPECT_EQ(log, (CallLog{"Speak 1 4142 11 12 13 14 15 0"}));
}

TEST_F(ReadingControlTest, StopForCloseStopsOnlyARunningReadingAndLeavesTheButtons) {
  reading.SetHeldText("AB");
  reading.StopForClose();
  EXPECT_TRUE(log.empty());

  for (const int presses : {1, 2}) {
    Enable(0x0F, kJapanese);
    Press(kSelectionReading, presses);
    reading.SetHeldText("AB");
    const auto pairs = buttons.pairs();
    reading.StopForClose();
    EXPECT_EQ(log, (CallLog{"Stop 1"}));
    EXPECT_EQ(reading.HeldText(), nullptr);
    EXPECT_EQ(States(), (std::vector<ReadingState>{kIdle, kIdle}));
    EXPECT_EQ(buttons.pairs(), pairs);
    log.clear();
  }
}

}  // namespace
}  // namespace ostrel
