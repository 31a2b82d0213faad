#include "talven/talven.h"

#include "commands/command_families.h"

CommandTable InterpreterCommandTable() {
  CommandTable table = PortableCommandTable();
  AddFileCommands(table);
  AddCopyCommands(table);
  AddWindowCommands(table);
  AddDialogCommands(table);
  return table;
}
