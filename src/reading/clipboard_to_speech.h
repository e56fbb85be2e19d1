#pragma once

#include "reading/capture_flags.h"
#include "reading/capture_platform.h"
#include "reading/reading_control.h"
#include "reading/reading_host.h"
#include "reading/text_capture.h"
#include "settings/app_settings.h"

namespace ostrel {

// The clipboard timer's tick: once a capture has seen the clipboard change, takes the text,
// empties the clipboard, prepares the text for the current language and speaks it; then the
// capture may put the user's clipboard back.
class ClipboardToSpeech {
 public:
  ClipboardToSpeech(ClipboardReader& clipboard, TextEncoder& encoder, CapturePlatform& platform,
                    CaptureFlags& flags, TextCapture& capture, ReadingControl& reading, const AppSettings& settings);
  ClipboardToSpeech(const ClipboardToSpeech&) = delete;
  ClipboardToSpeech& operator=(const ClipboardToSpeech&) = delete;

  // WM_TIMER of the clipboard timer.
  void OnClipboardTimer();

 private:
  void GiveUp(const char16_t* message);

  ClipboardReader& clipboard_;
  TextEncoder& encoder_;
  CapturePlatform& platform_;
  CaptureFlags& flags_;
  TextCapture& capture_;
  ReadingControl& reading_;
  const AppSettings& settings_;
};

}  // namespace ostrel
