#include "ui/tally_file.h"

#include <QFile>

#include "field/tally_reader.h"

namespace quorvel {

std::vector<TallyFilePlot> read_tally_file(const QString& path) {
  TallyFile tally = read_tally(std::filesystem::path(QFile::encodeName(path).toStdString()));
  std::vector<TallyFilePlot> plots;
  plots.reserve(tally.plots.size());
  for (PlotTally& plot : tally.plots)
    plots.push_back(
        {QString::fromStdString(plot.plot), std::move(plot.inventory), std::move(plot.refused)});
  return plots;
}

}  // namespace quorvel
