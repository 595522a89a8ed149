#pragma once
// Reads a tally file in the inventory format or as spreadsheets save it: a header row naming
// the columns in any order, fields separated by commas, semicolons or tabs, decimal commas,
// UTF-8, UTF-16 or Windows-1251, codes in either letter case, stages I..V, species words, empty
// rows, and a plot column that splits one file into plots. A file that the inventory reader
// accepts is read by it alone, so such files read exactly as they always have.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/inventory.h"
#include "engine/refusal.h"
#include "field/plausibility.h"
#include "field/tally_options.h"

namespace quorvel {

// A line (transect) of a plot as its tally names it, with the row that first names it.
struct TallyLine {
  std::string name;  // the line column's value, blanks around it aside
  std::int64_t line = 0;
  std::int64_t record = 0;
};

// The tally of one plot of a file; a file without a plot column holds one.
struct PlotTally {
  std::string plot;     // the plot column's value; empty without a plot column
  std::string stratum;  // the stratum column's value; empty without one
  Inventory inventory;  // source: the file as given; pieces in file order with their lines
  // A bad row refuses its plot alone where the file has a plot column: the first such.
  std::optional<Refusal> refused;
  std::int64_t dropped_rows = 0;  // rows left out for a missing value (drop_incomplete)
  std::vector<Warning> warnings;  // about the file as a whole, given with its first plot
  // A line column's header, and the lines it names, in the order first met; both empty
  // without a line column (or with one of a refused plot's rows alone).
  std::string line_column;
  std::vector<TallyLine> lines;
};

// The form a file was read in.
struct TallyForm {
  bool inventory_format = true;  // read by the inventory reader; the rest then says UTF-8, ','
  TextEncoding encoding = TextEncoding::utf8;
  FieldSeparator separator = FieldSeparator::comma;
  bool header = false;
};

// What one file holds (named apart from the Tally of the runs, which counts crossings).
struct TallyFile {
  std::vector<PlotTally> plots;  // in the order their first rows appear; never empty
  TallyForm form;
};

// Every refusal is a Refused naming the file as given, and for a record the line, the record
// and the field (and the column by its header name where the file has a header). Text found in
// the file is given as UTF-8. When neither form reads a file, the refusal is the spreadsheet
// form's where the file has a header or a separator other than the comma (or where options ask
// for that form), else the inventory format's, with a hint when the line looks like another
// form (fields separated by semicolons, tabs or blanks; a decimal comma).
TallyFile read_tally(const std::filesystem::path& path, const TallyOptions& options = {});
TallyFile parse_tally(std::string_view bytes, std::string_view source,
                      const TallyOptions& options = {});

}  // namespace quorvel
