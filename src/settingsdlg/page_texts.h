#pragma once
// Texts of the settings dialog and its pages that the code sets (the templates' own texts
// live in the .rc). Literals, so .data() is zero-terminated for the platform calls.
#include <array>
#include <string_view>

#include "settings/app_settings.h"

namespace ostrel::page_texts {

// Tab captions in tab order: the four voice pages, the other settings, the version page.
inline constexpr std::array<std::u16string_view, 6> kTabCaptions{
    u"日本語音声", u"中国語音声", u"英語音声", u"韓国語音声", u"他の設定", u"バージョン情報"};

// Voice pages, by VoiceParameterId.
inline constexpr std::array<std::u16string_view, kVoiceParameterCount> kGroupCaptionFormats{
    u"ボリューム (%d - %d)", u"スピード (%d - %d)", u"ピッチ (%d - %d)", u"文章間ポーズ (%d - %d)",
    u"句点（カンマ）ポーズ (%d - %d)"};
inline constexpr std::array<std::u16string_view, kVoiceParameterCount> kRangeMessageCaptions{
    u"ボリューム", u"スピード", u"ピッチ", u"文章間ポーズ", u"句点（カンマ）ポーズ"};
inline constexpr std::u16string_view kRangeMessageFormat = u"%d-%dの範囲で値を設定してください。";

inline constexpr std::u16string_view kTestCaption = u"テスト";
inline constexpr std::u16string_view kStopCaption = u"停止";

// By LanguageIndex.
inline constexpr std::array<std::u16string_view, kLanguageCount> kSampleSentences{
    u"これは、日本語音声合成のテストです。", u"这是中文语音合成的测试。", u"A test of English, speech synthesis.",
    u"이것은 한국어음성의 테스트입니다."};
inline constexpr std::u16string_view kChineseSampleFace = u"SimSun";
inline constexpr std::u16string_view kKoreanSampleFace = u"Batang";

// The Chinese code list, by `codepage`.
inline constexpr std::array<std::u16string_view, 4> kChineseCodes{u"GB", u"BIG5", u"XR(簡体字)", u"XR(繁体字)"};

// The user dictionary file dialog.
inline constexpr std::u16string_view kDictionaryFilterName = u"CSVテキスト (*.CSV)";
inline constexpr std::u16string_view kDictionaryFilterPattern = u"*.CSV";
inline constexpr std::u16string_view kDictionaryDefaultExtension = u"CSV";
inline constexpr std::u16string_view kDictionaryInitialFileName = u"*.CSV";

// The speech engine's dictionary editors, below the program directory; by LanguageIndex.
inline constexpr std::array<std::u16string_view, kLanguageCount> kEditorFolders{
    u"VW\\VT\\Misaki\\M16\\bin", u"VW\\VT\\Hui\\M16\\bin", u"VW\\VT\\Kate\\M16\\bin", u"VW\\VT\\Yumi\\M16\\bin"};
inline constexpr std::array<std::u16string_view, kLanguageCount> kEditorPrograms{
    u"\\UserDicJpn.exe", u"\\UserDicChi.exe", u"\\UserDicEng.exe", u"\\UserDicKor.exe"};
inline constexpr std::u16string_view kEditorVerb = u"open";
inline constexpr std::u16string_view kEditorFailed = u"ユーザ辞書エディタの起動に失敗しました。";

// The other-settings page.
inline constexpr std::u16string_view kAlphaGroupFormat = u"透過度 (%d - %d)";
inline constexpr std::u16string_view kAlphaCaption = u"透過度";

// Registering a hot key failed, by hot key id 1, 2, 3.
inline constexpr char16_t kHotKeyFailed[3][32] = {
    u"範囲指定読上げのホットキーの登録に失敗",
    u"全文読上げのホットキーの登録に失敗",
    u"停止のホットキーの登録に失敗",
};

}  // namespace ostrel::page_texts
