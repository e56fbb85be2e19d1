#include "dicteditor/editor_setup.h"

#include <array>

#include "encoding/language_code_pages.h"

namespace ostrel::dicteditor {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

constexpr std::array<std::u16string_view, kLanguageCount> kProgramNames{u"UserDicJpn", u"UserDicChi", u"UserDicEng",
                                                                         u"UserDicKor"};
constexpr std::array<std::u16string_view, kLanguageCount> kDefaultFileNames{
    u"userdict_jpn.csv", u"userdict_chi.csv", u"userdict_eng.csv", u"userdict_kor.csv"};

// How far above its own folder the editor looks for the engine: it lies five levels up
// (VW\VT\<voice>\M16\bin), with a little room for another layout.
constexpr int kEngineSearchLevels = 6;

std::u16string_view ParentOf(std::u16string_view folder) {
  while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.remove_suffix(1);
  const std::size_t slash = folder.find_last_of(u"\\/");
  if (slash == std::u16string_view::npos) return {};
  return folder.substr(0, slash + 1);
}

std::u16string WithSlash(std::u16string_view folder) {
  std::u16string result(folder);
  if (!result.empty() && result.back() != u'\\' && result.back() != u'/') result += u'\\';
  return result;
}

}  // namespace

LanguageIndex LanguageFromProgramName(std::u16string_view baseName) {
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    if (EqualsIgnoringCase(baseName, kProgramNames[static_cast<std::size_t>(l)])) return l;
  }
  return kJapanese;
}

unsigned DictionaryCodePage(LanguageIndex language) { return LanguageCodePage(language); }

std::u16string FindEngineFolder(std::u16string_view programFolder,
                                const std::function<bool(const std::u16string& folder)>& engineExists) {
  std::u16string_view folder = programFolder;
  for (int level = 0; level < kEngineSearchLevels && !folder.empty(); ++level) {
    const std::u16string candidate = WithSlash(folder);
    if (engineExists(candidate)) return candidate;
    const std::u16string_view parent = ParentOf(folder);
    // "C:\" has no parent: ParentOf gives "C:\" again, or nothing.
    if (parent.size() >= WithSlash(folder).size()) break;
    folder = parent;
  }
  return WithSlash(programFolder);
}

std::u16string_view FileNameOf(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string MendFolder(std::u16string_view appDataFolder) {
  return WithSlash(appDataFolder) + u"Brantic\\Ostrel4\\";
}

std::u16string MendPath(std::u16string_view appDataFolder, std::u16string_view dictionaryPath, LanguageIndex language) {
  std::u16string_view name = FileNameOf(dictionaryPath);
  if (name.empty()) name = kDefaultFileNames[static_cast<std::size_t>(language >= 0 && language < kLanguageCount ? language : 0)];
  return MendFolder(appDataFolder) + std::u16string(name);
}

}  // namespace ostrel::dicteditor
