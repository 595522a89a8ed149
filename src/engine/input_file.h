#pragma once
// The bytes of an input file (an inventory, a tally, a strata file, a species map), read whole;
// the one way the readers open files. What cannot be read is refused naming the file: missing,
// a folder, a pipe, device or socket (which could block a read forever, or never end), a file
// above its size limit (refused before its bytes take the memory), or unreadable.

#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/refusal.h"

namespace quorvel {

// Tallies and inventories: some 100 million records, far beyond any survey; a larger file is
// refused before it is read rather than when memory runs out.
inline constexpr std::int64_t tally_file_limit = std::int64_t{2} << 30;  // 2 GiB
// The small files beside them (a strata file, a species map): a line or two per plot or
// species, so anything this large is the wrong file.
inline constexpr std::int64_t side_file_limit = std::int64_t{64} << 20;  // 64 MiB

// Throws Refused (file_missing, file_is_folder, file_not_regular, file_too_large with the
// limit, or file_unreadable with the system's error) with the path as given.
std::string read_input_file(const std::filesystem::path& path,
                            std::int64_t limit = tally_file_limit);

// A side file (strata, lines, coefficients) within side_file_limit; a refusal of the file as a
// whole carries `named_as`, the field that tells the words which kind of file it is.
std::string read_side_file(const std::filesystem::path& path, InventoryField named_as);

}  // namespace quorvel
