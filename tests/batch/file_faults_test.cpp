// The batch front end meeting files it cannot use. Every fault must end with a message that
// names the file, exit status 1, the earlier reports byte for byte as they were, and no
// temporary file left in the folder; the figures are printed unless the inventory itself
// could not be used.

#include "../support/file_faults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>

#include "../support/batch_folder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::file_bytes;
using testing::FileFault;
using testing::folder_snapshot;

class BatchFolder : public testing::BatchFolder {
 protected:
  void SetUp() override {
    write("plot.txt", "\"S\",20,20,10,1\n\"C\",30,10,4,5\n");
    write("plotm_results.txt", "earlier stock report\r\n");
    write("plots_results.txt", "earlier estimate report\r\n");
  }
  const fs::path& dir_ = folder_.path();
};

class BatchFileFaults : public BatchFolder, public ::testing::WithParamInterface<FileFault> {};

TEST_P(BatchFileFaults, ExitWithOneNamingTheFileAndChangeNothing) {
  const FileFault& fault = GetParam();
  fault.make(dir_);
  const auto before = folder_snapshot(dir_);
  const std::string cannot = testing::run_under(fault.needs, [&] {
    batch({"--seed", "5", "--runs", "2", in("plot.txt")});
  });
  if (!cannot.empty()) GTEST_SKIP() << cannot;
  EXPECT_EQ(result_.status, 1);
  EXPECT_EQ(result_.err.rfind("quorvel-batch: ", 0), 0u) << result_.err;
  EXPECT_NE(result_.err.find(in(fault.named)), std::string::npos) << result_.err;
  EXPECT_NE(result_.err.find(fault.reason), std::string::npos) << result_.err;
  EXPECT_EQ(result_.out.find("\n  model 2:  carbon ") != std::string::npos, fault.in_a_report)
      << result_.out;
  EXPECT_EQ(folder_snapshot(dir_), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, BatchFileFaults, ::testing::ValuesIn(testing::file_faults()),
                         testing::fault_name);

// A fault in one inventory or in an output beside the reports still shows in the exit status,
// of the process itself too, and the rest of the work is done.
TEST_F(BatchFolder, OtherFaultsStillExitWithOne) {
  write("good.txt", "\"H\",10,10,2,2\n");
  const testing::ProcessResult process = testing::run_batch_program(
      {"--seed", "5", "--jobs", "2", in("good.txt"), in("missing.txt"), in("plot.txt")},
      in("out.log"), in("err.log"));
  EXPECT_EQ(process.exit_status, 1);
  EXPECT_NE(file_bytes(in("err.log")).find(in("missing.txt")), std::string::npos);
  EXPECT_TRUE(fs::exists(dir_ / "goodm_results.txt"));
  EXPECT_NE(file_bytes(in("plotm_results.txt")), "earlier stock report\r\n");

  fs::create_directory(dir_ / "summary.csv");
  EXPECT_EQ(batch({"--seed", "5", "--summary", in("summary.csv"), in("plot.txt")}), 1);
  EXPECT_NE(result_.err.find(in("summary.csv")), std::string::npos) << result_.err;

  const auto before = folder_snapshot(dir_);
  EXPECT_EQ(batch({"--seed", "5", "--trace", in("no/trace.csv"), in("plot.txt")}), 1);
  EXPECT_NE(result_.err.find(in("no/trace.csv")), std::string::npos) << result_.err;
  EXPECT_EQ(folder_snapshot(dir_), before);

  // The figures stand, the reports do not: the status says both.
  testing::folder_in_place_of(dir_ / "plots_results.txt");
  EXPECT_EQ(batch({"--seed", "5", "--json", in("plot.txt")}), 1);
  EXPECT_EQ(json_lines().at(0)["status"].get<std::string>().rfind("done, not written: Cannot "
                                                                  "write the report",
                                                                  0),
            0u)
      << result_.out;

  // A trace that runs out of room says why, as the system said it, not only that it failed.
  const std::string cannot = testing::run_under(testing::FaultNeeds::small_file_size_limit, [&] {
    batch({"--seed", "5", "--runs", "20000", "--no-reports", "--trace", in("trace.csv"),
           in("plot.txt")});
  });
  if (cannot.empty()) {
    EXPECT_NE(result_.err.find(std::strerror(EFBIG)), std::string::npos) << result_.err;
  }
}

// A signal during the runs ends the program with status 1 at the next attempt, and it leaves
// the folder as it was: no report, no trace, no temporary file.
TEST_F(BatchFolder, ASignalDuringTheRunsLeavesTheFolderAsItWas) {
  std::string slow;  // pieces of 1 mm on a 100 m plot: some 150 000 attempts each
  for (int i = 0; i < 50; ++i) slow += "\"S\",10,10,0.001,1\n";
  write("plot.txt", slow);
  const testing::TemporaryFolder logs;
  for (const int signal : {SIGHUP, SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    const auto before = folder_snapshot(dir_);
    const pid_t pid =
        testing::start_batch_program({"--runs", "1000", "--trace", in("trace.csv"), in("plot.txt")},
                                     logs.in("out"), logs.in("err"));
    ASSERT_GT(pid, 0);
    // The trace is open from before the first attempt until the end.
    while (!fs::exists(dir_ / "trace.csv.partial") && ::waitpid(pid, nullptr, WNOHANG) == 0)
      ::usleep(1000);
    ::kill(pid, signal);
    EXPECT_EQ(testing::wait_for_batch_program(pid).exit_status, 1);
    EXPECT_EQ(file_bytes(logs.in("err")),
              "quorvel-batch: " + in("plot.txt") + ": interrupted; no report was written\n");
    EXPECT_EQ(folder_snapshot(dir_), before);
  }
}

}  // namespace
}  // namespace quorvel
