#pragma once
#include <windows.h>

namespace ostrel {

// OpenClipboard for the owner, tried a few times over about 100 ms: another program
// (or Wine's own clipboard manager) often holds the clipboard for a moment right
// after a change, which is exactly when a reading wants it.
bool OpenClipboardWithRetry(HWND owner);

}  // namespace ostrel
