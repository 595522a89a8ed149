#include "reports/stock_report.h"

#include "reports/print_zone_writer.h"
#include "reports/report_group_names.h"

namespace quorvel {

std::string stock_report_text(const Model1Result& model1, char decimal_separator) {
  PrintZoneWriter out(decimal_separator);

  // The header's stage numbers are number items (blank, digit, blank), one per zone from
  // column 29; "Species" is indented to column 3.
  out.tab(3);
  out.text("Species");
  out.next_zone();
  out.text("Stage=");
  for (int stage = first_stage; stage <= last_stage; ++stage) {
    out.next_zone();
    out.number(stage);
  }
  out.end_line();

  // One row per group, its stages side by side from column 15 with no zone alignment.
  for (int group = first_group; group <= last_group; ++group) {
    out.text(group_names[group]);
    out.next_zone();
    for (int stage = first_stage; stage <= last_stage; ++stage) {
      out.number(model1.model1_carbon.at(stage, group));
    }
    out.end_line();
  }
  out.end_line();

  out.text("Total carbon=");
  out.number(model1.model1_total);
  out.text("tC/ha");
  out.end_line();
  return out.contents();
}

}  // namespace quorvel
