#include "engine/refusal.h"

#include <utility>

namespace quorvel {

Refused::Refused(Refusal refusal) : refusal_(std::move(refusal)) {
  summary_ = "refused (kind " + std::to_string(static_cast<int>(refusal_.kind)) + ")";
  if (!refusal_.file.empty()) summary_ += ": " + refusal_.file;
  if (refusal_.line > 0) summary_ += ", line " + std::to_string(refusal_.line);
  if (refusal_.record > 0) summary_ += ", record " + std::to_string(refusal_.record);
  if (refusal_.field != InventoryField::none)
    summary_ += ", field " + std::to_string(static_cast<int>(refusal_.field));
}

}  // namespace quorvel
