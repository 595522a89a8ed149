#pragma once
// The names of each plot's own files (its two reports, its chart, its trace), given in the
// order of the plots so that they never depend on which worker finishes first. No two plots of
// a run write the same file, nor one that an option names; a name that leads to an input is
// refused (the names say which input), never written.
// The reports of an inventory NAME.txt are always NAMEm_results.txt and NAMEs_results.txt;
// otherwise the first plot to want a name takes it, and a later one that wants the same name
// (plot7.csv beside plot7.txt, plot "a:b" after "a/b", chart "P1" of a second file, a plot
// named "stand") takes it with "-2" after the stem, "-3" for the third and so on, a number
// already held passed over: plot7-2m_results.txt, chart-P1-2.svg.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "batch/batch_options.h"
#include "batch/plot_work.h"
#include "reports/file_identity.h"

namespace quorvel {

// True for an inventory NAME.txt (in any case), whose reports keep their names.
bool txt_inventory(const std::string& file);

class PlotOutputNames {
 public:
  // Knows the inputs and holds the option outputs of `options` from the start; `options` lists
  // the inventories that are read, and `inventories` are their identities in that order.
  PlotOutputNames(const BatchOptions& options, const std::vector<FileIdentity>& inventories);

  // The names for the plot `plot` ("" for a file without a plot column) of `file`, the plot
  // `number` (from 1) of the run, held from now on.
  PlotFileNames name(const std::string& file, const std::string& plot, std::size_t number);

 private:
  // Free for the plots of `file`: held by none, or kept for that file.
  bool free(const std::string& path, const std::string& file);
  // Held from now on; with a `file`, kept for the plot of that file alone.
  void hold(const std::string& path, const std::string& file = {});
  // `stem` followed by each of `endings`, or by "-N" and each of them, where all are free.
  std::string distinct_stem(const std::string& stem, std::initializer_list<const char*> endings,
                            const std::string& file);
  // The refusal of `path` as an output of the kind given where it leads to an input.
  std::optional<Refusal> into_input(const std::string& path, Output output);

  const BatchOptions& options_;
  const bool reports_, charts_, several_;
  FileIdentities identities_;
  // Identity paths and inodes, each with the file it is kept for ("": held).
  std::unordered_map<std::string, std::string> held_;
  std::unordered_map<std::string, std::string> inputs_;  // identity paths and inodes -> as given
};

}  // namespace quorvel
