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
// Followed by one line per dictionary: the language, "：" and the path.
inline constexpr char16_t kUserDictionaryUnusable[] =
    u"次のユーザー辞書は使えないため、辞書なしで読み上げます。辞書の場所を表す名前に、音声エンジンに渡せない文字"
    u"（シフトJISにない文字）が含まれています。辞書ファイルをその文字を含まない名前のフォルダーに移して、"
    u"設定し直してください。";
inline constexpr char16_t kUserDictionaryLanguages[4][4] = {u"日本語", u"中国語", u"英語", u"韓国語"};

// Update check.
inline constexpr char16_t kUpdaterFile[] = u"AppUpdateBRN.exe";
inline constexpr char16_t kUpdaterParameters[] = u"-updchk";

}  // namespace ostrel::texts
