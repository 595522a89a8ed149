#pragma once
// The check made before a batch writes anything: no output option names an input, another
// output or a file Quorvel did not write, and no inventory is given twice.

#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "reports/file_identity.h"

namespace quorvel {

// A file of the run with the part it plays: "the inventory", "the strata file", "--summary"...
struct RunFile {
  std::string role;
  std::string path;
};

// Every file the run reads: the inventories, then the strata file, the species map, the
// coefficients table and the inventory list where given.
std::vector<RunFile> run_inputs(const BatchOptions& options);

// Every file an output option names, the stand chart of --chart among them.
std::vector<RunFile> output_option_files(const BatchOptions& options);

// Empty when the run may go on; else the message that refuses it, naming both files of a clash
// ("--summary plots/a.txt is the inventory plots/a.txt"). Files are compared by identity: the
// same device and inode where a file stands, else the same absolute path. `inventories` are the
// identities of the options' inventories, in their order, as a first look found them.
std::string output_clash(const BatchOptions& options, const std::vector<FileIdentity>& inventories);

}  // namespace quorvel
