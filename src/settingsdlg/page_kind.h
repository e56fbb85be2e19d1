#pragma once
#include <array>
#include <cstdint>
#include <string_view>

#include "encoding/language_code_pages.h"
#include "settings/app_settings.h"
#include "settingsdlg/page_texts.h"

namespace ostrel {

// WideCharToMultiByte's CP_ACP: the system's ANSI code page, whatever it is.
constexpr uint32_t kSystemAnsiCodePage = 0;

// The font the sample sentence is shown in; an empty face means the page's own font,
// and the sentence is then the template's text.
struct SampleFont {
  std::u16string_view face;
  int32_t charset = 0;
  int32_t height = 0;
};

enum class PageExtra { kNone, kCodeList, kParenthesisCount };

// Everything in which the four voice pages differ, apart from their templates and control ids.
struct PageKind {
  LanguageIndex language;
  int32_t engineLanguage;
  uint32_t testCodePage;
  PageExtra extra;
  std::u16string_view sampleSentence;
  SampleFont sampleFont;
  std::u16string_view editorFolder;   // after ProgramDirectory
  std::u16string_view editorProgram;  // after the folder
};

inline constexpr std::array<PageKind, kLanguageCount> kVoicePageKinds{{
    {kJapanese, EngineLanguage(kJapanese), LanguageCodePage(kJapanese), PageExtra::kNone,
     page_texts::kSampleSentences[kJapanese], {}, page_texts::kEditorFolders[kJapanese],
     page_texts::kEditorPrograms[kJapanese]},
    {kChinese, EngineLanguage(kChinese), LanguageCodePage(kChinese), PageExtra::kCodeList,
     page_texts::kSampleSentences[kChinese],
     {page_texts::kChineseSampleFace, 134, -16}, page_texts::kEditorFolders[kChinese],
     page_texts::kEditorPrograms[kChinese]},
    {kEnglish, EngineLanguage(kEnglish), kSystemAnsiCodePage, PageExtra::kNone,
     page_texts::kSampleSentences[kEnglish], {}, page_texts::kEditorFolders[kEnglish],
     page_texts::kEditorPrograms[kEnglish]},
    {kKorean, EngineLanguage(kKorean), LanguageCodePage(kKorean), PageExtra::kParenthesisCount,
     page_texts::kSampleSentences[kKorean],
     {page_texts::kKoreanSampleFace, 129, -13}, page_texts::kEditorFolders[kKorean],
     page_texts::kEditorPrograms[kKorean]},
}};

constexpr const PageKind& VoicePageKind(LanguageIndex language) {
  return kVoicePageKinds[static_cast<size_t>(language)];
}

}  // namespace ostrel
