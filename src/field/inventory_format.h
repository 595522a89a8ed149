#pragma once
// The inventory reader's outcome as data: the inventory, or its refusal, so that the tally
// reader can try the other forms of a file that this one refuses.

#include <optional>
#include <string_view>

#include "engine/inventory.h"
#include "engine/refusal.h"

namespace quorvel {

struct InventoryReading {
  std::optional<Inventory> inventory;
  Refusal refusal;  // when there is no inventory
};

InventoryReading read_inventory_format(std::string_view text, std::string_view source);

}  // namespace quorvel
