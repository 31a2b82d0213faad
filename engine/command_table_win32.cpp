#include "engine/talven.h"

#include "commands/copy_commands_win32.h"
#include "commands/file_commands_win32.h"
#include "ui/window_commands_win32.h"

CommandTable InterpreterCommandTable() {
  CommandTable table = PortableCommandTable();
  // The machine's command families add their handlers here.
  AddFileCommands(table);
  AddCopyCommands(table);
  AddWindowCommands(table);
  return table;
}
