// The batch front end at the edges of its numbers: every option and every inventory field
// given a text that is no finite number, the smallest and largest plot, the most runs (run,
// expected only and stopped by the attempt cap), zero densities, enormous diameters and pieces
// far longer than the plot. Each ends in figures that make sense or in a clear refusal with
// exit status 1 that leaves the earlier reports as they were.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "../support/batch_in_process.h"
#include "../support/folder_snapshot.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::BatchResult;
using testing::file_bytes;
using testing::folder_snapshot;
using testing::run_batch_in_process;

class BatchEdgeNumbers : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvel-edges-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path write(const std::string& name, const std::string& text) {
    std::ofstream(folder_ / name, std::ios::binary) << text;
    return folder_ / name;
  }

  static nlohmann::json only_json_line(const BatchResult& result) {
    std::istringstream lines(result.out);
    std::string line;
    std::getline(lines, line);
    return nlohmann::json::parse(line);
  }

  fs::path folder_;
};

// Every number of a JSON document is finite: the library writes Inf and NaN as null.
void expect_no_null(const nlohmann::json& j, const std::string& where = "") {
  if (j.is_null()) {
    ADD_FAILURE() << "null (a figure that is not finite) at " << where;
  } else if (j.is_number_float()) {
    EXPECT_TRUE(std::isfinite(j.get<double>())) << where;
  } else if (j.is_object()) {
    for (auto it = j.begin(); it != j.end(); ++it)
      expect_no_null(it.value(), where + "/" + it.key());
  } else if (j.is_array()) {
    for (std::size_t i = 0; i < j.size(); ++i)
      expect_no_null(j[i], where + "/" + std::to_string(i));
  }
}

void expect_plain_figures(const std::string& report) {
  EXPECT_EQ(report.find("Inf"), std::string::npos) << report;
  EXPECT_EQ(report.find("NaN"), std::string::npos) << report;
}

TEST_F(BatchEdgeNumbers, NoFiniteNumberInAnyOptionIsRefusedByName) {
  const fs::path plot = write("plot.txt", "\"S\",20,20,10,1\n");
  write("plotm_results.txt", "earlier");
  const auto before = folder_snapshot(folder_);
  const std::vector<std::pair<std::string, std::string>> options = {{"--transect-length", ""},
                                                                    {"--runs", ""},
                                                                    {"--wind-force", ""},
                                                                    {"--carbon-fraction", ""},
                                                                    {"--density", "3:H="}};
  for (const auto& [option, prefix] : options) {
    for (const char* text : {"1e400", "nan", "inf", "-inf", "1e-400x"}) {
      const BatchResult result = run_batch_in_process({option, prefix + text, plot.string()});
      EXPECT_EQ(result.status, 1) << option << " " << text << ": " << result.err;
      EXPECT_NE(result.err.find(option), std::string::npos) << result.err;
      EXPECT_TRUE(result.out.empty()) << result.out;
    }
  }
  EXPECT_EQ(folder_snapshot(folder_), before);
}

TEST_F(BatchEdgeNumbers, NoFiniteNumberInAnyInventoryFieldIsRefusedByName) {
  write("plotm_results.txt", "earlier");
  for (int field = 2; field <= 5; ++field) {
    for (const char* text : {"1e400", "nan", "inf", "-inf"}) {
      std::string fields[5] = {"\"C\"", "30", "10", "4", "5"};
      fields[field - 1] = text;
      const fs::path plot =
          write("plot.txt", "\"S\",20,20,10,1\n" + fields[0] + "," + fields[1] + "," + fields[2] +
                                "," + fields[3] + "," + fields[4] + "\n");
      const auto before = folder_snapshot(folder_);
      const BatchResult result = run_batch_in_process({"--seed", "1", plot.string()});
      EXPECT_EQ(result.status, 1) << result.err;
      EXPECT_NE(result.err.find("line 2, record 2, field " + std::to_string(field)),
                std::string::npos)
          << result.err;
      EXPECT_EQ(folder_snapshot(folder_), before);
    }
  }
}

