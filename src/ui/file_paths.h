#pragma once
// The three paths a click in the file list fixes: the inventory file and the two reports
// written beside it and named after it.

#include <QString>

namespace quorvel {

struct FilePaths {
  QString inventory_path;        // `InventoryPath`
  QString stock_report_path;     // `StockReportPath`
  QString estimate_report_path;  // `EstimateReportPath`

  bool empty() const { return inventory_path.isEmpty(); }
  friend bool operator==(const FilePaths&, const FilePaths&) = default;
};

// The directory as the file list reports it, a "/" and the file name; a root directory that
// already ends in "/" gets no second one. The report paths drop the last four characters of
// the inventory path, whatever they are, and add "m_results.txt" and "s_results.txt".
FilePaths file_paths_for(const QString& directory, const QString& file_name);

}  // namespace quorvel
