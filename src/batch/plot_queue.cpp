#include "batch/plot_queue.h"

#include <string_view>
#include <utility>

namespace quorvel {

std::optional<PlotWork> PlotQueue::next() {
  for (;;) {
    if (!tally_) {
      if (file_ == files_.size()) return std::nullopt;
      PlotWork work;
      work.file = files_[file_];
      try {
        tally_ = read_tally(work.file, options_);
        plot_ = 0;
      } catch (const Refused& refused) {
        ++file_;
        work.position = position_++;
        work.refused = refused.refusal();
        return work;
      }
    }
    if (plot_ < tally_->plots.size()) {
      PlotWork work;
      work.position = position_++;
      work.file = files_[file_];
      work.tally = std::move(tally_->plots[plot_++]);
      work.refused = std::move(work.tally.refused);  // a bad row refuses its plot alone
      work.tally.refused.reset();
      return work;
    }
    tally_.reset();
    ++file_;
  }
}

}  // namespace quorvel
