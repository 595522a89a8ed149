#pragma once
// The model-2 estimate report: carbon, volume and surface per hectare by group and stage and
// the total carbon, seventeen lines.

#include <string>

#include "engine/estimators.h"

namespace quorvel {

std::string estimate_report_text(const Model2Estimates& model2, char decimal_separator);

}  // namespace quorvel
