#include <gtest/gtest.h>

#include "tests/native/script_harness.h"
#include "ui/language.h"
#include "ui/text_table.h"

TEST(LanguageDetection, CodesMapToTheirLanguage) {
  EXPECT_EQ(LanguageFromCode("DEU"), 3);
  EXPECT_EQ(LanguageFromCode("deu"), 3);
  EXPECT_EQ(LanguageFromCode("ENU"), 1);
  EXPECT_EQ(LanguageFromCode("ENG"), 0);
  EXPECT_EQ(LanguageFromCode("ENA"), 0);
  EXPECT_EQ(LanguageFromCode("CSY"), 9);
  EXPECT_EQ(LanguageFromCode("PLK"), 8);
  EXPECT_EQ(LanguageFromCode("ESN"), 5);
  EXPECT_EQ(LanguageFromCode("NLD"), 6);
  EXPECT_EQ(LanguageFromCode("*"), 0);
  EXPECT_EQ(LanguageFromCode(""), 0);
  EXPECT_EQ(LanguageFromCode("FRBX"), 2);  // only three characters count
}

TEST(LanguageDetection, ReadsWinIniOnceAndDefaultsToUkEnglish) {
  ScriptRun run;
  EXPECT_EQ(CurrentLanguage(run.ip), 0);
  ScriptRun german;
  german.platform.profile["INTL|SLANGUAGE"] = "DEU";
  EXPECT_EQ(CurrentLanguage(german.ip), 3);
  german.platform.profile["INTL|SLANGUAGE"] = "FRA";
  EXPECT_EQ(CurrentLanguage(german.ip), 3);  // detected once per run
}

TEST(LanguageTexts, MissingEntriesFallBackToUkEnglish) {
  ScriptRun run;
  run.ip.languageIndex = 1;  // US English has no entry of its own for 14270
  EXPECT_EQ(LanguageText(run.ip, 14270), "Copying:");
  run.ip.languageIndex = 8;  // Polish has none at all
  EXPECT_EQ(LanguageText(run.ip, 14010), "&Cancel");
  run.ip.languageIndex = 3;
  EXPECT_EQ(LanguageText(run.ip, 14060), "&Ignorieren ");
  EXPECT_EQ(LanguageText(run.ip, 14120), "&Hinzuf\374gen");
  run.ip.languageIndex = 9;
  EXPECT_EQ(LanguageText(run.ip, 14030), "&Ukon\350it");
  run.ip.languageIndex = 6;
  EXPECT_EQ(LanguageText(run.ip, 14270), "Bezig met kopi\211ren:");
  EXPECT_EQ(LanguageText(run.ip, 14060), "Negeren");
}

TEST(LanguageTexts, EveryBaseIdHasItsUkEnglishEntry) {
  for (int base = 14000; base <= 14290; base += 10) EXPECT_NE(BuiltInText(base), nullptr) << base;
}

TEST(TextMacros, CaptionsAndVariablesExpandInUpToFourPasses) {
  ScriptRun run;
  run.ip.languageIndex = 0;
  EXPECT_EQ(ExpandTextMacros(run.ip, "Press #NEXT# or #CANCEL#"), "Press &Next or &Cancel");
  EXPECT_EQ(ExpandTextMacros(run.ip, "no macro"), "no macro");
  EXPECT_EQ(ExpandTextMacros(run.ip, "50# off #UNKNOWN#"), "50# off #UNKNOWN#");
  run.ip.variables.SetVariable("PRODUCT", "Lumivane");
  EXPECT_EQ(ExpandTextMacros(run.ip, "Install #product# now"), "Install Lumivane now");
  // Stored deepest first, so that each pass resolves one level only.
  run.ip.variables.SetVariable("L5", "deep");
  run.ip.variables.SetVariable("L4", "#L5#");
  run.ip.variables.SetVariable("L3", "#L4#");
  run.ip.variables.SetVariable("L2", "#L3#");
  run.ip.variables.SetVariable("L1", "#L2#");
  EXPECT_EQ(ExpandTextMacros(run.ip, "#L2#"), "deep");
  EXPECT_EQ(ExpandTextMacros(run.ip, "#L1#"), "#L5#");  // the fifth level stays as written
  run.ip.variables.SetVariable("BTN", "#OK#");
  EXPECT_EQ(ExpandTextMacros(run.ip, "[#BTN#]"), "[&Ok]");
  run.ip.languageIndex = 3;
  EXPECT_EQ(ExpandTextMacros(run.ip, "#CANCEL#"), "&Abbrechen");
}

TEST(TextMacros, AMacroThatExpandsToItselfIsCut) {
  ScriptRun run;
  run.ip.variables.SetVariable("SELF", "#SELF##SELF##SELF##SELF##SELF##SELF##SELF##SELF##SELF##SELF#");
  const std::string text = ExpandTextMacros(run.ip, "#SELF##SELF##SELF##SELF##SELF##SELF##SELF#");
  EXPECT_LE(text.size(), kMaxExpandedText);
}
