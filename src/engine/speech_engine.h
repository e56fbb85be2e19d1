#pragma once
#include <cstdint>

#include "settings/settings_model.h"

namespace ostrel {

// A window handle as the core sees it: opaque, passed through to the engine.
using WindowId = uintptr_t;

// Posted by the engine to the window given to Speak; lParam -1 means the text has been spoken.
constexpr uint32_t EngineDoneMessage = 0x602;
constexpr intptr_t kEngineTextDone = -1;

// The seven operations of the speech engine. Every language argument is an
// EngineLanguage (1..4); texts and paths are zero-terminated in the language's code page.
// Results are not examined by any caller.
class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  virtual EngineReport StartLanguage(int32_t language) = 0;
  virtual void Speak(WindowId window, int32_t language, const char* text, int32_t pitch, int32_t speed,
                     int32_t volume, int32_t pause, int32_t commapause, int32_t extra) = 0;
  virtual void Stop(WindowId window, int32_t language) = 0;
  virtual void Pause(WindowId window, int32_t language) = 0;
  virtual void Resume(WindowId window, int32_t language) = 0;
  virtual void SetUserDictionary(WindowId window, int32_t language, const char* path) = 0;
  virtual void CloseLanguage(WindowId window, int32_t language) = 0;
};

}  // namespace ostrel
