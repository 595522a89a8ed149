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
  std::vector<FileIdentity> identities;  // of each inventory kept, in order
  std::vector<std::string> skipped;      // Quorvel's own, in the order given
};

// Looks at each of `files` and leaves in it, in their order, the inventories to read: the
// list is filtered where it stands, as it may be long.
InventorySurvey survey_inventories(std::vector<std::string>& files, int jobs);

}  // namespace quorvel
