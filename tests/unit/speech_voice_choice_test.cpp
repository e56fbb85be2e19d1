#include "voice_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ostrel::orvatone {
namespace {

using Kind = SynthesiserKind;

constexpr int kJapanese = 1;
constexpr int kChinese = 2;
constexpr int kEnglish = 3;
constexpr int kKorean = 4;

// As a Windows machine with espeak-ng lists them: classic voices first, OneCore later.
const std::vector<VoiceCandidate> kInstalled = {
    {Kind::kSapiClassic, u"Microsoft Haruka Desktop", u"411"},
    {Kind::kSapiClassic, u"Microsoft Zira Desktop", u"409"},
    {Kind::kSapiClassic, u"Microsoft Hazel Desktop", u"809"},
    {Kind::kSapiOneCore, u"Microsoft Ayumi", u"411"},
    {Kind::kSapiOneCore, u"Microsoft George", u"809"},
    {Kind::kSapiOneCore, u"Microsoft Hanhan", u"404"},
    {Kind::kSapiOneCore, u"Microsoft Tracy", u"C04"},
    {Kind::kSapiOneCore, u"Microsoft Ichiro", u"411"},
    {Kind::kEspeakNg, u"cmn-latn-pinyin", u"804"},
    {Kind::kEspeakNg, u"en-us", u"409;9"},
    {Kind::kEspeakNg, u"ko", u"412"},
    {Kind::kEspeakNg, u"ja", u"411"},
};

std::u16string Chosen(int language, const std::vector<VoiceCandidate>& candidates, std::u16string_view chosenName = {}) {
  const auto voice = ChooseVoice(language, candidates, chosenName);
  return voice ? voice->name : u"(none)";
}

TEST(VoiceChoiceTest, PicksSapiThenTheLanguagesOwnVariantThenOneCoreThenTheFirstFound) {
  struct Case {
    const char* name;
    int language;
    std::u16string chosenName;
    std::u16string expected;
  };
  const Case cases[] = {
      {"Japanese: OneCore first, in the order found", kJapanese, u"", u"Microsoft Ayumi"},
      {"Chinese: a Windows voice of Taiwan before espeak-ng's 804", kChinese, u"", u"Microsoft Hanhan"},
      {"English: 409 before another English", kEnglish, u"", u"Microsoft Zira Desktop"},
      {"Korean: only espeak-ng has it", kKorean, u"", u"ko"},
      {"the user's choice, any case", kJapanese, u"MICROSOFT haruka desktop", u"Microsoft Haruka Desktop"},
      {"the user's choice may be a lesser variant", kEnglish, u"Microsoft George", u"Microsoft George"},
      {"the user's choice may be espeak-ng", kJapanese, u"ja", u"ja"},
      {"a choice for another language is ignored", kKorean, u"Microsoft Ayumi", u"ko"},
      {"a choice not installed is ignored", kJapanese, u"Microsoft Sayaka", u"Microsoft Ayumi"},
      {"a choice that only starts like a voice is ignored", kJapanese, u"Microsoft Ayum", u"Microsoft Ayumi"},
      {"no such language", 0, u"", u"(none)"},
      {"no such language either", 5, u"ja", u"(none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Chosen(c.language, kInstalled, c.chosenName), c.expected);
  }
}

TEST(VoiceChoiceTest, FallsBackToTheNearestVariant) {
  const std::vector<VoiceCandidate> candidates = {
      {Kind::kEspeakNg, u"en-gb", u"809"},
      {Kind::kSapiClassic, u"Hong Kong", u"C04"},
      {Kind::kSapiOneCore, u"Taiwan", u"404"},
      {Kind::kSapiClassic, u"Australia", u"c09"},
  };
  EXPECT_EQ(Chosen(kEnglish, candidates), u"Australia");
  EXPECT_EQ(Chosen(kChinese, candidates), u"Taiwan");
  EXPECT_EQ(Chosen(kJapanese, candidates), u"(none)");
  EXPECT_EQ(Chosen(kJapanese, {}), u"(none)");
}

TEST(VoiceChoiceTest, ReadsEveryLanguageOfAVoiceAndSkipsMalformedOnes) {
  struct Case {
    std::u16string languages;
    bool speaksJapanese;
  };
  const Case cases[] = {
      {u"411", true},          {u"409;411", true},    {u" 411 ", true},     {u"0411", true},
      {u";;411;", true},       {u"xyz;411", true},    {u"409", false},      {u"", false},
      {u"10411", false},       {u"4 11", false},      {u"411x", false},     {u"-411", false},
      {u"FFFFFFFFFFFF", false}, {u"41１", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.languages.begin(), c.languages.end()));
    const std::vector<VoiceCandidate> candidates = {{Kind::kSapiClassic, u"voice", c.languages}};
    EXPECT_EQ(ChooseVoice(kJapanese, candidates, u"").has_value(), c.speaksJapanese);
  }
}

TEST(VoiceChoiceTest, AmongVoicesOfOneNameTheBetterSynthesiserWins) {
  const std::vector<VoiceCandidate> candidates = {
      {Kind::kEspeakNg, u"Same", u"411"},
      {Kind::kSapiClassic, u"same", u"411"},
      {Kind::kSapiOneCore, u"Other", u"411"},
  };
  const auto voice = ChooseVoice(kJapanese, candidates, u"SAME");
  ASSERT_TRUE(voice.has_value());
  EXPECT_EQ(*voice, candidates[1]);
}

TEST(VoiceChoiceTest, TheVoicesToFallBackOnFollowTheChosenOneInRankAndOnlySpeakTheLanguage) {
  const auto names = [](int language, std::u16string_view chosenName) {
    std::vector<std::u16string> ranked;
    for (const std::size_t i : RankVoices(language, kInstalled, chosenName)) ranked.push_back(kInstalled[i].name);
    return ranked;
  };
  EXPECT_EQ(names(kJapanese, u""), (std::vector<std::u16string>{u"Microsoft Ayumi", u"Microsoft Ichiro",
                                                                 u"Microsoft Haruka Desktop", u"ja"}));
  // The user's voice first; the others keep their order behind it.
  EXPECT_EQ(names(kJapanese, u"microsoft ichiro"), (std::vector<std::u16string>{u"Microsoft Ichiro", u"Microsoft Ayumi",
                                                                                 u"Microsoft Haruka Desktop", u"ja"}));
  EXPECT_EQ(names(kEnglish, u"en-us"), (std::vector<std::u16string>{u"en-us", u"Microsoft Zira Desktop",
                                                                     u"Microsoft George", u"Microsoft Hazel Desktop"}));
  EXPECT_EQ(names(kKorean, u""), std::vector<std::u16string>{u"ko"});
  EXPECT_TRUE(names(5, u"").empty());
}

// The log's account of a choice must agree with the choice itself.
TEST(VoiceChoiceTest, TheReasonSaysWhetherTheUsersChoiceCountedAndAmongHowMany) {
  struct Case {
    int language;
    std::u16string_view chosenName;
    std::string reason;
  };
  const Case cases[] = {
      {kJapanese, u"microsoft ichiro", "the user's choice"},
      {kJapanese, u"", "the best of 4 that speak the language (12 found)"},
      {kJapanese, u"Microsoft Sayaka",
       "the user's choice \"Microsoft Sayaka\" is not installed; the best of 4 that speak the language (12 found)"},
      {kKorean, u"Microsoft Zira Desktop",
       "the user's choice \"Microsoft Zira Desktop\" does not speak the language; the best of 1 that speak the "
       "language (12 found)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    EXPECT_EQ(VoiceChoiceReason(c.language, kInstalled, c.chosenName), c.reason);
    // "the user's choice" exactly when ChooseVoice returned a voice of that name.
    const auto voice = ChooseVoice(c.language, kInstalled, c.chosenName);
    ASSERT_TRUE(voice.has_value());
    const bool named = c.reason == "the user's choice";
    EXPECT_EQ(named, !c.chosenName.empty() && voice->name.size() == c.chosenName.size());
  }
  EXPECT_EQ(VoiceChoiceReason(kKorean, {{Kind::kSapiClassic, u"Zira", u"409"}}, u""),
            "no voice speaks the language (1 found)");
}

}  // namespace
}  // namespace ostrel::orvatone
