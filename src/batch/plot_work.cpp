#include "batch/plot_work.h"

#include <utility>

namespace quorvel {

std::vector<PlotWork> read_plot_works(const std::string& file, const TallyOptions& options) {
  std::vector<PlotWork> works;
  try {
    TallyFile tally = read_tally(file, options);
    works.resize(tally.plots.size());
    for (std::size_t i = 0; i < works.size(); ++i) {
      works[i].file = file;
      works[i].tally = std::move(tally.plots[i]);
      works[i].refused = std::move(works[i].tally.refused);  // a bad row refuses its plot alone
      works[i].tally.refused.reset();
    }
  } catch (const Refused& refused) {
    works.resize(1);
    works[0].file = file;
    works[0].refused = refused.refusal();
  }
  return works;
}

}  // namespace quorvel
