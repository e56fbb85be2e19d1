#pragma once

namespace ostrel {

// How a capture goes about its work. The defaults are the toolbar's long-standing behaviour.
struct CaptureOptions {
  // What the clipboard held before the capture emptied it is put back once the captured text
  // has been taken.
  bool keepClipboard = false;
  // Goes on as soon as the application has the focus and takes the text as soon as the
  // clipboard changes; the fixed waits stay only as the upper bounds.
  bool quick = false;
};

}  // namespace ostrel
