#pragma once
// The inventory reader's outcome as data: the inventory, or its refusal. The reader may report
// a refusal as Refused or as an InputError worded in English; the words are read back into a
// Refusal here, so that callers see one form whichever the reader raises.

#include <optional>
#include <string_view>

#include "inventory.h"
#include "refusal.h"

namespace quorvel {

struct InventoryReading {
  std::optional<Inventory> inventory;
  Refusal refusal;  // when there is no inventory
};

InventoryReading read_inventory_format(std::string_view text, std::string_view source);

}  // namespace quorvel
