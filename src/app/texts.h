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

// Reading: captions of the capture and clipboard messages.
inline constexpr char16_t kReadingCaption[] = u"Ostrel";
inline constexpr char16_t kClipboardOpenFailed[] = u"クリップボードがオープンできません。";
inline constexpr char16_t kClipboardClearFailed[] = u"クリップボードをクリアできません。";
inline constexpr char16_t kTimerFailed[] = u"Equal to or more than 32 timers become active !\nAt least one close.";
inline constexpr char16_t kConverterMissing[] =
    u"繁体字変換ライブラリ（Hanvert.dll）を読み込めませんでした。繁体字は変換せずに読み上げます。";
inline constexpr char16_t kNoTextCaptured[] =
    u"読み上げるテキストが抽出できませんでした。テキストを範囲指定して読み上げボタンをクリックしてください。";

// Update check.
inline constexpr char16_t kUpdaterFile[] = u"AppUpdateBRN.exe";
inline constexpr char16_t kUpdaterParameters[] = u"-updchk";

}  // namespace ostrel::texts
