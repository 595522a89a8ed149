#pragma once
// Quorvel's own outputs among data files: a folder of inventories holds their reports too
// (NAMEm_results.txt and NAMEs_results.txt beside NAME.txt) and often the batch's CSV tables,
// and a second run over the folder must not take them for inventories.

#include <cstddef>
#include <filesystem>
#include <string_view>

namespace quorvel {

// True for a file named <stem>m_results.txt or <stem>s_results.txt whose inventory lies beside
// it: <stem>.txt, <stem>.csv or <stem>.tsv, or for the report of one plot of a file,
// <name>.txt (.csv, .tsv) where the stem is <name>-<plot>. Looks at the folder only; a report
// whose inventory is gone is an ordinary file.
bool is_own_report(const std::filesystem::path& path);

// As many bytes of a file's beginning as tell whether it is one of the batch's tables.
inline constexpr std::size_t own_table_look_bytes = 64;

// True for the beginning of a CSV file (its first own_table_look_bytes bytes, or all of a
// shorter file) that is the header of one of the batch's tables: the summary, the stand
// summary, the pieces, the runs or the trace, whatever the file's name.
bool begins_like_own_table(std::string_view start);

}  // namespace quorvel
