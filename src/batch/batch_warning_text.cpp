#include "batch/batch_warning_text.h"

#include <charconv>

namespace quorvel {

namespace {

// The shortest text that reads back to the same number.
std::string number(double value) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// "tally.csv, plot P07, line 3, record 3": the parts the warning has.
std::string place(const Warning& w) {
  std::string out = w.file;
  if (!w.plot.empty()) out += ", plot " + w.plot;
  if (w.line > 0) out += ", line " + std::to_string(w.line);
  if (w.record > 0) out += ", record " + std::to_string(w.record);
  return out;
}

// "; 4 pieces like it" when the first piece named is not the only one.
std::string others(const Warning& w) {
  return w.count > 1 ? "; " + std::to_string(w.count) + " pieces in all" : "";
}

}  // namespace

std::string warning_text(const Warning& w) {
  switch (w.kind) {
    case WarningKind::diameter_above_limit:
      return place(w) + ": diameter " + number(w.value) + " cm above " + number(w.limit) +
             " cm (typed in mm?)" + others(w);
    case WarningKind::longer_than_diagonal:
      return place(w) + ": length " + number(w.value) + " m above the plot's diagonal " +
             number(w.limit) + " m (typed in cm? or the transect length?)" + others(w);
    case WarningKind::carbon_above_limit:
      return place(w) + ": model 1 carbon " + number(w.value) + " t C/ha above " + number(w.limit) +
             " t C/ha (diameters in mm? lengths in cm?)";
    case WarningKind::no_pieces:
      return place(w) + ": the tally holds no piece";
  }
  return place(w) + ": looks wrong";
}

const char* warning_kind_name(WarningKind kind) {
  switch (kind) {
    case WarningKind::diameter_above_limit:
      return "diameter_above_limit";
    case WarningKind::longer_than_diagonal:
      return "longer_than_diagonal";
    case WarningKind::carbon_above_limit:
      return "carbon_above_limit";
    case WarningKind::no_pieces:
      break;
  }
  return "no_pieces";
}

}  // namespace quorvel
