#include "field/strata_table.h"

namespace quorvel {

std::size_t StrataTable::add_stratum(std::string_view name) {
  if (const auto found = index_of_stratum_.find(name); found != index_of_stratum_.end())
    return found->second;
  strata_.emplace_back(name);
  area_ha_.emplace_back();
  index_of_stratum_.emplace(std::string(name), strata_.size() - 1);
  return strata_.size() - 1;
}

bool StrataTable::add_plot(std::string_view plot, std::size_t stratum) {
  if (!stratum_of_plot_.emplace(std::string(plot), stratum).second) return false;
  plots_.emplace_back(plot);
  return true;
}

const std::string* StrataTable::stratum_of(std::string_view plot) const {
  const auto found = stratum_of_plot_.find(plot);
  return found == stratum_of_plot_.end() ? nullptr : &strata_[found->second];
}

std::vector<StratumArea> StrataTable::areas() const {
  std::vector<StratumArea> out;
  for (std::size_t i = 0; i < strata_.size(); ++i) {
    if (!area_ha_[i]) return {};
    out.push_back({strata_[i], *area_ha_[i]});
  }
  return out;
}

}  // namespace quorvel
