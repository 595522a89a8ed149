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
  if (row_of_plot_.contains(plot)) return false;
  const std::string& kept = plots_.emplace_back(plot);
  stratum_of_row_.push_back(stratum);
  row_of_plot_.emplace(kept, plots_.size() - 1);
  return true;
}

std::optional<std::size_t> StrataTable::row_of(std::string_view plot) const {
  const auto found = row_of_plot_.find(plot);
  if (found == row_of_plot_.end()) return std::nullopt;
  return found->second;
}

const std::string* StrataTable::stratum_of(std::string_view plot) const {
  const std::optional<std::size_t> row = row_of(plot);
  return row ? &stratum_of_row(*row) : nullptr;
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
