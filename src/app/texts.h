#pragma once
// The program's own texts (dialog texts live in the .rc).

namespace ostrel::texts {

inline constexpr char16_t kMutexName[] = u"Ostrel4";
inline constexpr char16_t kEngineMissing[] =
    u"音声エンジン（Orvatone.dll）を読み込めませんでした。読み上げはできません。";

// Failures the program keeps going after; each is said once per run.
inline constexpr char16_t kSettingsNotSaved[] =
    u"設定をレジストリに保存できませんでした。変更した設定は次回の起動時に使われません。";
inline constexpr char16_t kClipboardViewerFailed[] =
    u"クリップボードの監視を開始できませんでした。選択したテキストを読み上げることができません。";

// Update check.
inline constexpr char16_t kUpdaterFile[] = u"AppUpdateBRN.exe";
inline constexpr char16_t kUpdaterParameters[] = u"-updchk";

}  // namespace ostrel::texts
