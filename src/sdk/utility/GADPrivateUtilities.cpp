#include "sdk/utility/GADPrivateUtilities.h"

#include <unordered_map>
#include <utility>

namespace {

struct Entry {
  std::shared_ptr<void> value;
  std::type_index type;
};

using Registry = std::unordered_map<const void*, Entry>;

// Never destroyed: public objects with static storage may still remove their companion
// while the process exits, after a function-local map would be gone.
Registry& registry() {
  static Registry* map = new Registry;
  return *map;
}

}  // namespace

void GADPrivateUtilities::store(std::shared_ptr<void> value, std::type_index type, const void* key) {
  if (!key) return;
  std::shared_ptr<void> previous;
  auto [it, inserted] = registry().try_emplace(key, Entry{value, type});
  if (!inserted) {
    previous = std::exchange(it->second.value, std::move(value));
    it->second.type = type;
  }
  // `previous` is released here, after the map is consistent: its destructor may use us.
}

std::shared_ptr<void> GADPrivateUtilities::lookUp(std::type_index type, const void* key) {
  auto it = registry().find(key);
  if (it == registry().end() || it->second.type != type) return nullptr;
  return it->second.value;
}

void GADPrivateUtilities::removePrivateObjectForKey(const void* key) {
  auto it = registry().find(key);
  if (it == registry().end()) return;
  std::shared_ptr<void> released = std::move(it->second.value);
  registry().erase(it);
  // Released only now, so a companion that removes others in its destructor finds the map
  // intact.
}

size_t GADPrivateUtilities::count() { return registry().size(); }

void GADPrivateUtilities::removeAllForTesting() {
  Registry released;
  released.swap(registry());
  // Destructors of the released values may remove further entries from the (now fresh)
  // map; keep going until nothing is left.
  released.clear();
  if (!registry().empty()) removeAllForTesting();
}
