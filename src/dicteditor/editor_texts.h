#pragma once
// The dictionary editor's own texts (dialog texts live in its .rc).

namespace ostrel::dicteditor::texts {

// The caption of the editor's message boxes, as of every box the product adds.
inline constexpr char16_t kCaption[] = u"Ostrel Quartet";

inline constexpr char16_t kNewDictionaryComment[] =
    u"# Ostrel Quartet ユーザー辞書：1行に1語、「表記,読み」の形で書きます（UTF-8）。#で始まる行は注釈です。";

// The window title: the file's name, then the editor and its language.
inline constexpr char16_t kTitleFormat[] = u"%s - ユーザー辞書編集（%s）";
inline constexpr char16_t kUntitled[] = u"新しい辞書";
inline constexpr char16_t kLanguageNames[4][8] = {u"日本語", u"中国語", u"英語", u"韓国語"};
inline constexpr char16_t kColumnWritten[] = u"表記";
inline constexpr char16_t kColumnReading[] = u"読み";
inline constexpr char16_t kAddTitle[] = u"単語の登録";
inline constexpr char16_t kEditTitle[] = u"単語の編集";

inline constexpr char16_t kEntryCount[] = u"登録語数：%u";
inline constexpr char16_t kEntryCountWithUnknown[] = u"登録語数：%u（解釈できない行 %u 行はそのまま保存します）";
inline constexpr char16_t kEntryCountFiltered[] = u"登録語数：%u（表示 %u）";

inline constexpr char16_t kAskSave[] = u"ユーザー辞書は変更されています。保存しますか？";
inline constexpr char16_t kEmptyWritten[] = u"表記を入力してください。";
inline constexpr char16_t kLineBreak[] = u"表記と読みには改行を入れられません。";
inline constexpr char16_t kReadingNotKana[] = u"読みはひらがなまたはカタカナで入力してください。";
inline constexpr char16_t kDuplicate[] = u"「%s」はすでに登録されています（読み: %s）。読みを置き換えますか？";
inline constexpr char16_t kAskDelete[] = u"選んだ %u 語を削除しますか？";
inline constexpr char16_t kNothingToSpeak[] = u"読み上げる語を選んでください。";
inline constexpr char16_t kEngineMissing[] =
    u"音声エンジン（Orvatone.dll）を読み込めませんでした。テスト読み上げはできません。";

inline constexpr char16_t kUnreadable[] = u"ユーザー辞書を読み込めませんでした。\n%s\n%s";
inline constexpr char16_t kImportUnreadable[] = u"取り込む辞書を読み込めませんでした。\n%s\n%s";
inline constexpr char16_t kImportConflicts[] =
    u"登録済みの語のうち %u 語は、取り込む辞書では読みが違います。取り込む辞書の読みで置き換えますか？";
inline constexpr char16_t kImportDone[] = u"%u 語を追加し、%u 語の読みを置き換えました。";
inline constexpr char16_t kSaveFailed[] = u"ユーザー辞書を保存できませんでした。\n%s\n%s";
inline constexpr char16_t kOfferMend[] =
    u"ユーザー辞書を保存できませんでした。\n%s\n%s\n\n代わりに次の場所に保存して、この辞書を使うように設定しますか？\n%s";
inline constexpr char16_t kMended[] =
    u"ユーザー辞書を次の場所に保存し、この辞書を使うように設定しました。\n%s\n音声エンジンは次回の起動からこの辞書を使います。";

inline constexpr char16_t kFileFilterName[] = u"CSVテキスト (*.CSV)";
inline constexpr char16_t kFileFilterPattern[] = u"*.CSV";
inline constexpr char16_t kDefaultExtension[] = u"CSV";

}  // namespace ostrel::dicteditor::texts
