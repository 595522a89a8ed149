#pragma once
// A test's own folder to run the batch in: inventories written into it, the batch run inside
// the test as its main() would, and the JSON lines it printed read back.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "batch_in_process.h"
#include "folder_snapshot.h"
#include "reports/stock_report.h"
#include "temporary_folder.h"

namespace quorvel::testing {

// The lines of a text, without their ends.
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Every JSON line of `out`, or with `kind` only the plot lines ("") or the stratum or stand ones.
inline std::vector<nlohmann::json> parse_json_lines(const std::string& out,
                                                    const std::optional<std::string>& kind = {}) {
  std::vector<nlohmann::json> lines;
  for (const std::string& line : lines_of(out)) {
    nlohmann::json j = nlohmann::json::parse(line);
    if (!kind || j.value("kind", "") == *kind) lines.push_back(std::move(j));
  }
  return lines;
}

// An earlier report that the batch may replace: Quorvel's heading, then a line to tell it by.
inline std::string earlier_report(const std::string& mark) {
  const std::string text = stock_report_text(Model1Result{}, ',');
  return text.substr(0, text.find('\n') + 1) + mark + "\r\n";
}

class BatchFolder : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) const {
    return folder_.write(name, text);
  }
  std::string in(const std::string& name) const { return folder_.in(name); }
  std::string contents(const std::string& name) const { return file_bytes(folder_.in(name)); }
  // Runs the batch with the arguments after the program name; gives its exit status.
  int batch(std::vector<std::string> args) {
    result_ = run_batch_in_process(std::move(args));
    return result_.status;
  }
  std::vector<nlohmann::json> json_lines(const std::optional<std::string>& kind = {}) const {
    return parse_json_lines(result_.out, kind);
  }

  TemporaryFolder folder_;
  BatchResult result_;
};

}  // namespace quorvel::testing
