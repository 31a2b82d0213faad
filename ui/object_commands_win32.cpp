// The commands that act on defined objects and the windows that show them: SHOWCUECARD(,
// SETCONTROLTEXT( and DESTROYOBJECT(. SHOWBACKDROP( is one of the window commands, and
// DIALOGBOX( shows dialogs.
#include "commands/command_families.h"
#include "engine/executor.h"
#include "ui/installer_windows_win32.h"

namespace {

int ShowCueCardCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (!ip.windows) return name.empty() ? 0 : ERR_OBJECT_NOT_FOUND;
  return ip.windows->ShowCueCard(name);
}

int SetControlTextCommand(Interpreter& ip, TokenLine& line) {
  std::string name, text;
  int32_t id = 0;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (int r = ReadLiteralNumberParam(ip, line, 2, id)) return r;
  if (int r = ReadStringParam(ip, line, 3, text)) return r;
  UserObject* object = ip.objects.Find(name);
  if (!object) return ERR_OBJECT_NOT_FOUND;
  for (UserControl& control : object->controls)
    if (control.id == id) control.text = text;
  if (ip.windows) ip.windows->RepaintObject(name);
  return 0;
}

int DestroyObjectCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (ip.windows) ip.windows->ForgetObject(name);
  ip.objects.Remove(name);
  return 0;
}

}  // namespace

void AddObjectCommands(CommandTable& table) {
  table.Add(TOK_SHOWCUECARD, ShowCueCardCommand);
  table.Add(TOK_SETCONTROLTEXT, SetControlTextCommand);
  table.Add(TOK_DESTROYOBJECT, DestroyObjectCommand);
}
