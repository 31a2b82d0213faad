// CREATEBACKDROP(, CREATEDIALOG( and CREATECUECARD( with the definition block that follows
// them (CREATECONTROL(, SETFOCUS(, CENTREDIALOG(, ADDLISTITEM( up to ENDOBJECT(), and
// ADDLISTITEM( anywhere. Definitions only fill the object table; the windows that show the
// objects read it when they are shown. Portable.
#include "engine/executor.h"
#include "engine/lexer.h"
#include "support/text.h"
#include "ui/language.h"

namespace {

// Parameter [n]'s token must be a number literal: 0, or 10020 naming it.
int CheckLiteral(TokenLine& line, int n) {
  line.paramNo = n;
  return ParamToken(line, n) == TOK_NUMBER ? 0 : ERR_INVALID_NUMERIC_PARAMETER;
}

int DefineText(Interpreter& ip, TokenLine& line, UserControl& control) {
  if (int r = CheckString(line, line.cursor + 16, 9)) return r;
  for (int n = 10; n <= 13; ++n)
    if (int r = CheckLiteral(line, n)) return r;
  control.fontName = StringParam(ip, line, line.cursor + 16, true);
  control.fontHeight = ip.numbers.Next();
  control.shadowOffset = ip.numbers.Next();
  control.textColour = ip.numbers.Next();
  control.shadowColour = ip.numbers.Next();
  return 0;
}

// Edits, boxes and lists: parameter 9 may name the bound variable, parameter 10 give the text
// limit. A value in place 9 that binds nothing is still taken off its stack, so that 10 is
// read from the right place.
void DefineBinding(Interpreter& ip, TokenLine& line, UserControl& control) {
  const int32_t ninth = ParamToken(line, 9);
  if (ninth == TOK_VARIABLE) control.boundVariable = ip.strings.Next();
  else if (ninth == TOK_STRING) ip.strings.Next();
  else if (ninth == TOK_NUMBER) ip.numbers.Next();
  if (ParamToken(line, 10) == TOK_NUMBER) control.textLimit = ip.numbers.Next();
}

int DefineControl(Interpreter& ip, TokenLine& line, UserObject& object) {
  if (int r = CheckString(line, line.cursor, 1)) return r;
  if (int r = CheckString(line, line.cursor + 2, 2)) return r;
  for (int n = 3; n <= 8; ++n)
    if (int r = CheckLiteral(line, n)) return r;
  const std::string typeName = StringParam(ip, line, line.cursor, false);
  UserControl control;
  control.text = StringParam(ip, line, line.cursor + 2, false);  // expanded when shown
  line.paramNo = 1;
  if (!ControlTypeFromName(typeName, control.type)) return ERR_INVALID_CONTROL_TYPE;
  if (!KindAccepts(object.kind, control.type)) return ERR_CONTROL_WRONG_FOR_OBJECT;
  control.id = ip.numbers.Next();
  control.x = ip.numbers.Next();
  control.y = ip.numbers.Next();
  control.width = ip.numbers.Next();
  control.height = ip.numbers.Next();
  control.style = CompletedStyle(control.type, static_cast<uint32_t>(ip.numbers.Next()));
  switch (control.type) {
    case ControlType::Bitmap:
      // The name is checked as it will be loaded, with its macros replaced.
      line.paramNo = 2;
      if (!ip.platform.FileExists(ExpandTextMacros(ip, control.text))) return ERR_BITMAP_NOT_FOUND;
      break;
    case ControlType::ColourBlock:
      if (int r = CheckLiteral(line, 9)) return r;
      control.colour = ip.numbers.Next();
      break;
    case ControlType::Text:
      if (int r = DefineText(ip, line, control)) return r;
      break;
    default:
      if (TakesBoundVariable(control.type)) DefineBinding(ip, line, control);
      break;
  }
  object.controls.push_back(std::move(control));
  return 0;
}

int DefineFocus(Interpreter& ip, TokenLine& line, UserObject& object) {
  if (object.kind != ObjectKind::Dialog) return ERR_COMMAND_WRONG_FOR_OBJECT;
  if (int r = CheckLiteral(line, 1)) return r;
  object.focusControl = ip.numbers.Next();
  return 0;
}

int DefineCentring(Interpreter& ip, TokenLine& line, UserObject& object) {
  if (object.kind == ObjectKind::Backdrop) return ERR_COMMAND_WRONG_FOR_OBJECT;
  if (ParamToken(line, 1) == ')') {
    object.horizontalMode = 3;
    object.verticalMode = 3;
    return 0;
  }
  if (int r = CheckLiteral(line, 1)) return r;
  if (int r = CheckLiteral(line, 2)) return r;
  object.horizontalMode = ip.numbers.Next();
  object.verticalMode = ip.numbers.Next();
  return 0;
}

int AddListItemCommand(Interpreter& ip, TokenLine& line) {
  std::string name, item;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (int r = CheckLiteral(line, 2)) return r;
  const int32_t id = ip.numbers.Next();
  if (int r = ReadStringParam(ip, line, 3, item)) return r;
  UserObject* object = ip.objects.Find(name);
  if (!object) return ERR_OBJECT_NOT_FOUND;
  for (UserControl& control : object->controls)
    if (control.id == id) AppendListItem(control.text, item);
  return 0;
}

// Reads the definition lines after a creating command into [object], up to ENDOBJECT( or the
// end of the file. The first error ends the block where it stands; what was defined so far
// stays, and the lines after it run as ordinary statements.
int ReadDefinitionBlock(Interpreter& ip, TokenLine& line, UserObject& object) {
  while (ip.files.AnyOpen() && ip.files.ReadNextLine() == 0) {
    const std::string& text = ip.files.LineText();
    if (ip.log.Enabled()) ip.log.LogText("CLine: '" + text + "'\r\n");
    if (int r = TokeniseLine(ip, text)) return r;
    if (DebuggerEndsRun(ip)) continue;  // the debugger ended the run: no file is open now
    // The definition line takes the creating line's place: an error names its parameter.
    line.tokens = ip.lexer.tokens;
    line.cursor = 1;
    line.paramNo = 0;
    int result = 0;
    switch (line.At(0)) {
      case TOK_END: continue;  // an empty line or a comment
      case TOK_ENDOBJECT: return 0;
      case TOK_CREATECONTROL: result = DefineControl(ip, line, object); break;
      case TOK_SETFOCUS: result = DefineFocus(ip, line, object); break;
      case TOK_CENTREDIALOG: result = DefineCentring(ip, line, object); break;
      case TOK_ADDLISTITEM: result = AddListItemCommand(ip, line); break;
      default: result = ERR_INVALID_DIALOG_COMMAND; break;
    }
    if (result != 0) return result;
  }
  return 0;
}

// Puts [object] in the table in place of any of the same name, then reads its block.
int DefineObject(Interpreter& ip, TokenLine& line, UserObject object) {
  const std::string name = object.name;
  ip.objects.Remove(name);
  if (int r = ip.objects.Add(std::move(object))) return r;  // the block is not read
  return ReadDefinitionBlock(ip, line, *ip.objects.Find(name));
}

int ReadFourNumbers(Interpreter& ip, TokenLine& line, int first, UserObject& object) {
  int32_t* const fields[] = {&object.x, &object.y, &object.width, &object.height};
  for (int n = 0; n < 4; ++n)
    if (int r = ReadNumberParam(ip, line, first + n, *fields[n])) return r;
  return 0;
}

int CreateBackdropCommand(Interpreter& ip, TokenLine& line) {
  UserObject object;
  object.kind = ObjectKind::Backdrop;
  if (int r = ReadStringParam(ip, line, 1, object.name)) return r;
  if (IsNumberToken(ParamToken(line, 2)))
    if (int r = ReadNumberParam(ip, line, 2, object.colour)) return r;
  return DefineObject(ip, line, std::move(object));
}

int CreateDialogCommand(Interpreter& ip, TokenLine& line) {
  UserObject object;
  object.kind = ObjectKind::Dialog;
  if (int r = ReadStringParam(ip, line, 1, object.name)) return r;
  if (int r = CheckString(line, line.cursor + 2, 2)) return r;
  object.caption = StringParam(ip, line, line.cursor + 2, false);  // expanded when shown
  if (int r = ReadFourNumbers(ip, line, 3, object)) return r;
  return DefineObject(ip, line, std::move(object));
}

int CreateCueCardCommand(Interpreter& ip, TokenLine& line) {
  UserObject object;
  object.kind = ObjectKind::CueCard;
  if (int r = ReadStringParam(ip, line, 1, object.name)) return r;
  if (int r = ReadFourNumbers(ip, line, 2, object)) return r;
  if (IsNumberToken(ParamToken(line, 6)))
    if (int r = ReadNumberParam(ip, line, 6, object.borderStyle)) return r;
  return DefineObject(ip, line, std::move(object));
}

}  // namespace

void AddObjectDefinitionCommands(CommandTable& table) {
  table.Add(TOK_CREATEBACKDROP, CreateBackdropCommand);
  table.Add(TOK_CREATEDIALOG, CreateDialogCommand);
  table.Add(TOK_CREATECUECARD, CreateCueCardCommand);
  table.Add(TOK_ADDLISTITEM, AddListItemCommand);
}
