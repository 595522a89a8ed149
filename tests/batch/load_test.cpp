// Load: two hundred generated inventories through two jobs, and one inventory of a hundred
// thousand records. Both run in the real executable, so that its own peak memory is measured;
// the figures are printed and must stay within a fixed bound.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "../support/batch_in_process.h"
#include "../support/folder_snapshot.h"
#include "../support/temporary_folder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::file_bytes;

// Measured at 5 to 8 MiB for the 200 inventories and 13 MiB for the 100 000 records (43 to 50
// and 80 MiB under AddressSanitizer, which keeps freed memory in quarantine and a shadow of all
// memory). The bounds leave room for that and still catch memory that grows with the
// attempts: the large inventory makes some two million of them.
#if defined(__SANITIZE_ADDRESS__)
constexpr long peak_memory_bound_kib = 384 * 1024;
#else
constexpr long peak_memory_bound_kib = 64 * 1024;
#endif

// Records of every code and stage, diameters 5..60 cm, lengths 1..20 m: each needs some ten
// to a hundred attempts on the default 100 m plot.
std::string generated_inventory(std::mt19937& random, int records) {
  std::uniform_real_distribution<double> diameter(5, 60), length(1, 20);
  std::string text;
  char line[96];
  for (int i = 0; i < records; ++i) {
    std::snprintf(line, sizeof line, "\"%c\",%.1f,%.1f,%.2f,%d\n", "SHC"[i % 3], diameter(random),
                  diameter(random), length(random), 1 + i % 5);
    text += line;
  }
  return text;
}

class Load : public ::testing::Test {
 protected:
  // Runs the program, which must succeed, and holds its peak memory to the bound.
  void run(const std::vector<std::string>& args, const char* what) {
    const testing::ProcessResult result = testing::run_batch_program(
        args, (folder_ / "out.log").string(), (folder_ / "err.log").string());
    ASSERT_EQ(result.exit_status, 0) << file_bytes(folder_ / "err.log");
    const long kib = result.peak_memory_kib;
    std::cout << "[ memory   ] " << what << ": peak resident set " << kib / 1024 << " MiB\n";
    EXPECT_GT(kib, 0);
    EXPECT_LT(kib, peak_memory_bound_kib);
  }

  testing::TemporaryFolder temporary_;
  const fs::path& folder_ = temporary_.path();
};

TEST_F(Load, TwoHundredInventoriesWithTwoJobs) {
  std::mt19937 random(2024);
  std::vector<std::string> args = {"--seed", "12", "--runs",    "5",
                                   "--jobs", "2",  "--summary", (folder_ / "summary.csv").string()};
  for (int i = 0; i < 200; ++i) {
    const fs::path path = folder_ / ("plot" + std::to_string(i) + ".txt");
    std::ofstream(path, std::ios::binary) << generated_inventory(random, 20 + i % 41);
    args.push_back(path.string());
  }
  ASSERT_NO_FATAL_FAILURE(run(args, "200 inventories, 2 jobs"));

  const std::string summary = file_bytes(folder_ / "summary.csv");
  EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 201);
  // Nothing but the inventories, their two reports each, the summary and the two logs; every
  // report whole: six lines in a stock report, seventeen in an estimate.
  const testing::FolderSnapshot entries = testing::folder_snapshot(folder_);
  EXPECT_EQ(entries.size(), 200u * 3 + 3);
  int whole = 0;
  for (const auto& [name, bytes] : entries)
    whole +=
        std::count(bytes.begin(), bytes.end(), '\n') == (name.ends_with("m_results.txt")   ? 6
                                                         : name.ends_with("s_results.txt") ? 17
                                                                                           : -1);
  EXPECT_EQ(whole, 400);
}

TEST_F(Load, OneInventoryOfAHundredThousandRecords) {
  std::mt19937 random(7);
  const fs::path path = folder_ / "large.txt";
  std::ofstream(path, std::ios::binary) << generated_inventory(random, 100000);
  ASSERT_NO_FATAL_FAILURE(run({"--json", "--seed", "1", path.string()}, "100000 records"));

  const nlohmann::json j = nlohmann::json::parse(file_bytes(folder_ / "out.log"));
  EXPECT_EQ(j["record_count"], 100000);
  // One run of so many pieces lands close to the value it approaches.
  const double expected = j["model2_expected"]["carbon_t_per_ha"].get<double>();
  const double spread = j["model2_expected"]["carbon_t_per_ha_stderr_per_run"].get<double>();
  EXPECT_NEAR(j["model2"]["carbon_t_per_ha"].get<double>(), expected, 5 * spread);
}

}  // namespace
}  // namespace quorvel
