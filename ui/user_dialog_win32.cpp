#include "ui/user_dialog_win32.h"

#include "engine/errors.h"

// Object definitions with controls are not built yet: no user dialog can be shown.
int RunUserDialog(Interpreter&, const UserObject&, int32_t& closingId) {
  closingId = 2;
  return ERR_DIALOG_INIT_FAILED;
}
