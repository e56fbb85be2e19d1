#include "reading/clipboard_to_speech.h"

#include <string>
#include <utility>

#include "reading/prepare_for_speech.h"
#include "reading/reading_texts.h"

namespace ostrel {
namespace {

// The copy may take the application a while: up to 11 looks half a second apart.
constexpr int kTextWaits = 11;
constexpr int kTextWaitMs = 500;

}  // namespace

ClipboardToSpeech::ClipboardToSpeech(ClipboardReader& clipboard, TextEncoder& encoder, CapturePlatform& platform,
                                     CaptureFlags& flags, TextCapture& capture, ReadingControl& reading,
                                     const AppSettings& settings)
    : clipboard_(clipboard),
      encoder_(encoder),
      platform_(platform),
      flags_(flags),
      capture_(capture),
      reading_(reading),
      settings_(settings) {}

void ClipboardToSpeech::OnClipboardTimer() {
  reading_.FreeHeldText();
  if (flags_.ClipboardChanged != 1) {
    if (capture_.NoCopyInTime()) GiveUp(texts::kNoTextCaptured);
    return;
  }

  bool hasText = clipboard_.HasUnicodeText();
  for (int wait = 0; wait < kTextWaits && !hasText; ++wait) {
    platform_.Sleep(kTextWaitMs);
    hasText = clipboard_.HasUnicodeText();
  }
  if (!hasText) {
    GiveUp(texts::kNoTextCaptured);
    return;
  }
  if (!clipboard_.Open()) {
    GiveUp(texts::kClipboardOpenFailed);
    return;
  }
  std::optional<std::u16string> text = clipboard_.UnicodeText();
  if (!text) {
    clipboard_.Close();
    GiveUp(texts::kNoTextCaptured);
    return;
  }
  clipboard_.Empty();
  clipboard_.Close();
  capture_.ClipboardTextTaken();
  platform_.EndClipboardWait();
  if (text->empty()) {
    flags_.ClipboardTimerRunning = 0;
    reading_.EndWithoutText();
    capture_.PutClipboardBack();
    return;
  }
  // Before the text is prepared: the language fixes its code page.
  reading_.ChooseLanguageFor(*text);
  reading_.SetHeldText(PrepareForSpeech(std::move(*text), settings_, encoder_));
  reading_.SpeakHeldText();
  flags_.ClipboardTimerRunning = 0;
  // After Speak: the first sound need not wait for a large clipboard to be copied back.
  capture_.PutClipboardBack();
}

void ClipboardToSpeech::GiveUp(const char16_t* message) {
  platform_.EndClipboardWait();
  // Cleared before the message box: its loop can run a new capture, which must start the
  // timer again rather than rely on this one.
  flags_.ClipboardTimerRunning = 0;
  // Before the message too: a read button pressed while it shows must start a new reading,
  // not pause the one that found nothing.
  reading_.EndWithoutText();
  // What the application put on the clipboard instead of a text stays there; a clipboard
  // nobody has changed since the capture emptied it goes back.
  capture_.PutClipboardBack();
  platform_.ShowWarning(message);
}

}  // namespace ostrel
