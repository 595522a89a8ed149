#pragma once
// Which stratum each plot belongs to, and the area of each stratum when the strata file gives
// areas, as read from a strata file.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

struct StratumArea {
  std::string name;
  double area_ha = 0;
};

class StrataTable {
 public:
  StrataTable() = default;
  // Moved, never copied: the plots are looked up by views of the plots kept.
  StrataTable(StrataTable&&) = default;
  StrataTable& operator=(StrataTable&&) = default;
  StrataTable(const StrataTable&) = delete;
  StrataTable& operator=(const StrataTable&) = delete;

  // Adds a stratum if new; its area is set when given. Returns the stratum's index.
  std::size_t add_stratum(std::string_view name);
  void set_area(std::size_t stratum, double area_ha) { area_ha_[stratum] = area_ha; }
  // False, changing nothing, when the plot is listed already.
  bool add_plot(std::string_view plot, std::size_t stratum);

  // The row of a plot among plots(); none for a plot not listed.
  std::optional<std::size_t> row_of(std::string_view plot) const;
  // The stratum of the plot of a row, as written in the file.
  const std::string& stratum_of_row(std::size_t row) const { return strata_[stratum_of_row_[row]]; }
  // The stratum of a plot, as written in the file; null for a plot not listed.
  const std::string* stratum_of(std::string_view plot) const;
  const std::vector<std::string>& strata() const { return strata_; }  // as first listed
  const std::optional<double>& area_ha(std::size_t stratum) const { return area_ha_[stratum]; }
  std::size_t plot_count() const { return plots_.size(); }
  const std::deque<std::string>& plots() const { return plots_; }  // as listed

  // Every stratum with its area, in the order of strata(); empty unless each has an area.
  std::vector<StratumArea> areas() const;

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::vector<std::string> strata_;
  std::vector<std::optional<double>> area_ha_;
  std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>> index_of_stratum_;
  // A strata file may list a hundred thousand plots: each name is kept once, where a deque
  // never moves it, and found by a view of it.
  std::deque<std::string> plots_;
  std::vector<std::size_t> stratum_of_row_;
  std::unordered_map<std::string_view, std::size_t> row_of_plot_;
};

}  // namespace quorvel
