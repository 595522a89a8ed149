#pragma once
// The plots of the inventory files in command-line order, one file read at a time as its first
// plot is asked for, each with its position among all plots (which derives its seed). A file
// refused as a whole takes one position, as a plot would.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/refusal.h"
#include "field/tally_reader.h"

namespace quorvel {

struct PlotWork {
  std::size_t position = 0;  // among the plots of all files, from 0
  std::string file;          // as given
  PlotTally tally;           // empty when refused
  std::optional<Refusal> refused;
};

class PlotQueue {
 public:
  PlotQueue(const std::vector<std::string>& files, const TallyOptions& options)
      : files_(files), options_(options) {}

  // The next plot, or nothing after the last. Not thread-safe: callers take turns.
  std::optional<PlotWork> next();

  // Positions handed out so far; all of them once next() has returned nothing.
  std::size_t handed_out() const { return position_; }

 private:
  const std::vector<std::string>& files_;
  const TallyOptions& options_;
  std::size_t file_ = 0;      // the file read or to read next
  std::size_t position_ = 0;  // of the next plot
  std::size_t plot_ = 0;      // the next plot within the file read
  std::optional<TallyFile> tally_;
};

}  // namespace quorvel
