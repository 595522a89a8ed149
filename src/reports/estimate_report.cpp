#include "reports/estimate_report.h"

#include <string_view>

#include "reports/print_zone_writer.h"
#include "reports/report_group_names.h"

namespace quorvel {

namespace {

void write_table(PrintZoneWriter& out, std::string_view title,
                 const StageGroupTable<double>& table) {
  out.text(title);
  out.end_line();
  for (int group = first_group; group <= last_group; ++group) {
    out.text(group_names[group]);
    out.next_zone();
    for (int stage = first_stage; stage <= last_stage; ++stage) out.number(table.at(stage, group));
    out.end_line();
  }
  out.end_line();
}

}  // namespace

std::string estimate_report_text(const Model2Estimates& model2, char decimal_separator) {
  PrintZoneWriter out(decimal_separator);

  // The stage numbers are bare texts here, each at the start of its zone from column 29, so
  // the heading is exactly 85 characters long.
  out.text("Decomposition stage   ");
  for (int stage = first_stage; stage <= last_stage; ++stage) {
    out.next_zone();
    out.text(std::string(1, static_cast<char>('0' + stage)));
  }
  out.end_line();

  write_table(out, "Carbon (t/ha):", model2.carbon_table);
  write_table(out, "Volume (m3/ha):", model2.volume_table);
  write_table(out, "Surface (m2/ha):", model2.surface_table);

  out.text("Total carbon: ");
  out.number(model2.carbon_per_ha);
  out.end_line();
  return out.contents();
}

}  // namespace quorvel
