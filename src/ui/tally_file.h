#pragma once
// The plots of a data file as the window reads them: every form the batch reads, with its
// default options (the form detected from the file), with the plot ids as the window shows them.
// A tally with a line column is refused plot by plot: its lines' lengths need the batch's --lines.

#include <QString>
#include <optional>
#include <vector>

#include "engine/inventory.h"
#include "engine/refusal.h"

namespace quorvel {

struct TallyFilePlot {
  QString plot;  // the plot column's value; empty for a file without one
  Inventory inventory;
  std::optional<Refusal> refused;  // a bad row of this plot; the file's other plots stand
};

// The plots in the order they first appear, never none; throws Refused.
std::vector<TallyFilePlot> read_tally_file(const QString& path);

}  // namespace quorvel
