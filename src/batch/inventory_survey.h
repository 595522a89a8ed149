#pragma once
// A first look at every inventory named, before any is read or anything written: whether
// Quorvel wrote it itself (a report, or one of the batch's tables, which a second run over a
// folder finds beside the tallies) and which file it is, for the check that no output takes an
// input's place. A national inventory names a hundred thousand files: each is opened once, by
// as many threads as the batch has workers.

#include <string>
#include <vector>

#include "reports/file_identity.h"

namespace quorvel {

struct InventorySurvey {
  std::vector<std::string> kept;         // the inventories to read, in the order given
  std::vector<FileIdentity> identities;  // of each kept one
  std::vector<std::string> skipped;      // Quorvel's own, in the order given
};

InventorySurvey survey_inventories(const std::vector<std::string>& files, int jobs);

}  // namespace quorvel
