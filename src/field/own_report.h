#pragma once
// Quorvel's own outputs among data files: a folder of inventories holds their reports too
// (NAMEm_results.txt and NAMEs_results.txt beside NAME.txt) and often the batch's CSV tables,
// and a second run over the folder must not take them for inventories.

#include <filesystem>

namespace quorvel {

// True for a file named <stem>m_results.txt or <stem>s_results.txt whose inventory lies beside
// it: <stem>.txt, <stem>.csv or <stem>.tsv, or for the report of one plot of a file,
// <name>.txt (.csv, .tsv) where the stem is <name>-<plot>. Looks at the folder only; a report
// whose inventory is gone is an ordinary file.
bool is_own_report(const std::filesystem::path& path);

// True for a CSV file that begins with the header of one of the batch's tables (the summary,
// the stand summary, the pieces, the runs or the trace), whatever its name.
bool is_own_table(const std::filesystem::path& path);

}  // namespace quorvel
