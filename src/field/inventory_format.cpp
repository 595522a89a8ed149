#include "field/inventory_format.h"

#include "engine/inventory_reader.h"
#include "field/text_encoding.h"

namespace quorvel {

InventoryReading read_inventory_format(std::string_view text, std::string_view source) {
  InventoryReading reading;
  try {
    reading.inventory = parse_inventory(text, source);
  } catch (const Refused& refused) {
    reading.refusal = refused.refusal();
    // The reader cuts a text it quotes by bytes, perhaps inside a character; a tally's refusals
    // quote whole characters only.
    std::string& found = reading.refusal.found;
    while (!found.empty() && !is_valid_utf8(found)) found.pop_back();
  }
  return reading;
}

}  // namespace quorvel
