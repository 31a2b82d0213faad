#include "talven/talven.h"

#include "commands/command_families.h"

CommandTable InterpreterCommandTable() {
  CommandTable table = PortableCommandTable();
  AddFileCommands(table);
  AddCopyCommands(table);
  AddWindowCommands(table);
  AddDialogCommands(table);
  AddStreamCommands(table);
  AddIniCommands(table);
  AddRegistryCommands(table);
  AddEnvironmentCommands(table);
  AddGroupCommands(table);
  AddRegistrationCommands(table);
  AddOdbcCommands(table);
  AddObjectCommands(table);
  AddProcessCommands(table);
  AddDeinstallCommands(table);
  AddRestartCommands(table);
  return table;
}
