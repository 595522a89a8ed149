#include "inventory_format.h"

#include "inventory_reader.h"

namespace quorvel {

InventoryReading read_inventory_format(std::string_view text, std::string_view source) {
  InventoryReading reading;
  try {
    reading.inventory = parse_inventory(text, source);
  } catch (const Refused& refused) {
    reading.refusal = refused.refusal();
  }
  return reading;
}

}  // namespace quorvel
