#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "batch_options.h"
#include "batch_run.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           (std::string("quorvel_batch_") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return dir_ / name;
  }

  // Runs the batch front end as main() would, with the arguments after the program name.
  int batch(std::vector<std::string> args) {
    args.insert(args.begin(), "quorvel-batch");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    out_.str("");
    err_.str("");
    const ParsedCommandLine parsed =
        parse_batch_options(static_cast<int>(argv.size()), argv.data(), out_, err_);
    if (!parsed.options) return parsed.exit_status;
    BatchEnvironment environment;
    environment.locale_separator = ',';
    return run_batch(*parsed.options, environment, out_, err_);
  }

  std::vector<nlohmann::json> json_lines() const {
    std::vector<nlohmann::json> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
  }

  fs::path dir_;
  std::ostringstream out_, err_;
};

TEST_F(BatchTest, JsonCarriesModelOneExactlyAndWritesBothReports) {
  const fs::path plot = write("plot.txt", "\"S\",20,20,10,1\n");
  ASSERT_EQ(batch({"--json", "--seed", "3", "--runs", "4", plot.string()}), 0) << err_.str();
  const auto lines = json_lines();
  ASSERT_EQ(lines.size(), 1u);
  const nlohmann::json& j = lines[0];
  EXPECT_EQ(j["record_count"], 1);
  EXPECT_EQ(j["seed"], 3);
  EXPECT_EQ(j["transect_length"], 100);
  EXPECT_EQ(j["runs"], 4);
  EXPECT_EQ(j["model1"]["carbon_t_per_ha"].get<double>(),
            0.8804156167419418);  // read back bit for bit
  EXPECT_EQ(j["model1"]["pieces_per_ha"], 15);
  EXPECT_EQ(j["model1"]["carbon_by_stage_group"].size(), 5u);
  EXPECT_EQ(j["model1"]["carbon_by_stage_group"][0].size(), 3u);
  EXPECT_EQ(j["model1"]["carbon_by_stage_group"][0][0].get<double>(), 0.8804156167419418);
  EXPECT_GE(j["model2"]["placement_count"].get<std::int64_t>(), 4);
  EXPECT_EQ(j["model2"]["surface_m2_per_ha"].size(), 3u);
  EXPECT_TRUE(j["model2"]["carbon_t_per_ha_stderr"].is_number());
  EXPECT_EQ(j["model2_expected"]["crossing_probability"].size(), 1u);
  const std::string stock = contents(dir_ / "plotm_results.txt");
  EXPECT_NE(stock.find("Softwood       0,880415616741942  0  0  0  0 \r\n"), std::string::npos)
      << stock;
  EXPECT_EQ(std::count(stock.begin(), stock.end(), '\n'), 6);
  const std::string estimate = contents(dir_ / "plots_results.txt");
  EXPECT_EQ(std::count(estimate.begin(), estimate.end(), '\n'), 17);
}

TEST_F(BatchTest, SameSeedSameNumbersWhateverTheNumberOfJobs) {
  std::vector<std::string> files;
  for (const char* stage : {"1", "2", "3", "4"}) {
    const std::string name = std::string("p") + stage + ".txt";
    files.push_back(write(name, std::string("S,20,20,3,1\nC,10,8,1.5,") + stage + "\n").string());
  }
  std::vector<std::string> args = {"--json", "--no-reports", "--seed", "11", "--runs", "5"};
  args.insert(args.end(), files.begin(), files.end());
  ASSERT_EQ(batch(args), 0);
  const auto one = json_lines();
  args.insert(args.begin(), {"--jobs", "2"});
  ASSERT_EQ(batch(args), 0);
  const auto two = json_lines();
  ASSERT_EQ(one.size(), 4u);
  EXPECT_EQ(one, two);
  EXPECT_NE(one[0]["seed"], one[1]["seed"]);
  EXPECT_EQ(one[2]["inventory"], files[2]);  // printed in file order
}

TEST_F(BatchTest, RefusedInventoryLeavesEarlierReportsUntouchedAndExitsOne) {
  const fs::path plot = write("plot.txt", "S,20,20,10,1\n");
  write("plotm_results.txt", "earlier stock report");
  write("plots_results.txt", "earlier estimate report");
  write("plot.txt", "S,20,20,10,1\nS,20,20,-10,1\n");
  EXPECT_EQ(batch({plot.string()}), 1);
  EXPECT_NE(err_.str().find("line 2, record 2, field 4 (length)"), std::string::npos) << err_.str();
  EXPECT_EQ(contents(dir_ / "plotm_results.txt"), "earlier stock report");
  EXPECT_EQ(contents(dir_ / "plots_results.txt"), "earlier estimate report");
}

