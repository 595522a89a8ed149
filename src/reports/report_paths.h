#pragma once
// Where the two reports of an inventory go: beside it, named after the inventory path without
// its last four characters (normally ".txt"), followed by "m_results.txt" or "s_results.txt".

#include <string>

namespace quorvel {

struct ReportPaths {
  std::string stock;     // <stem>m_results.txt
  std::string estimate;  // <stem>s_results.txt
};

// Characters are counted as UTF-8 code points, so a name in Cyrillic is cut between letters.
// The four characters are dropped whatever they are: reports of inventories named otherwise
// than "*.txt" have always been found under these names. A path of fewer than four characters
// has no stem to cut and names no inventory: it throws Refused (reports_unnamed) rather than
// sending the reports to the working directory.
ReportPaths report_paths_for(const std::string& inventory_path);

// The reports of one plot of a file with a plot column: <stem>-<plot>m_results.txt and
// <stem>-<plot>s_results.txt, the stem cut as above. The plot id goes into a file name, so a
// character that has no place there (a slash, a backslash, a control character, one of
// : * ? " < > |) becomes "_"; an empty id names the file's own reports.
ReportPaths report_paths_for_plot(const std::string& inventory_path, const std::string& plot_id);

// A plot id as it stands in a file name, a report's or a chart's: the characters above written
// as "_", so that the name is valid on every file system.
std::string file_name_safe(const std::string& plot_id);

}  // namespace quorvel
