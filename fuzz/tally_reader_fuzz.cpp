// Arbitrary bytes to the tally and species map readers: plots the engine can work with, or a
// refusal naming the file with its text as UTF-8. The last byte chooses the options.

#include "field/plausibility.h"
#include "field/tally_reader.h"
#include "field/text_encoding.h"
#include "fuzz_checks.h"

namespace {

using namespace quorvel;

TallyOptions options_from(std::uint8_t choice) {
  TallyOptions options;
  options.species_map.add("дуб", 2);
  options.species_map.add("Oak", 2);
  options.species_map.add("12", 3);
  if (choice == '\n' || choice == '\r') return options;  // the corpus files: everything detected
  static constexpr FieldSeparator separators[] = {FieldSeparator::detect, FieldSeparator::comma,
                                                  FieldSeparator::semicolon, FieldSeparator::tab};
  static constexpr DecimalMark marks[] = {DecimalMark::detect, DecimalMark::point,
                                          DecimalMark::comma};
  options.separator = separators[choice % 4];
  options.decimal = marks[(choice / 4) % 3];
  options.encoding = static_cast<TextEncoding>((choice / 12) % 5);
  if ((choice / 60) % 2 == 1) options.plot_column = "plot";
  return options;
}

void check_refusal(const Refusal& refusal) {
  require(refusal.file == "fuzz.csv");
  require(is_valid_utf8(refusal.found) && is_valid_utf8(refusal.column));
  require(refusal.line >= 0 && refusal.record >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = text_of(data, size);
  const TallyOptions options = options_from(size > 0 ? data[size - 1] : '\n');
  try {
    const TallyFile tally = parse_tally(bytes, "fuzz.csv", options);
    require(!tally.plots.empty());
    if (tally.form.inventory_format) require(tally.plots.size() == 1);
    for (const PlotTally& plot : tally.plots) {
      require(plot.inventory.source == "fuzz.csv");
      require(is_valid_utf8(plot.plot) && is_valid_utf8(plot.stratum));
      require(tally.plots.size() == 1 || !plot.plot.empty());
      int line = 0;
      for (const DebrisPiece& piece : plot.inventory.pieces) {
        check_record(piece);
        require(piece.line >= line);  // in file order
        line = piece.line;
      }
      SimulationParameters parameters;
      for (const Warning& warning : plausibility_warnings(plot.inventory, plot.plot, parameters))
        require(warning.count >= 1 && warning.file == "fuzz.csv");
    }
  } catch (const Refused& refused) {
    check_refusal(refused.refusal());
  }
  try {
    parse_species_map(bytes, "fuzz.csv");
  } catch (const Refused& refused) {
    check_refusal(refused.refusal());
  }
  return 0;
}
