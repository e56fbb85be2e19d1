#include "reading/reading_control.h"

#include <algorithm>
#include <utility>

#include "toolbar/toolbar_button.h"

namespace ostrel {
namespace {

constexpr int kStop = ButtonStates::kStopCommand;
constexpr int kRepeat = 3;
constexpr int kSettings = 5;
constexpr int kMinimise = ButtonStates::kMinimiseCommand;

constexpr int kRepeatDelayMs = 500;

// Hot key ids 1..3 name commands 0..2.
constexpr int kFirstHotKeyId = 1;
constexpr int kHotKeyCount = 3;

uint16_t Toggled(uint16_t variant) { return variant == 0 ? 1 : 0; }

bool IsLanguage(LanguageIndex language) { return language >= 0 && language < kLanguageCount; }

}  // namespace

ReadingControl::ReadingControl(AppSettings& settings, ButtonStates& buttons, SpeechEngine& engine,
                               ReadingHost& host)
    : settings_(settings), buttons_(buttons), engine_(engine), host_(host) {}

int ReadingControl::ExecuteCommand(int command) {
  if (command < 0 || command >= ButtonStates::kCommandCount) return 0;
  // A disabled button's command is ignored whoever asks: hot keys and the internal stop too.
  if (buttons_.State(command) == kButtonDisabled) return 0;
  const int row = FindButtonRow(command);
  if (row >= 0 && kToolbarButtons[static_cast<size_t>(row)].flag == kCloseButtonFlag) {
    host_.PostClose();
    return 0;
  }
  switch (command) {
    case kSelectionReading:
    case kWholeTextReading:
      ReadOrPause(command);
      break;
    case kStop:
      Stop();
      break;
    case kRepeat:
      ToggleRepeat();
      break;
    case kLanguageCommand:
      SwitchLanguage();
      break;
    case kSettings:
      ExecuteCommand(kStop);
      host_.OpenSettingsDialog();
      break;
    case kMinimise:
      ExecuteCommand(kStop);
      host_.MinimiseToTray();
      break;
    default:
      break;
  }
  return 0;
}

void ReadingControl::ReadOrPause(int kind) {
  const int other = kind == kSelectionReading ? kWholeTextReading : kSelectionReading;
  const uint16_t variant = Toggled(buttons_.Variant(kind));
  buttons_.SetVariant(kind, variant);
  // While one kind reads, the other cannot start and stop is offered; paused looks idle.
  buttons_.SetState(other, variant == 1 ? kButtonDisabled : kButtonNormal);
  buttons_.SetState(kStop, variant == 1 ? kButtonNormal : kButtonDisabled);

  const size_t k = static_cast<size_t>(kind);
  switch (settings_.readingState[k]) {
    case kIdle:
      host_.StartTextCapture(kind);
      // The capture pumps messages; whatever ran meanwhile, this kind now reads.
      settings_.readingState[k] = kSpeaking;
      break;
    case kSpeaking:
      engine_.Pause(host_.Window(), CurrentEngineLanguage());
      settings_.readingState[k] = kPaused;
      break;
    case kPaused:
      engine_.Resume(host_.Window(), CurrentEngineLanguage());
      settings_.readingState[k] = kSpeaking;
      break;
    default:
      break;
  }
}

void ReadingControl::Stop() {
  engine_.Stop(host_.Window(), CurrentEngineLanguage());
  ReturnToIdle();
}

void ReadingControl::EndWithoutText() { ReturnToIdle(); }

void ReadingControl::ReturnToIdle() {
  FreeHeldText();
  buttons_.SetState(kStop, kButtonDisabled);
  for (const int kind : {kSelectionReading, kWholeTextReading}) {
    buttons_.SetState(kind, kButtonNormal);
    buttons_.SetVariant(kind, 0);
  }
  settings_.readingState = {kIdle, kIdle};
  host_.RedrawIfChanged();
}

void ReadingControl::ToggleRepeat() {
  ExecuteCommand(kStop);
  const uint16_t variant = Toggled(buttons_.Variant(kRepeat));
  buttons_.SetVariant(kRepeat, variant);
  settings_.Repeat = variant;
}

void ReadingControl::SwitchLanguage() {
  ExecuteCommand(kStop);
  const auto enabled = std::count(settings_.languageEnabled.begin(), settings_.languageEnabled.end(), true);
  // Counting the flags rather than testing the mask also keeps a mask with only unknown bits
  // set from searching for ever.
  if (enabled < 2) return;
  LanguageIndex next = buttons_.Variant(kLanguageCommand) % kLanguageCount;
  for (int step = 0; step < kLanguageCount; ++step) {
    next = (next + 1) % kLanguageCount;
    if (settings_.languageEnabled[static_cast<size_t>(next)]) {
      buttons_.SetVariant(kLanguageCommand, static_cast<uint16_t>(next));
      settings_.language = next;
      return;
    }
  }
}

void ReadingControl::OnHotKey(int id) {
  if (id >= kFirstHotKeyId && id < kFirstHotKeyId + kHotKeyCount) ExecuteCommand(id - kFirstHotKeyId);
  host_.RedrawIfChanged();
}

void ReadingControl::OnEngineDone(intptr_t lParam) {
  if (lParam != kEngineTextDone) return;
  // A notification the engine posted just before a stop finds nothing reading: there is
  // nothing to end, and repeating its text would start a speech that the disabled stop
  // button could not end.
  if (BothIdle()) return;
  if (settings_.Repeat == 1) {
    host_.SleepFor(kRepeatDelayMs);
    SpeakHeldText();
    return;
  }
  ExecuteCommand(kStop);
  host_.RedrawToolbar();
}

void ReadingControl::SpeakHeldText() {
  if (!heldText_ || !IsLanguage(settings_.language)) return;
  const VoiceParameters& voice = settings_.Current().voice;
  const int32_t extra = settings_.language == kKorean ? voice.ParenthesisCharNumber : 0;
  engine_.Speak(host_.Window(), CurrentEngineLanguage(), heldText_->c_str(), voice.pitch, voice.speed, voice.volume,
                voice.pause, voice.commapause, extra);
}

void ReadingControl::SetHeldText(std::string text) { heldText_ = std::move(text); }

void ReadingControl::FreeHeldText() { heldText_.reset(); }

void ReadingControl::StopForClose() {
  if (BothIdle()) return;
  engine_.Stop(host_.Window(), CurrentEngineLanguage());
  FreeHeldText();
  settings_.readingState = {kIdle, kIdle};
}

bool ReadingControl::BothIdle() const {
  return settings_.readingState[kSelectionReading] == kIdle && settings_.readingState[kWholeTextReading] == kIdle;
}

}  // namespace ostrel
