#include "batch/batch_settings.h"

#include <string>
#include <utility>

#include "engine/random_source.h"
#include "engine/refusal.h"
#include "engine/text_to_number.h"
#include "field/species_map.h"

namespace quorvel {

namespace {

// The conversion's refusal, told which parameter it was about.
template <typename Parse>
auto parsed(Parameter parameter, const std::string& text, Parse parse, int stage = 0,
            int group = 0) {
  try {
    return parse(text);
  } catch (const Refused& refused) {
    Refusal refusal = refused.refusal();
    refusal.parameter = parameter;
    refusal.stage = stage;
    refusal.group = group;
    throw Refused(std::move(refusal));
  }
}

// STAGE:CODE=VALUE, its form already checked by the command line.
void apply_density(DensityTable& table, const std::string& cell) {
  const int stage = cell[0] - '0';
  const int group = cell[2] == 'S' ? 1 : cell[2] == 'H' ? 2 : 3;
  table.at(stage, group) = parsed(Parameter::density, cell.substr(4), text_to_single, stage, group);
}

// A file beside the tallies, read whole; one that cannot be opened is refused with `field`, which
// tells "cannot open the species map" from "cannot open the inventory file".
template <typename Read>
auto side_file(InventoryField field, Read read) {
  try {
    return read();
  } catch (const Refused& refused) {
    Refusal refusal = refused.refusal();
    const RefusalKind k = refusal.kind;
    if (k == RefusalKind::file_missing || k == RefusalKind::file_unreadable ||
        k == RefusalKind::file_is_folder || k == RefusalKind::file_not_regular ||
        k == RefusalKind::file_too_large)
      refusal.field = field;
    throw Refused(std::move(refusal));
  }
}

// The options' texts were checked by the command line.
TallyOptions tally_options_from(const BatchOptions& o) {
  TallyOptions t;
  if (!o.input_separator.empty())
    t.separator = field_separator_named(o.input_separator).value_or(FieldSeparator::detect);
  if (!o.input_decimal.empty())
    t.decimal = decimal_mark_named(o.input_decimal).value_or(DecimalMark::detect);
  if (!o.input_encoding.empty())
    t.encoding = text_encoding_named(o.input_encoding).value_or(TextEncoding::detect);
  t.plot_column = o.plot_column;
  for (const std::string& column : o.columns) {
    const auto equals = column.find('=');
    std::string header = column.substr(equals + 1);
    while (!header.empty() && (header.front() == ' ' || header.front() == '\t')) header.erase(0, 1);
    while (!header.empty() && (header.back() == ' ' || header.back() == '\t')) header.pop_back();
    t.columns.emplace_back(*column_role_named(column.substr(0, equals)), std::move(header));
  }
  t.drop_incomplete = o.drop_incomplete;
  if (!o.diameter_unit.empty())
    t.diameter_unit = diameter_unit_named(o.diameter_unit).value_or(MeasureUnit::none);
  if (!o.length_unit.empty())
    t.length_unit = length_unit_named(o.length_unit).value_or(MeasureUnit::none);
  if (!o.species_map_path.empty())
    t.species_map = side_file(InventoryField::species_code,
                              [&o] { return read_species_map(o.species_map_path); });
  return t;
}

// The option's text of the parameter a check refused, so that the message quotes what was typed.
std::string option_text(const BatchOptions& o, const Refusal& r) {
  switch (r.parameter) {
    case Parameter::transect_length:
      return o.transect_length;
    case Parameter::wind_force:
      return o.wind_force;
    case Parameter::carbon_fraction:
      return o.carbon_fraction;
    case Parameter::run_count:
      return o.runs;
    case Parameter::density: {
      std::string text;  // the last cell given for it wins, as it did in the table
      for (const std::string& cell : o.densities)
        if (cell[0] - '0' == r.stage && cell[2] == " SHC"[r.group]) text = cell.substr(4);
      return text;
    }
    default:
      return r.found;
  }
}

void check_with_texts(const SimulationParameters& p, const BatchOptions& o) {
  try {
    check_parameters(p);
  } catch (const Refused& refused) {
    Refusal refusal = refused.refusal();
    if (std::string typed = option_text(o, refusal); !typed.empty()) refusal.found = typed;
    throw Refused(std::move(refusal));
  }
}

}  // namespace

BatchSettings batch_settings_from(const BatchOptions& o, char locale_separator) {
  BatchSettings s;
  SimulationParameters& p = s.parameters;
  p.transect_length = parsed(Parameter::transect_length, o.transect_length, text_to_int16);
  p.wind_force = parsed(Parameter::wind_force, o.wind_force, text_to_int16);
  for (const std::string& cell : o.densities) apply_density(p.density, cell);
  p.carbon_fraction = parsed(Parameter::carbon_fraction, o.carbon_fraction, text_to_single);
  p.run_count = parsed(Parameter::run_count, o.runs, text_to_int16);
  check_with_texts(p, o);
  s.wind = wind_button_from_name(o.wind).value_or(WindButton::none);
  s.seed = o.seed.value_or(seed_from_time_of_day());
  s.decimal_separator = o.decimal_separator.value_or(locale_separator);
  s.tally = tally_options_from(o);
  if (!o.lines_path.empty())
    s.lines = std::make_shared<const LinesTable>(
        side_file(InventoryField::line, [&] { return read_lines(o.lines_path, s.tally); }));
  if (!o.coefficients_path.empty()) {
    s.coefficients = read_coefficients(o.coefficients_path);
    s.coefficients_path = o.coefficients_path;
  }
  return s;
}

std::uint64_t seed_for_plot(std::uint64_t batch_seed, std::string_view file, std::string_view plot,
                            bool only) {
  if (only) return batch_seed;
  // FNV-1a over the file name, a separator no name holds, and the plot id ...
  std::uint64_t identity = 0xCBF29CE484222325ull;
  const auto take = [&](unsigned char c) { identity = (identity ^ c) * 0x100000001B3ull; };
  for (const char c : file) take(static_cast<unsigned char>(c));
  take(0);
  for (const char c : plot) take(static_cast<unsigned char>(c));
  // ... mixed into the batch seed by splitmix64, so that near names give far seeds.
  std::uint64_t z = batch_seed + 0x9E3779B97F4A7C15ull * (identity | 1);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace quorvel
