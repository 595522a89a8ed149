#pragma once
// The model-1 stock report: carbon per hectare by species group and stage, and the total,
// six lines in print-zone layout.

#include <string>

#include "engine/model1.h"

namespace quorvel {

std::string stock_report_text(const Model1Result& model1, char decimal_separator);

}  // namespace quorvel
