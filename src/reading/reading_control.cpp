#include "reading/reading_control.h"

#include <algorithm>
#include <utility>

#include "reading/language_by_script.h"

namespace ostrel {
namespace {

constexpr int kRepeatDelayMs = 500;

bool IsLanguage(LanguageIndex language) { return language >= 0 && language < kLanguageCount; }

}  // namespace

ReadingControl::ReadingControl(AppSettings& settings, SpeechEngine& engine, ReadingHost& host)
    : settings_(settings), engine_(engine), host_(host) {}

bool ReadingControl::Available(Command command) const {
  switch (command) {
    case Command::SelectionReading:
      return !running_ || *running_ == ReadKind::Selection;
    case Command::WholeTextReading:
      return !running_ || *running_ == ReadKind::WholeText;
    case Command::Stop:
      return running_.has_value();
    default:
      return true;
  }
}

int ReadingControl::ExecuteCommand(Command command) {
  if (!IsCommand(command) || !Available(command)) return 0;
  switch (command) {
    case Command::SelectionReading:
      ReadOrPause(ReadKind::Selection);
      break;
    case Command::WholeTextReading:
      ReadOrPause(ReadKind::WholeText);
      break;
    case Command::Stop:
      Stop();
      break;
    case Command::Repeat:
      ToggleRepeat();
      break;
    case Command::Language:
      SwitchLanguage();
      break;
    case Command::Settings:
      ExecuteCommand(Command::Stop);
      host_.OpenSettingsDialog();
      break;
    case Command::Close:
      host_.PostClose();
      break;
    case Command::Minimise:
      ExecuteCommand(Command::Stop);
      host_.MinimiseToTray();
      break;
  }
  return 0;
}

ReadingShown ReadingControl::Shown() const { return {running_, false, settings_.Repeat, settings_.language}; }

void ReadingControl::ShowChange(bool ended) {
  ReadingShown shown = Shown();
  shown.ended = ended;
  host_.ShowReading(shown);
}

void ReadingControl::ReadOrPause(ReadKind kind) {
  // A press pauses the kind that runs and starts (or resumes) one that does not; the
  // buttons show it before the capture dispatches messages.
  running_ = running_ == kind ? std::nullopt : std::optional<ReadKind>(kind);
  ShowChange();

  ReadingState& state = states_[static_cast<size_t>(kind)];
  switch (state) {
    case ReadingState::Idle: {
      const uint32_t stopsBefore = stops_;
      host_.StartTextCapture(kind);
      // The capture pumps messages; whatever ran meanwhile, this kind now reads, unless a
      // stop ended the capture.
      if (stops_ == stopsBefore) state = ReadingState::Speaking;
      break;
    }
    case ReadingState::Speaking:
      engine_.Pause(host_.Window(), CurrentEngineLanguage());
      state = ReadingState::Paused;
      break;
    case ReadingState::Paused:
      engine_.Resume(host_.Window(), CurrentEngineLanguage());
      state = ReadingState::Speaking;
      break;
  }
}

void ReadingControl::Stop() {
  ++stops_;
  engine_.Stop(host_.Window(), CurrentEngineLanguage());
  host_.EndTextCapture();
  ReturnToIdle();
}

void ReadingControl::EndWithoutText() { ReturnToIdle(); }

void ReadingControl::ReturnToIdle() {
  FreeHeldText();
  running_.reset();
  states_ = {ReadingState::Idle, ReadingState::Idle};
  ShowChange(true);
  host_.RedrawIfChanged();
}

void ReadingControl::ToggleRepeat() {
  ExecuteCommand(Command::Stop);
  settings_.Repeat = settings_.Repeat == 0 ? 1 : 0;
  ShowChange();
}

void ReadingControl::SwitchLanguage() {
  ExecuteCommand(Command::Stop);
  const auto enabled = std::count(settings_.languageEnabled.begin(), settings_.languageEnabled.end(), true);
  // Counting the flags rather than testing the mask also keeps a mask with only unknown bits
  // set from searching for ever.
  if (enabled < 2) return;
  LanguageIndex next = static_cast<uint16_t>(settings_.language) % kLanguageCount;
  for (int step = 0; step < kLanguageCount; ++step) {
    next = (next + 1) % kLanguageCount;
    if (settings_.languageEnabled[static_cast<size_t>(next)]) {
      settings_.language = next;
      ShowChange();
      return;
    }
  }
}

void ReadingControl::ChooseLanguageFor(std::u16string_view text) {
  if (settings_.LanguageByScript != 1) return;
  const LanguageIndex previous = settings_.language;
  const LanguageIndex chosen = LanguageByScript(text, settings_.languageEnabled, previous);
  if (chosen == previous) return;
  // A reading paused in the previous language could be neither resumed nor stopped in the
  // new one: the engine keeps each language's speech apart. It ends here, as the language
  // button's stop would end it.
  if (std::find(states_.begin(), states_.end(), ReadingState::Paused) != states_.end()) {
    engine_.Stop(host_.Window(), EngineLanguage(previous));
    std::replace(states_.begin(), states_.end(), ReadingState::Paused, ReadingState::Idle);
  }
  settings_.language = chosen;
  ShowChange();
  host_.RedrawIfChanged();
}

void ReadingControl::OnHotKey(int id) {
  if (id >= kFirstHotKeyId && id < kFirstHotKeyId + kHotKeyCount) {
    ExecuteCommand(static_cast<Command>(id - kFirstHotKeyId));
  }
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
  ExecuteCommand(Command::Stop);
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
  states_ = {ReadingState::Idle, ReadingState::Idle};
}

bool ReadingControl::BothIdle() const {
  return State(ReadKind::Selection) == ReadingState::Idle && State(ReadKind::WholeText) == ReadingState::Idle;
}

}  // namespace ostrel
