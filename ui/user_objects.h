// The objects that scripts define (backdrops, dialogs, cue cards), kept by name until they are
// shown. This holds what the main window and SHOWBACKDROP( need; the object definitions with
// their controls grow on it. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

enum class ObjectKind : int { Backdrop = 1, Dialog = 2, CueCard = 3 };

struct UserObject {
  ObjectKind kind = ObjectKind::Backdrop;
  std::string name;     // upper case
  int32_t colour = -1;  // backdrops: red + 256 * green + 65536 * blue, or -1 for the gradient
};

class UserObjectTable {
 public:
  static constexpr int kSlots = 30;

  // Adds [object] under its upper-cased name: 0, or 10031 when every slot is taken.
  int Add(UserObject object);
  // The object of that name (case does not matter), or nullptr.
  const UserObject* Find(const std::string& name) const;
  bool Remove(const std::string& name);
  void Clear();

 private:
  std::array<std::unique_ptr<UserObject>, kSlots> slots_;
};

// What SHOWBACKDROP( finds under [name]: 0 with [object] set, 10059 when no object has that
// name, 10053 when it is not a backdrop.
int FindBackdrop(const UserObjectTable& table, const std::string& name, const UserObject*& object);
