// A dialog that a script defined (CREATEDIALOG( ... ENDOBJECT(), shown modally by DIALOGBOX(.
#pragma once

#include <cstdint>

struct Interpreter;
struct UserObject;

// Builds [object]'s dialog and runs it modally over the installer's windows; [press] says who
// answers it (RunModalDialog). [closingId] gets the id of the button that closed it. Returns the
// error recorded while it ran (0, or a ScriptError code such as 10035 when the dialog could not
// be built); DIALOGBOX( returns it.
int RunUserDialog(Interpreter& ip, const UserObject& object, int32_t& closingId, int press = 0);
