#pragma once
// The program's own texts (dialog texts live in the .rc).

namespace ostrel::texts {

inline constexpr char16_t kProductName[] = u"Ostrel Quartet";
inline constexpr char16_t kMutexName[] = u"Ostrel4";
inline constexpr char16_t kTrayTip[] = u"アルファつきウインドウ";

inline constexpr char16_t kHotKeyFailed[3][32] = {
    u"範囲指定読上げのホットキーの登録に失敗",
    u"全文読上げのホットキーの登録に失敗",
    u"停止のホットキーの登録に失敗",
};

inline constexpr char16_t kSkinSizeWarning[] = u"サイズが違うのでちゃんと出ないかも";
inline constexpr char16_t kSkinUnreadable[] =
    u"スキンファイルを読み込めませんでした。標準のスキンで表示します。\n%s";
inline constexpr char16_t kPresentFailed[] = u"UpdateLayeredWindow失敗：エラーコード＝%d";
inline constexpr char16_t kErrorCaption[] = u"エラー";
inline constexpr char16_t kEngineMissing[] =
    u"音声エンジン（Orvatone.dll）を読み込めませんでした。読み上げはできません。";

// Failures the program keeps going after; each is said once per run.
inline constexpr char16_t kSettingsNotSaved[] =
    u"設定をレジストリに保存できませんでした。変更した設定は次回の起動時に使われません。";
inline constexpr char16_t kClipboardViewerFailed[] =
    u"クリップボードの監視を開始できませんでした。選択したテキストを読み上げることができません。";
inline constexpr char16_t kTrayIconFailed[] =
    u"通知領域にアイコンを追加できませんでした。ツールバーを通知領域に格納することはできません。";
inline constexpr char16_t kTooltipFailed[] = u"ツールチップを作成できませんでした。ボタンの説明は表示されません。";

// Toolbar menu and tray.
inline constexpr char16_t kManualFile[] = u"マニュアル.pdf";
inline constexpr char16_t kManualFailed[] = u"マニュアルの呼び出しに失敗しました。";
inline constexpr char16_t kSupportFile[] = u"Branticユーザーサポート.website";
inline constexpr char16_t kSupportFailed[] = u"Branticユーザーサポートページの呼び出しに失敗しました。";
inline constexpr char16_t kTrayBalloonTitle[] = u"アルファつきウインドウがシステムトレイに格納されました";
inline constexpr char16_t kTrayBalloonText[] = u"再表示するにはトレイのアイコンをクリックしてください。";

// Update check.
inline constexpr char16_t kUpdaterFile[] = u"AppUpdateBRN.exe";
inline constexpr char16_t kUpdaterParameters[] = u"-updchk";

}  // namespace ostrel::texts
