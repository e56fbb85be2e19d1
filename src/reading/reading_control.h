#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "engine/speech_engine.h"
#include "reading/reading_host.h"
#include "settings/app_settings.h"
#include "toolbar/button_states.h"

namespace ostrel {

// The toolbar's reading commands: starts captures, pauses, resumes and stops the engine,
// toggles repeat, switches the language, and keeps the reading states and the buttons in
// step. The reading states live in AppSettings::readingState.
class ReadingControl {
 public:
  ReadingControl(AppSettings& settings, ButtonStates& buttons, SpeechEngine& engine, ReadingHost& host);
  ReadingControl(const ReadingControl&) = delete;
  ReadingControl& operator=(const ReadingControl&) = delete;

  // Commands 0..7 of the toolbar; any other number does nothing. Always returns 0. Only the
  // stop redraws; the mouse and hot-key callers redraw if changed afterwards.
  int ExecuteCommand(int command);

  // WM_HOTKEY: ids 1, 2 and 3 run commands 0, 1 and 2; then redraw if changed.
  void OnHotKey(int id);

  // EngineDoneMessage: speaks the held text again under repeat, else stops.
  void OnEngineDone(intptr_t lParam);

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

 private:
  void ReadOrPause(int kind);
  void Stop();
  void ReturnToIdle();
  void ToggleRepeat();
  void SwitchLanguage();
  bool BothIdle() const;
  int32_t CurrentEngineLanguage() const { return EngineLanguage(settings_.language); }

  AppSettings& settings_;
  ButtonStates& buttons_;
  SpeechEngine& engine_;
  ReadingHost& host_;
  std::optional<std::string> heldText_;
};

}  // namespace ostrel
