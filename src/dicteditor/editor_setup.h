#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "settings/app_settings.h"

namespace ostrel::dicteditor {

// The editor knows its language from its own name (UserDicJpn, UserDicChi, UserDicEng,
// UserDicKor, any case); any other name edits a Japanese dictionary.
LanguageIndex LanguageFromProgramName(std::u16string_view baseName);

// The code page of a dictionary file without a byte-order mark that is not UTF-8.
unsigned DictionaryCodePage(LanguageIndex language);

// The folder (with a trailing backslash) that holds the speech engine: the editor's own folder
// or the nearest one above it where `engineExists` finds it; the editor's folder when none does.
std::u16string FindEngineFolder(std::u16string_view programFolder,
                                const std::function<bool(const std::u16string& folder)>& engineExists);

// Where a dictionary that cannot be written where it is goes instead: the user's own
// application-data folder, under the file's own name (the default file's name for a new one).
std::u16string MendFolder(std::u16string_view appDataFolder);
std::u16string MendPath(std::u16string_view appDataFolder, std::u16string_view dictionaryPath, LanguageIndex language);

// The last element of a path.
std::u16string_view FileNameOf(std::u16string_view path);

}  // namespace ostrel::dicteditor
