#pragma once
// Coefficients of carbon by species and decay stage, as published inventories give them: the
// wood density (t/m3), a structural reduction for collapsed pieces and the carbon fraction. A
// CSV file whose header names the columns species, stage, density and optionally reduction
// (default 1) and carbon (default: the carbon fraction of the Start), in any order and case;
// fields separated by commas, semicolons or tabs (then a decimal comma too); encodings as the
// species map. A species is a tally's own code ("Pl", "Sx") or a group S, H or C.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/inventory.h"
#include "field/text_encoding.h"

namespace quorvel {

struct CoefficientRow {
  std::string species;           // as written, blanks dropped
  int stage = 1;                 // 1..5
  double density = 0;            // t/m3, 0 < density <= 1.5
  double reduction = 1;          // 0 < reduction <= 1
  std::optional<double> carbon;  // 0 < carbon <= 1; none: the carbon fraction of the Start
  std::int64_t line = 0;
};

class CoefficientsTable {
 public:
  // The row of the species code at the stage, else the row of the group's letter, else none.
  // Codes are compared without regard to letter case.
  const CoefficientRow* row_for(std::string_view code, int group, int stage) const;
  // The row that lists the same species and stage already, or none after adding it.
  const CoefficientRow* add(CoefficientRow row);

  const std::vector<CoefficientRow>& rows() const { return rows_; }

 private:
  const CoefficientRow* find(std::string_view code, int stage) const;
  std::vector<CoefficientRow> rows_;
  std::vector<std::string> keys_;  // folded species of each row
};

// Throws Refused naming the file, line and column: a value that is not a number in its range
// (field_not_valid), a header without species, stage or density (column_missing), one species
// and stage listed twice (coefficient_repeated), no rows (no_records), and the refusals of a
// file that cannot be read (with the field coefficient_species, which words it as the table's)
// or decoded.
CoefficientsTable read_coefficients(const std::filesystem::path& path,
                                    TextEncoding encoding = TextEncoding::detect);
CoefficientsTable parse_coefficients(std::string_view bytes, std::string_view source,
                                     TextEncoding encoding = TextEncoding::detect);

// Gives every piece of stage 1..5 its carbon per m3 of wood, density x reduction x carbon
// fraction in double precision, the row's fraction or else `carbon_fraction`. Stage 0 carries
// no carbon and needs no row. Throws Refused (coefficients_missing) naming the inventory, the
// table and every species and stage without a row, all at once; the pieces are then unchanged.
void apply_coefficients(const CoefficientsTable& table, std::string_view table_file,
                        double carbon_fraction, Inventory& inventory);

}  // namespace quorvel
