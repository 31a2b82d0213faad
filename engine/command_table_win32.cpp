#include "engine/talven.h"

CommandTable InterpreterCommandTable() {
  CommandTable table = PortableCommandTable();
  // The machine's command families add their handlers here.
  return table;
}
