#include "ui/user_objects.h"

#include "engine/errors.h"
#include "support/text.h"

int UserObjectTable::Add(UserObject object) {
  object.name = UpperAscii(object.name);
  for (auto& slot : slots_) {
    if (slot) continue;
    slot = std::make_unique<UserObject>(std::move(object));
    return 0;
  }
  return ERR_TOO_MANY_OBJECTS;
}

const UserObject* UserObjectTable::Find(const std::string& name) const {
  const std::string upper = UpperAscii(name);
  for (const auto& slot : slots_)
    if (slot && slot->name == upper) return slot.get();
  return nullptr;
}

bool UserObjectTable::Remove(const std::string& name) {
  const std::string upper = UpperAscii(name);
  for (auto& slot : slots_) {
    if (!slot || slot->name != upper) continue;
    slot.reset();
    return true;
  }
  return false;
}

void UserObjectTable::Clear() {
  for (auto& slot : slots_) slot.reset();
}

int FindBackdrop(const UserObjectTable& table, const std::string& name, const UserObject*& object) {
  object = table.Find(name);
  if (!object) return ERR_OBJECT_NOT_FOUND;
  if (object->kind != ObjectKind::Backdrop) return ERR_NOT_A_BACKDROP;
  return 0;
}
