#pragma once
// The bytes of an input file (a tally, a species map), read whole; a file that is missing, a
// folder or unreadable is refused naming it.

#include <filesystem>
#include <string>

namespace quorvel {

// Throws Refused (file_missing, file_is_folder or file_unreadable) with the path as given.
std::string read_input_file(const std::filesystem::path& path);

}  // namespace quorvel