TEST_F(BatchTest, APieceOverTheAttemptCapWritesNoReport) {
  const fs::path plot = write("plot.txt", "S,20,20,0.000001,1\n");
  write("plotm_results.txt", "earlier");
  EXPECT_EQ(batch({"--max-attempts", "100", plot.string()}), 1);
  EXPECT_NE(err_.str().find("100 attempts"), std::string::npos) << err_.str();
  EXPECT_EQ(contents(dir_ / "plotm_results.txt"), "earlier");
  EXPECT_FALSE(fs::exists(dir_ / "plots_results.txt"));
  for (const auto& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(BatchTest, UsageErrorsExitTwoAndBadParameterTextsExitOne) {
  const fs::path plot = write("plot.txt", "S,20,20,10,1\n");
  EXPECT_EQ(batch({}), 2);
  EXPECT_EQ(batch({"--no-such-option", plot.string()}), 2);
  EXPECT_EQ(batch({"--wind", "north", plot.string()}), 2);
  EXPECT_EQ(batch({"--density", "6:S=0,3", plot.string()}), 2);
  EXPECT_EQ(batch({"--transect-length", "40000", plot.string()}), 1);
  EXPECT_NE(err_.str().find("--transect-length \"40000\""), std::string::npos) << err_.str();
  EXPECT_EQ(batch({"--runs", "0", plot.string()}), 1);
  EXPECT_EQ(batch({"--carbon-fraction", "abc", plot.string()}), 1);
  EXPECT_EQ(batch({"--density", "1:S=x", plot.string()}), 1);
  EXPECT_FALSE(fs::exists(dir_ / "plotm_results.txt"));
  EXPECT_EQ(batch({"--help"}), 0);
  EXPECT_NE(out_.str().find("--transect-length"), std::string::npos);
}

TEST_F(BatchTest, ParametersAreReadAsTheWindowReadsItsFields) {
  const fs::path plot = write("plot.txt", "C,30,10,4,5\n");
  ASSERT_EQ(batch({"--json", "--no-reports", "--transect-length", "50", "--runs", "2,5",
                   "--density", "5:C=0,100", "--seed", "1", plot.string()}),
            0)
      << err_.str();
  const auto j = json_lines().at(0);
  EXPECT_EQ(j["runs"], 2);  // 2,5 rounds to the even neighbour
  EXPECT_EQ(j["model1"]["carbon_t_per_ha"].get<double>(), 0.5343325584602389);
  EXPECT_EQ(j["model1"]["pieces_per_ha"], 78);
  EXPECT_FALSE(fs::exists(dir_ / "plotm_results.txt"));
}

TEST_F(BatchTest, TraceHasOneLinePerAttempt) {
  const fs::path plot = write("plot.txt", "S,20,20,5,1\nH,10,10,2,2\n");
  const fs::path trace = dir_ / "trace.csv";
  ASSERT_EQ(batch({"--json", "--no-reports", "--runs", "3", "--seed", "8", "--trace",
                   trace.string(), plot.string()}),
            0)
      << err_.str();
  const auto j = json_lines().at(0);
  std::ifstream in(trace);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "run,record,attempt,x1,y1,x2,y2,angle,crossed");
  std::int64_t lines = 0, crossings = 0;
  while (std::getline(in, line)) {
    ++lines;
    crossings += line.back() == '1';
  }
  EXPECT_EQ(lines, j["model2"]["placement_count"].get<std::int64_t>());
  EXPECT_EQ(crossings, 3 * 2);
}

TEST_F(BatchTest, ExpectedOnlySkipsTheRunsAndSummaryHasARowPerPlot) {
  const fs::path a = write("a.txt", "S,20,20,5,1\n");
  const fs::path b = write("b.txt", "H,10,10,2,2\n");
  const fs::path summary = dir_ / "summary.csv";
  ASSERT_EQ(
      batch({"--json", "--expected-only", "--summary", summary.string(), a.string(), b.string()}),
      0);
  const auto lines = json_lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_FALSE(lines[0].contains("model2"));
  EXPECT_GT(lines[0]["model2_expected"]["carbon_t_per_ha"].get<double>(), 0);
  EXPECT_FALSE(fs::exists(dir_ / "am_results.txt"));
  const std::string csv = contents(summary);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
}

}  // namespace
}  // namespace quorvel
