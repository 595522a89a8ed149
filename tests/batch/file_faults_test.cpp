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
    write("plotm_results.txt", testing::earlier_report("stock"));
    write("plots_results.txt", testing::earlier_report("estimate"));
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

// An output that would take the place of an input or of another output, or of a file Quorvel
// did not write, refuses the run before anything is written, naming both files; an inventory
// given twice too. Paths are compared by the file they lead to, whatever the spelling or link.
TEST_F(BatchFolder, OutputsNeverReplaceInputsNorEachOther) {
  for (const char* name : {"b.txt", "s.csv", "m.csv", "k.csv", "l.csv", "list.txt", "notes.csv"})
    write(name, "x\n");
  fs::create_symlink(dir_ / "plot.txt", dir_ / "link.csv");
  fs::create_hard_link(dir_ / "plot.txt", dir_ / "hard.csv");
  fs::create_directory(dir_ / "sub");
  write("sub/x.txt", "\"H\",10,10,2,2\n");
  const std::string plot = in("plot.txt"), b = in("b.txt");
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string names, other;  // both in the message
  } cases[] = {
      {"summary", {plot, "--summary", in("./plot.txt")}, in("./plot.txt"), "inventory " + plot},
      {"the second inventory", {"--summary", plot, b}, "--summary " + plot, "did not write"},
      {"chart", {plot, "--chart", plot}, "--chart " + plot, "inventory " + plot},
      {"trace by a link", {"--trace", in("link.csv"), plot}, in("link.csv"), "inventory " + plot},
      {"runs by a hard link", {"--runs-csv", in("hard.csv"), plot}, in("hard.csv"), plot},
      {"stand summary",
       {"--strata", in("s.csv"), "--stand-summary", in("s.csv"), plot},
       "--stand-summary",
       "strata file " + in("s.csv")},
      {"pieces",
       {"--species-map", in("m.csv"), "--pieces", in("m.csv"), plot},
       "--pieces",
       "species map"},
      {"coefficients",
       {"--coefficients", in("k.csv"), "--summary", in("k.csv"), plot},
       "--summary",
       "coefficients table"},
      {"lines", {"--lines", in("l.csv"), "--pieces", in("l.csv"), plot}, "--pieces", "lines file"},
      {"list",
       {"--inventories-from", in("list.txt"), "--summary", in("list.txt")},
       "--summary",
       "inventory list"},
      {"two outputs",
       {"--summary", in("t.csv"), "--pieces", in("./t.csv"), plot},
       "--pieces",
       "--summary " + in("t.csv")},
      {"stand chart",
       {"--chart", in("c.svg"), "--summary", in("c-stand.svg"), plot},
       "stand chart",
       "--summary"},
      {"a report",
       {plot, "--pieces", in("plotm_results.txt")},
       "--pieces",
       "the report " + in("plotm_results.txt")},
      {"forced", {"--force", plot, "--summary", plot}, "--summary", "inventory " + plot},
      {"not ours", {"--summary", in("notes.csv"), plot}, in("notes.csv"), "--force"},
      {"inventory twice", {plot, in("./plot.txt")}, in("./plot.txt"), "same inventory"},
      {"in a folder too", {in("sub"), in("sub/x.txt")}, in("sub/x.txt"), "same inventory"},
  };
  const auto before = folder_snapshot(dir_);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(batch(c.args), 2);
    EXPECT_NE(result_.err.find(c.names), std::string::npos) << result_.err;
    EXPECT_NE(result_.err.find(c.other), std::string::npos) << result_.err;
    EXPECT_EQ(folder_snapshot(dir_), before);
  }
  EXPECT_EQ(batch({"--force", "--no-reports", "--summary", in("notes.csv"), plot}), 0);
  EXPECT_TRUE(contents("notes.csv").starts_with("inventory,records,seed,"));
}

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
  EXPECT_NE(file_bytes(in("plotm_results.txt")), testing::earlier_report("stock"));

  fs::create_directory(dir_ / "summary.csv");
  EXPECT_EQ(batch({"--seed", "5", "--summary", in("summary.csv"), in("plot.txt")}), 1);
  EXPECT_NE(result_.err.find(in("summary.csv")), std::string::npos) << result_.err;

  const auto before = folder_snapshot(dir_);
  EXPECT_EQ(batch({"--seed", "5", "--trace", in("no/trace.csv"), in("plot.txt")}), 1);
  EXPECT_NE(result_.err.find(in("no/trace.csv")), std::string::npos) << result_.err;
  EXPECT_EQ(folder_snapshot(dir_), before);

  // A report's name held by a file Quorvel did not write: the figures stand, the file stays.
  write("plotm_results.txt", "my notes\n");
  EXPECT_EQ(batch({"--seed", "5", "--json", in("plot.txt")}), 1);
  EXPECT_TRUE(json_lines().at(0)["status"].get<std::string>().ends_with("(--force replaces it)"));
  EXPECT_EQ(contents("plotm_results.txt"), "my notes\n");
  EXPECT_EQ(batch({"--seed", "5", "--force", in("plot.txt")}), 0);

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
