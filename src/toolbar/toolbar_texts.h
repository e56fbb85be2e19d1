#pragma once
// The toolbar window's texts.

namespace ostrel::texts {

inline constexpr char16_t kProductName[] = u"Ostrel Quartet";
inline constexpr char16_t kTrayTip[] = u"アルファつきウインドウ";

inline constexpr char16_t kSkinSizeWarning[] = u"サイズが違うのでちゃんと出ないかも";
inline constexpr char16_t kSkinUnreadable[] =
    u"スキンファイルを読み込めませんでした。標準のスキンで表示します。\n%s";
inline constexpr char16_t kPresentFailed[] = u"UpdateLayeredWindow失敗：エラーコード＝%d";
inline constexpr char16_t kErrorCaption[] = u"エラー";

// Failures the toolbar keeps going after; each is said once per run.
inline constexpr char16_t kTrayIconFailed[] =
    u"通知領域にアイコンを追加できませんでした。ツールバーを通知領域に格納することはできません。";
inline constexpr char16_t kTooltipFailed[] = u"ツールチップを作成できませんでした。ボタンの説明は表示されません。";

// Toolbar menu and tray.
inline constexpr char16_t kManualFile[] = u"マニュアル.pdf";
inline constexpr char16_t kManualFailed[] = u"マニュアルの呼び出しに失敗しました。";
inline constexpr char16_t kSupportFile[] = u"Branticユーザーサポート.website";
inline constexpr char16_t kSupportFailed[] = u"Branticユーザーサポートページの呼び出しに失敗しました。";
// The folder of the logs a support request asks for; said with its place, to be found by hand.
inline constexpr char16_t kLogFolderFailed[] = u"ログのフォルダーを開けませんでした。\n%s";
inline constexpr char16_t kLogFolderUnknown[] = u"%LOCALAPPDATA%\\Brantic\\Ostrel4";
inline constexpr char16_t kTrayBalloonTitle[] = u"アルファつきウインドウがシステムトレイに格納されました";
inline constexpr char16_t kTrayBalloonText[] = u"再表示するにはトレイのアイコンをクリックしてください。";

}  // namespace ostrel::texts
