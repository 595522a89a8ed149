// Arbitrary bytes to the reader of coefficients by species and decay stage: a table whose every
// row keeps its ranges and gives a finite carbon factor (0 only where tiny figures underflow)
// to a tally of all three groups, or a
// refusal naming the file with its text as UTF-8.

#include <cmath>

#include "field/coefficients_table.h"
#include "field/text_encoding.h"
#include "fuzz_checks.h"

namespace {

using namespace quorvel;

void check_refusal(const Refusal& refusal, const char* file) {
  require(refusal.file == file);
  require(is_valid_utf8(refusal.found) && is_valid_utf8(refusal.column));
  require(refusal.line >= 0);
}

void check_row(const CoefficientRow& row) {
  require(!row.species.empty() && is_valid_utf8(row.species));
  require(row.stage >= 1 && row.stage <= 5);
  require(row.density > 0 && row.density <= 1.5);
  require(row.reduction > 0 && row.reduction <= 1);
  require(!row.carbon || (*row.carbon > 0 && *row.carbon <= 1));
  require(row.line >= 2);
}

// Every group at every stage, under its own code and under a local one.
Inventory every_piece() {
  Inventory inventory;
  inventory.source = "plot.csv";
  for (int stage = 0; stage <= 5; ++stage)
    for (int group = 1; group <= 3; ++group)
      for (const char* code : {"", "Pl"})
        inventory.pieces.push_back({.group = group,
                                    .diameter1 = 20,
                                    .diameter2 = 20,
                                    .piece_length = 10,
                                    .stage = stage,
                                    .line = 1,
                                    .local_code = code});
  return inventory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = text_of(data, size);
  try {
    const CoefficientsTable table = parse_coefficients(bytes, "fuzz.csv");
    require(!table.rows().empty());
    for (const CoefficientRow& row : table.rows()) check_row(row);
    Inventory inventory = every_piece();
    try {
      apply_coefficients(table, "fuzz.csv", 0.5, inventory);
      for (const DebrisPiece& piece : inventory.pieces)
        require(piece.stage == 0 ? !piece.carbon_factor
                                 : piece.carbon_factor && std::isfinite(*piece.carbon_factor) &&
                                       *piece.carbon_factor >= 0 && *piece.carbon_factor <= 1.5);
    } catch (const Refused& refused) {
      check_refusal(refused.refusal(), "plot.csv");
      require(refused.refusal().kind == RefusalKind::coefficients_missing);
      require(!refused.refusal().found.empty() && is_valid_utf8(refused.refusal().found));
      for (const DebrisPiece& piece : inventory.pieces) require(!piece.carbon_factor);
    }
  } catch (const Refused& refused) {
    check_refusal(refused.refusal(), "fuzz.csv");
  }
  return 0;
}
