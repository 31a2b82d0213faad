#include "commands/command_families.h"
#include "morpax/morpax.h"

// The de-installer needs the families whose removal commands a de-install script holds; the
// de-install lines themselves are checked against their forms before any of them runs.
CommandTable DeinstallerCommandTable() {
  CommandTable table = PortableCommandTable();
  AddFileCommands(table);
  AddIniCommands(table);
  AddRegistryCommands(table);
  AddGroupCommands(table);
  AddRegistrationCommands(table);
  AddOdbcCommands(table);
  return table;
}
