#include "ui/text_table.h"

namespace {

struct TextEntry {
  int id;
  const char* text;
};

constexpr TextEntry kTexts[] = {
#define PROGRAM_TEXT(id, text) {id, text},
#define SCRIPT_ERROR(code, name, text) {code, text},
#define LANGUAGE_TEXT(base, language, text) {(base) + (language), text},
#include "resources/texts/common.def"
#include "resources/texts/errors.def"
#include "resources/texts/language.def"
#include "resources/texts/copy.def"
#include "resources/texts/dialogs.def"
#include "resources/texts/debugger.def"
#include "resources/texts/deinstall.def"
#include "resources/texts/morpax.def"
#include "resources/texts/unattended.def"
#undef PROGRAM_TEXT
#undef SCRIPT_ERROR
#undef LANGUAGE_TEXT
};

}  // namespace

const char* BuiltInText(int id) {
  for (const TextEntry& entry : kTexts)
    if (entry.id == id) return entry.text;
  return nullptr;
}
