#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/speech_engine.h"
#include "reading/command.h"
#include "reading/read_kind.h"
#include "reading/reading_host.h"
#include "reading/reading_shown.h"
#include "reading/reading_state.h"
#include "settings/app_settings.h"

namespace ostrel {

// The toolbar's reading commands: starts captures, pauses, resumes and stops the engine,
// toggles repeat, switches the language, and keeps the reading states. The host is told of
// every change so the toolbar's buttons can follow.
class ReadingControl {
 public:
  ReadingControl(AppSettings& settings, SpeechEngine& engine, ReadingHost& host);
  ReadingControl(const ReadingControl&) = delete;
  ReadingControl& operator=(const ReadingControl&) = delete;

  // The toolbar's commands; any other number does nothing. Always returns 0. Only the stop
  // redraws; the mouse and hot-key callers redraw if changed afterwards.
  int ExecuteCommand(Command command);

  // A command the toolbar shows disabled is ignored whoever asks: while one kind reads the
  // other cannot start, and stop needs a running reading.
  bool Available(Command command) const;

  // WM_HOTKEY: ids 1, 2 and 3 run the two read commands and stop; then redraw if changed.
  void OnHotKey(int id);

  // EngineDoneMessage: speaks the held text again under repeat, else stops.
  void OnEngineDone(intptr_t lParam);

  // The captured text, before it is prepared: with LanguageByScript on, its letters choose
  // the language it is read in among the enabled ones. The choice becomes the current
  // language, as the language button would make it, and the button shows it at once.
  void ChooseLanguageFor(std::u16string_view text);

  // Speaks the held text in the current language with its voice values; nothing when no
  // text is held.
  void SpeakHeldText();
  void SetHeldText(std::string text);
  void FreeHeldText();
  // The prepared text last given to the engine, or null.
  const std::string* HeldText() const { return heldText_ ? &*heldText_ : nullptr; }

  // First step of closing the toolbar: a reading that is not idle is stopped. The buttons
  // are left alone, the toolbar is going away.
  void StopForClose();

  // The capture brought nothing to read (no text on the clipboard, an empty one, a clipboard
  // that would not open): both readings go back to idle, as after a stop, so the toolbar does
  // not go on showing a reading that never began.
  void EndWithoutText();

  ReadingState State(ReadKind kind) const { return states_[static_cast<size_t>(kind)]; }
  ReadingShown Shown() const;

 private:
  void ReadOrPause(ReadKind kind);
  void Stop();
  void ReturnToIdle();
  void ToggleRepeat();
  void SwitchLanguage();
  bool BothIdle() const;
  void ShowChange(bool ended = false);
  int32_t CurrentEngineLanguage() const { return EngineLanguage(settings_.language); }

  AppSettings& settings_;
  SpeechEngine& engine_;
  ReadingHost& host_;
  std::array<ReadingState, kReadKindCount> states_{};
  // The state changes only once the capture returns; the commands go by this meanwhile.
  std::optional<ReadKind> running_;
  // Counts the stops, so that a capture can tell whether one came while it pumped messages.
  uint32_t stops_ = 0;
  std::optional<std::string> heldText_;
};

}  // namespace ostrel
