// The table of stored values itself: faults a row can carry that the tests of single values would
// not see, such as two rows sharing a name or a field, or a row that never reaches the registry.
#include "settings/stored_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <variant>
#include <vector>

#include "memory_registry.h"
#include "settings_start.h"

namespace ostrel {
namespace {

using testing::MemoryRegistry;
const std::u16string kProgramDir = u"C:\\Ostrel\\";

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// Each row once for the settings key, once for every language whose key holds it.
struct Place {
  const StoredField* field;
  LanguageIndex language;
};

std::vector<Place> Places() {
  std::vector<Place> places;
  for (const StoredField& field : kStoredFields) {
    if (field.under == StoredUnder::SettingsKey) {
      places.push_back({&field, kJapanese});
      continue;
    }
    for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
      if (field.HeldBy(l)) places.push_back({&field, l});
    }
  }
  return places;
}

std::string Describe(const Place& place) {
  std::string where = Narrow(place.field->name);
  if (place.field->under == StoredUnder::LanguageKey) where += " of language " + std::to_string(place.language);
  return where;
}

using Value = std::variant<int32_t, std::u16string>;

Value ValueAt(const Place& place, const AppSettings& s) {
  if (place.field->IsText()) return s.languages[static_cast<size_t>(place.language)].*place.field->text.value;
  return place.field->number.get(s, place.language);
}

// A value the row accepts and its default is not, so that a save and a load must carry it.
Value OtherValue(const Place& place, const AppSettings& s) {
  const StoredField& field = *place.field;
  if (field.IsText()) return u"D:\\dictionaries\\" + std::u16string(field.name) + u".csv";
  const int32_t fallback = field.WaitsForEngine()
                               ? s.languages[static_cast<size_t>(place.language)].ranges[field.engineDefault].def
                               : field.fallback;
  for (const int32_t candidate : {fallback + 1, fallback - 1}) {
    if (!field.accepted || field.accepted(candidate)) return candidate;
  }
  ADD_FAILURE() << "no value but the default for " << Describe(place);
  return fallback;
}

void Put(const Place& place, AppSettings& s, const Value& value) {
  if (place.field->IsText()) {
    s.languages[static_cast<size_t>(place.language)].*place.field->text.value = std::get<std::u16string>(value);
  } else {
    place.field->number.set(s, place.language, std::get<int32_t>(value));
  }
}

TEST(StoredFields, NoTwoRowsShareANameUnderOneKey) {
  std::set<std::u16string_view> settingsKey;
  for (const StoredField& field : kStoredFields) {
    if (field.under == StoredUnder::SettingsKey) {
      EXPECT_TRUE(settingsKey.insert(field.name).second) << Narrow(field.name);
    }
  }
  for (LanguageIndex l = 0; l < kLanguageCount; ++l) {
    std::set<std::u16string_view> languageKey;
    for (const StoredField& field : kStoredFields) {
      if (field.under == StoredUnder::LanguageKey && field.HeldBy(l)) {
        EXPECT_TRUE(languageKey.insert(field.name).second) << Narrow(field.name) << " of language " << l;
      }
    }
  }
}

// One value changed at a time: it alone differs from the defaults, before the save and after the
// next start. Catches a row bound to another row's field, and one that is not written or not read.
TEST(StoredFields, EachWrittenValueComesBackAloneFromItsOwnField) {
  const std::vector<Place> places = Places();
  for (const Place& changed : places) {
    if (changed.field->written == WrittenBy::Never) continue;
    SCOPED_TRACE(Describe(changed));
    MemoryRegistry registry;
    RegistryStore store(registry);
    AppSettings s = testing::StartSettings(store, kProgramDir);
    const AppSettings defaults = s;
    const Value value = OtherValue(changed, s);
    Put(changed, s, value);
    ASSERT_EQ(ValueAt(changed, s), value);
    for (const Place& other : places) {
      if (&other == &changed) continue;
      EXPECT_EQ(ValueAt(other, s), ValueAt(other, defaults)) << Describe(other);
    }

    EXPECT_TRUE(SaveSettings(s, store));
    EXPECT_TRUE(SaveWindowPosition(s, store));
    const AppSettings again = testing::StartSettings(store, kProgramDir);
    for (const Place& other : places) {
      EXPECT_EQ(ValueAt(other, again), &other == &changed ? value : ValueAt(other, defaults)) << Describe(other);
    }
  }
}

}  // namespace
}  // namespace ostrel
