#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/speech_engine.h"
#include "reading/read_kind.h"
#include "reading/reading_shown.h"

namespace ostrel {

// What the reading commands need from the application and its toolbar window.
class ReadingHost {
 public:
  virtual ~ReadingHost() = default;
  virtual WindowId Window() const = 0;
  virtual void StartTextCapture(ReadKind kind) = 0;
  // A stop: a capture still waiting for the application's copy ends, so that nothing the
  // user copies later is taken from the clipboard and read.
  virtual void EndTextCapture() = 0;
  virtual void PostClose() = 0;  // WM_CLOSE to the toolbar
  // The buttons follow the reading; nothing is drawn yet.
  virtual void ShowReading(const ReadingShown& reading) = 0;
  virtual void RedrawToolbar() = 0;
  virtual void RedrawIfChanged() = 0;
  virtual void SleepFor(int milliseconds) = 0;
  // The settings and minimise commands after their stop.
  virtual void OpenSettingsDialog() = 0;
  virtual void MinimiseToTray() = 0;
};

// The clipboard as the timer tick reads it.
class ClipboardReader {
 public:
  virtual ~ClipboardReader() = default;
  virtual bool HasUnicodeText() = 0;
  virtual bool Open() = 0;
  // The text up to its terminating zero; nothing when the data cannot be had or accessed.
  virtual std::optional<std::u16string> UnicodeText() = 0;
  virtual void Empty() = 0;
  virtual void Close() = 0;
};

// Code-page conversion and the traditional-to-simplified library.
class TextEncoder {
 public:
  virtual ~TextEncoder() = default;
  // No flags, the code page's default character for what it lacks; at most limit bytes.
  virtual std::string Encode(std::u16string_view text, uint32_t codePage, size_t limit) = 0;
  // FanTiToJianTi in place; the text never grows.
  virtual void TraditionalToSimplified(std::u16string& text) = 0;
};

}  // namespace ostrel
