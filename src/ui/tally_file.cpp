#include "ui/tally_file.h"

#include <QFile>

#include "field/tally_reader.h"

namespace quorvel {

std::vector<TallyFilePlot> read_tally_file(const QString& path) {
  TallyFile tally = read_tally(std::filesystem::path(QFile::encodeName(path).toStdString()));
  std::vector<TallyFilePlot> plots;
  plots.reserve(tally.plots.size());
  for (PlotTally& plot : tally.plots) {
    // The lengths of a tally's lines come from a lines file, which the window does not read.
    if (!plot.line_column.empty() && !plot.refused)
      plot.refused = Refusal{.kind = RefusalKind::lines_file_needed,
                             .file = plot.inventory.source,
                             .plot = plot.plot,
                             .column = plot.line_column,
                             .limit = std::ssize(plot.lines)};
    plots.push_back(
        {QString::fromStdString(plot.plot), std::move(plot.inventory), std::move(plot.refused)});
  }
  return plots;
}

}  // namespace quorvel
