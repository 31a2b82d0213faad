// DIALOGBOX(: a script's own dialog object or one of the built-in pages, shown modally while
// the copy gauge and the wait message step aside; the button that closed it goes to ERROR.
#include "ui/standard_dialogs_win32.h"

#include "commands/command_families.h"
#include "engine/executor.h"
#include "support/dialog_template_win32.h"
#include "support/text.h"
#include "ui/installer_windows_win32.h"
#include "ui/language.h"
#include "ui/user_dialog_win32.h"

namespace {

int ShowNamedDialog(Interpreter& ip, const std::string& name, int32_t& closingId) {
  if (const UserObject* object = ip.objects.Find(name)) {
    if (object->kind != ObjectKind::Dialog) return ERR_NOT_A_DIALOG;
    return RunUserDialog(ip, *object, closingId);
  }
  StandardPage page;
  if (!FindStandardPage(name, page)) return ERR_INVALID_TEMPLATE_NAME;
  if (page.kind == PageKind::OpenFile || page.kind == PageKind::SaveAs) {
    RunFileDialog(ip, page.kind == PageKind::SaveAs, closingId);
    return 0;
  }
  return RunStandardPage(ip, page, closingId);
}

int DialogBoxCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  ip.platform.BeginUserPrompt();
  int32_t closingId = IDCANCEL;
  int result = ShowNamedDialog(ip, UpperAscii(name), closingId);
  ip.platform.EndUserPrompt();
  if (result != 0) return result;
  result = SetErrorVariable(ip, closingId);
  ip.platform.PumpMessages();
  return result;
}

}  // namespace

std::string PageVariable(Interpreter& ip, const std::string& name, bool expand) {
  const std::string value = ip.variables.GetVariable(name);
  return expand ? ExpandTextMacros(ip, value) : value;
}

PageTextLookup PageTexts(Interpreter& ip) {
  return [&ip](int id) {
    const bool languageText = id >= 14000 && id < 15000;
    return AnsiToUtf16(languageText ? LanguageText(ip, id) : ip.platform.ResourceText(id));
  };
}

void AddDialogCommands(CommandTable& table) { table.Add(TOK_DIALOGBOX, DialogBoxCommand); }
