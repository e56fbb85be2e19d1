#pragma once
#include <optional>

#include "dicteditor/dictionary_document.h"
#include "settings/app_settings.h"

namespace ostrel::dicteditor {

enum class EntryProblem {
  kNone,
  kLineBreak,       // a field holds a line break: the file keeps one entry a line
  kEmptyWritten,    // the engine skips an entry without a written form
  kReadingNotKana,  // Japanese readings are said as kana
  kDuplicate,       // another entry has the written form: the caller may offer to replace it
};

struct EntryCheck {
  EntryProblem problem = EntryProblem::kNone;
  std::optional<EntryId> duplicate;
};

// The fields as the engine will read them back: blanks at their ends dropped.
DictionaryEntry CleanEntry(const DictionaryEntry& typed);

// Checks a cleaned entry before it goes into the document; `editing` is the entry being
// changed, which may keep its own written form. An empty reading is allowed: it silences the
// written form.
EntryCheck CheckEntry(LanguageIndex language, const DictionaryEntry& entry, const DictionaryDocument& document,
                      std::optional<EntryId> editing);

bool IsKanaReading(std::u16string_view reading);

}  // namespace ostrel::dicteditor
