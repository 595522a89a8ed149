#pragma once
// One tallied piece of downed wood: one record of an inventory file.

#include <optional>
#include <string>

namespace quorvel {

struct DebrisPiece {
  int group = 1;             // species group 1..3, mapped from the code "S", "H" or "C"
  double diameter1 = 0;      // cm, at one end
  double diameter2 = 0;      // cm, at the other end
  double piece_length = 0;   // m; 0 where the crew recorded none
  int stage = 1;             // decomposition stage 0..5; stage 0 is counted but carries no carbon
  int line = 0;              // line of the file on which the record starts, for messages
  bool length_known = true;  // false: no length; model 1 gives carbon, volume and surface alone
  std::string local_code{};  // the species as the tally wrote it, which a coefficients table names
  // Tonnes of carbon per m3 of wood from a table by species and decay stage (density x
  // reduction x carbon fraction); none: the density grid and the carbon fraction.
  std::optional<double> carbon_factor{};
};

}  // namespace quorvel
