#pragma once
// The texts a reading shows: captions of the capture and clipboard messages.

namespace ostrel::texts {

inline constexpr char16_t kReadingCaption[] = u"Ostrel";
inline constexpr char16_t kClipboardOpenFailed[] = u"クリップボードがオープンできません。";
inline constexpr char16_t kClipboardClearFailed[] = u"クリップボードをクリアできません。";
inline constexpr char16_t kTimerFailed[] = u"Equal to or more than 32 timers become active !\nAt least one close.";
inline constexpr char16_t kConverterMissing[] =
    u"繁体字変換ライブラリ（Hanvert.dll）を読み込めませんでした。繁体字は変換せずに読み上げます。";
inline constexpr char16_t kNoTextCaptured[] =
    u"読み上げるテキストが抽出できませんでした。テキストを範囲指定して読み上げボタンをクリックしてください。";

}  // namespace ostrel::texts
