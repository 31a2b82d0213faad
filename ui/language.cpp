#include "ui/language.h"

#include "engine/interpreter.h"
#include "support/text.h"

namespace {

// ORDER: base ids of resources/texts/language.def; replaced in this order.
constexpr CaptionMacro kCaptionMacros[] = {
    {"#OK#", 14000},     {"#CANCEL#", 14010}, {"#EXIT#", 14020},     {"#QUIT#", 14030},
    {"#ABOUT#", 14040},  {"#RETRY#", 14050},  {"#IGNORE#", 14060},   {"#INSTALL#", 14070},
    {"#DEINSTALL#", 14080}, {"#CONTINUE#", 14090}, {"#ADD#", 14120}, {"#MODIFY#", 14130},
    {"#UPDATE#", 14140}, {"#DELETE#", 14150}, {"#NEW#", 14160},      {"#HELP#", 14170},
    {"#BACK#", 14180},   {"#NEXT#", 14190},   {"#USERNAME#", 14200}, {"#COMPANYNAME#", 14210},
    {"#COPYING#", 14270},
};

struct LanguageCodes {
  const char* list;
  int index;
};

constexpr LanguageCodes kLanguageCodes[] = {
    {"*ENC*ENU*", 1},
    {"*FRB*FRC*FRA*FRL*FRM*FRS*", 2},
    {"*DEA*DEU*DEC*DEL*DES*", 3},
    {"*ITA*ITS*", 4},
    {"*ESS*ESB*ESL*ESO*ESC*ESD*ESF*ESE*ESG*ESH*ESM*ESI*ESA*ESZ*ESR*ESU*ESN*ESP*ESY*ESV*", 5},
    {"*NLB*NLD*", 6},
    {"*PTB*PTG*", 7},
    {"*PLK*", 8},
    {"*CSY*", 9},
};

constexpr const char* kCommandNames[kLanguageCount] = {"UKENGLISH", "USENGLISH", "FRENCH", "GERMAN", "ITALIAN",
                                                       "SPANISH",   "DUTCH",     "PORTUGUESE", "POLISH", "CZECH"};
constexpr const char* kStoredNames[kLanguageCount] = {"UkEnglish", "USEnglish", "French", "German", "Italian",
                                                      "Spanish",   "Dutch",     "Portuguese", "Polish", "Czech"};

bool HasHash(const std::string& text) { return text.find('#') != std::string::npos; }

}  // namespace

const CaptionMacro* CaptionMacrosBegin() { return kCaptionMacros; }
const CaptionMacro* CaptionMacrosEnd() { return kCaptionMacros + sizeof kCaptionMacros / sizeof kCaptionMacros[0]; }

int LanguageFromCode(const std::string& code) {
  const std::string wrapped = UpperAscii("*" + code.substr(0, 3) + "*");
  int index = 0;
  for (const LanguageCodes& codes : kLanguageCodes)
    if (std::string(codes.list).find(wrapped) != std::string::npos) index = codes.index;
  return index;
}

int CurrentLanguage(Interpreter& ip) {
  if (ip.languageIndex < 0) ip.languageIndex = LanguageFromCode(ip.platform.ProfileString("intl", "sLanguage", "ENA"));
  return ip.languageIndex;
}

std::string LanguageText(Interpreter& ip, int baseId) {
  std::string text = ip.platform.ResourceText(baseId + CurrentLanguage(ip));
  return text.empty() ? ip.platform.ResourceText(baseId) : text;
}

std::string ExpandTextMacros(Interpreter& ip, std::string text) {
  for (int pass = 0; pass < 4 && HasHash(text); ++pass) {
    for (const CaptionMacro& m : kCaptionMacros)
      if (text.find(m.macro) != std::string::npos)
        ReplaceAll(text, m.macro, LanguageText(ip, m.baseId), true, kMaxExpandedText);
    if (!HasHash(text)) break;
    const VariableStore& store = ip.variables;
    for (int slot = 0; slot <= store.Highest(); ++slot) {
      const std::string& name = store.NameAt(slot);
      if (name.empty()) continue;
      const std::string macro = "#" + name + "#";
      if (FindFrom(0, text, macro, false, false) >= 0) ReplaceAll(text, macro, store.ValueAt(slot), false, kMaxExpandedText);
    }
  }
  return text;
}

const char* LanguageCommandName(int index) { return index >= 0 && index < kLanguageCount ? kCommandNames[index] : ""; }
const char* LanguageStoredName(int index) { return index >= 0 && index < kLanguageCount ? kStoredNames[index] : ""; }