TEST_F(BatchEdgeNumbers, SmallestAndLargestPlotGiveFiniteFigures) {
  const fs::path plot = write("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n\"H\",8,6,0.5,2\n");
  for (const char* length : {"1", "32767"}) {
    const BatchResult result = run_batch_in_process(
        {"--json", "--seed", "4", "--runs", "3", "--transect-length", length, plot.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json j = only_json_line(result);
    EXPECT_EQ(j["transect_length"], std::atoi(length));
    expect_no_null(j);
    expect_plain_figures(file_bytes(folder_ / "plotm_results.txt"));
    expect_plain_figures(file_bytes(folder_ / "plots_results.txt"));
  }
  EXPECT_EQ(run_batch_in_process({"--transect-length", "32768", plot.string()}).status, 1);
  EXPECT_EQ(run_batch_in_process({"--transect-length", "0", plot.string()}).status, 1);
  EXPECT_EQ(run_batch_in_process({"--transect-length", "-1", plot.string()}).status, 1);
}

TEST_F(BatchEdgeNumbers, MostRunsAreMadeAveragedAndReported) {
  // Pieces longer than the 2 m plot cross in most attempts, so 32767 runs are quick.
  const fs::path plot = write("plot.txt", "\"S\",20,20,5,1\n\"H\",10,10,3,2\n");
  const BatchResult result = run_batch_in_process(
      {"--json", "--seed", "6", "--runs", "32767", "--transect-length", "2", plot.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  const nlohmann::json j = only_json_line(result);
  EXPECT_EQ(j["runs"], 32767);
  EXPECT_GE(j["model2"]["placement_count"].get<std::int64_t>(), 2 * 32767);
  expect_no_null(j);
  // Averaged over that many runs, model 2 lies close to the value it approaches.
  const double expected = j["model2_expected"]["carbon_t_per_ha"].get<double>();
  const double standard_error = j["model2"]["carbon_t_per_ha_stderr"].get<double>();
  EXPECT_NEAR(j["model2"]["carbon_t_per_ha"].get<double>(), expected, 5 * standard_error);
  EXPECT_EQ(run_batch_in_process({"--runs", "32768", plot.string()}).status, 1);
}

TEST_F(BatchEdgeNumbers, MostRunsExpectedOnlyTakesNoTime) {
  const fs::path plot = write("plot.txt", "\"S\",20,20,0.01,1\n");  // a piece that rarely crosses
  const BatchResult result = run_batch_in_process({"--json", "--expected-only", "--runs", "32767",
                                                   "--transect-length", "32767", plot.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  const nlohmann::json j = only_json_line(result);
  EXPECT_FALSE(j.contains("model2"));
  expect_no_null(j);
  EXPECT_GT(j["model2_expected"]["carbon_t_per_ha"].get<double>(), 0);
}

TEST_F(BatchEdgeNumbers, MostRunsStoppedByTheAttemptCapWriteNothing) {
  const fs::path plot = write("plot.txt", "\"S\",20,20,10,1\n\"S\",20,20,0.001,1\n");
  write("plotm_results.txt", "earlier stock");
  const auto before = folder_snapshot(folder_);
  const BatchResult result = run_batch_in_process(
      {"--seed", "2", "--runs", "32767", "--max-attempts", "50", plot.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("50 attempts"), std::string::npos) << result.err;
  EXPECT_EQ(folder_snapshot(folder_), before);
}

TEST_F(BatchEdgeNumbers, ZeroDensitiesGiveZeroCarbonInEveryFigure) {
  const fs::path plot = write("plot.txt", "\"S\",20,20,10,1\n\"H\",10,10,3,2\n\"C\",30,10,4,5\n");
  std::vector<std::string> args = {"--json", "--seed", "3", "--runs", "2"};
  for (int stage = 1; stage <= 5; ++stage)
    for (const char* code : {"S", "H", "C"}) {
      args.push_back("--density");
      args.push_back(std::to_string(stage) + ":" + code + "=0");
    }
  args.push_back(plot.string());
  const BatchResult result = run_batch_in_process(args);
  ASSERT_EQ(result.status, 0) << result.err;
  const nlohmann::json j = only_json_line(result);
  EXPECT_EQ(j["model1"]["carbon_t_per_ha"].get<double>(), 0.0);
  EXPECT_EQ(j["model2"]["carbon_t_per_ha"].get<double>(), 0.0);
  EXPECT_GT(j["model2"]["volume_m3_per_ha"][0].get<double>(), 0.0);
  const std::string stock = file_bytes(folder_ / "plotm_results.txt");
  EXPECT_NE(stock.find("Softwood       0  0  0  0  0 \r\n"), std::string::npos) << stock;
  EXPECT_NE(stock.find("Total carbon= 0 tC/ha"), std::string::npos) << stock;
  const std::string estimate = file_bytes(folder_ / "plots_results.txt");
  EXPECT_NE(estimate.find("Total carbon:  0 \r\n"), std::string::npos) << estimate;
}

TEST_F(BatchEdgeNumbers, EnormousDiametersGiveExponentFiguresOrARefusal) {
  const fs::path plot = write("plot.txt", "\"S\",1e30,1e30,10,1\n");
  const BatchResult result =
      run_batch_in_process({"--json", "--seed", "3", "--runs", "2", plot.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  expect_no_null(only_json_line(result));
  const std::string stock = file_bytes(folder_ / "plotm_results.txt");
  expect_plain_figures(stock);
  EXPECT_NE(stock.find("E+57"), std::string::npos) << stock;

  // A hundred orders of magnitude more and the carbon no longer fits in a number.
  const std::string earlier_stock = stock;
  const std::string earlier_estimate = file_bytes(folder_ / "plots_results.txt");
  write("plot.txt", "\"S\",1e200,1e200,10,1\n");
  const auto before = folder_snapshot(folder_);
  const BatchResult refused = run_batch_in_process({"--seed", "3", plot.string()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("too large"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find(plot.string()), std::string::npos) << refused.err;
  EXPECT_EQ(folder_snapshot(folder_), before);
  EXPECT_EQ(run_batch_in_process({"--expected-only", plot.string()}).status, 1);
}

TEST_F(BatchEdgeNumbers, PiecesFarLongerThanThePlotGiveFiniteFigures) {
  const fs::path plot = write("plot.txt", "\"C\",20,20,1e6,1\n\"S\",10,5,5e4,2\n");
  const BatchResult result =
      run_batch_in_process({"--json", "--seed", "9", "--runs", "50", plot.string()});
  ASSERT_EQ(result.status, 0) << result.err;
  expect_no_null(only_json_line(result));
  expect_plain_figures(file_bytes(folder_ / "plots_results.txt"));
  for (const char* length : {"1e300", "1.7e308"}) {
    write("plot.txt", std::string("\"S\",20,20,") + length + ",1\n");
    const BatchResult extreme =
        run_batch_in_process({"--json", "--seed", "9", "--runs", "2", plot.string()});
    if (extreme.status == 0) {
      expect_no_null(only_json_line(extreme));
    } else {
      EXPECT_EQ(extreme.status, 1);
      EXPECT_NE(extreme.err.find("too large"), std::string::npos) << extreme.err;
    }
  }
}

}  // namespace
}  // namespace quorvel
