#pragma once
// The check made before a batch writes anything: no output option names an input, another
// output or a file Quorvel did not write, and no inventory is given twice.

#include <string>

#include "batch/batch_options.h"

namespace quorvel {

// Empty when the run may go on; else the message that refuses it, naming both files of a clash
// ("--summary plots/a.txt is the inventory plots/a.txt"). Files are compared by identity: the
// same device and inode where a file stands, else the same absolute path.
std::string output_clash(const BatchOptions& options);

}  // namespace quorvel
