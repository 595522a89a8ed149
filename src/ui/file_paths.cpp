#include "ui/file_paths.h"

#include "reports/report_paths.h"

namespace quorvel {

FilePaths file_paths_for(const QString& directory, const QString& file_name) {
  FilePaths paths;
  paths.inventory_path = directory;
  if (!paths.inventory_path.endsWith(QLatin1Char('/'))) {
    paths.inventory_path += QLatin1Char('/');
  }
  paths.inventory_path += file_name;
  // The reports keep the rule of the batch front end: the stem is cut in characters, not bytes.
  const ReportPaths reports = report_paths_for(paths.inventory_path.toStdString());
  paths.stock_report_path = QString::fromStdString(reports.stock);
  paths.estimate_report_path = QString::fromStdString(reports.estimate);
  return paths;
}

}  // namespace quorvel
