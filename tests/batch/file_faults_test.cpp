// The batch front end meeting files it cannot use. Every fault must end with a message that
// names the file, exit status 1, the earlier reports byte for byte as they were, and no
// temporary file left in the folder; the figures are printed unless the inventory itself
// could not be used.

#include "../support/file_faults.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/batch_folder.h"
#include "reports/report_file.h"

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

// Every file that covers the whole batch, with earlier contents a stopped batch must keep.
constexpr const char* batch_files[] = {"summary.csv", "pieces.csv", "runs.csv", "stand.csv",
                                       "chart-stand.svg"};

std::vector<std::string> batch_file_options(const fs::path& out) {
  return {"--summary",       (out / "summary.csv").string(),
          "--pieces",        (out / "pieces.csv").string(),
          "--runs-csv",      (out / "runs.csv").string(),
          "--stand-summary", (out / "stand.csv").string(),
          "--chart",         (out / "chart.svg").string()};
}

// The side files a write in progress leaves, anywhere below `folder`.
std::vector<std::string> side_files(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".tmp-") != std::string::npos || name.find(".old-") != std::string::npos ||
        name.ends_with(".partial"))
      found.push_back(name);
  }
  return found;
}

// Whether the program is still running, leaving its end to be waited for.
bool running(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

// Ends the program if it has not ended within a minute, far beyond any stop asked for.
testing::ProcessResult wait_at_most_a_minute(pid_t pid) {
  for (int waited_ms = 0; waited_ms < 60'000 && running(pid); waited_ms += 10) ::usleep(10'000);
  if (running(pid)) ::kill(pid, SIGKILL);
  return testing::wait_for_batch_program(pid);
}

// A batch that would run for minutes, and the moment it is in the stage to be stopped.
struct StopStage {
  const char* name;
  int signal;
  std::vector<std::string> options;  // "OUT/" stands for the folder of the outputs
  bool output_to_a_pipe;
  // Writes the inventories into `in`; gives their paths.
  std::vector<std::string> (*inventories)(const fs::path& in);
  // Whether the batch has reached the stage, from the process, its outputs, logs and pipe.
  bool (*reached)(pid_t pid, const fs::path& out, const fs::path& logs, int pipe);
  bool twice = false;  // a second signal before the first could be acted on
};

void PrintTo(const StopStage& stage, std::ostream* out) { *out << stage.name; }

// `count` names for one inventory: hard links, so that thousands cost one file.
std::vector<std::string> linked(const fs::path& in, const std::string& text, int count) {
  std::ofstream(in / "plot.txt", std::ios::binary) << text;
  std::vector<std::string> paths{(in / "plot.txt").string()};
  for (int i = 1; i < count; ++i) {
    const fs::path link = in / ("plot" + std::to_string(i) + ".txt");
    fs::create_hard_link(in / "plot.txt", link);
    paths.push_back(link.string());
  }
  return paths;
}

std::string records(int count, const char* record) {
  std::string text;
  for (int i = 0; i < count; ++i) text += record;
  return text;
}

// A figure of the process's status in /proc: "ShdPnd" the signals sent and not yet taken (hex),
// "VmRSS" its memory in kB.
unsigned long long process_status(pid_t pid, const std::string& key, int base) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(key + ":")) return std::stoull(line.substr(key.size() + 1), nullptr, base);
  return 0;
}

bool has_bytes(const fs::path& file) { return fs::exists(file) && fs::file_size(file) > 0; }

// clang-format off
std::vector<StopStage> stop_stages() {
  return {
      // Each file is read whole and then refused for its last line: only reading.
      {"SighupWhileReading", SIGHUP, {"--expected-only"}, false,
       [](const fs::path& in) {
         return linked(in, records(50'000, "\"S\",20,20,3,1\n") + "\"S\",20,20,3,9\n", 3000);
       },
       [](pid_t, const fs::path&, const fs::path& logs, int) { return has_bytes(logs / "err"); }},
      // A file of a million records takes a while to decode once it is in memory (16 MB), and
      // the first signal waits for that.
      {"SecondSigintWhileReading", SIGINT, {"--expected-only"}, false,
       [](const fs::path& in) { return linked(in, records(1'000'000, "\"S\",20,20,3,1\n"), 1); },
       [](pid_t pid, const fs::path&, const fs::path&, int) {
         return process_status(pid, "VmRSS", 10) > 16'000;
       }, true},
      {"SigtermDuringTheExpectation", SIGTERM, {"--expected-only"}, false,
       [](const fs::path& in) { return linked(in, records(2000, "\"C\",30,10,4,5\n"), 20'000); },
       [](pid_t, const fs::path&, const fs::path& logs, int) { return has_bytes(logs / "out"); }},
      // Pieces of 1 mm on a 100 m plot: some 150 000 attempts each.
      {"SigintDuringTheRuns", SIGINT, {"--runs", "1000", "--trace", "OUT/trace.csv"}, false,
       [](const fs::path& in) { return linked(in, records(50, "\"S\",10,10,0.001,1\n"), 1); },
       [](pid_t, const fs::path& out, const fs::path&, int) { return fs::exists(out / "trace.csv.partial"); }},
      // The standard output is a pipe nobody reads: the batch waits in a write once it is full.
      {"SigintWhileWritingToAFullPipe", SIGINT, {"--expected-only", "--json"}, true,
       [](const fs::path& in) { return linked(in, records(20, "\"H\",10,10,2,2\n"), 20'000); },
       [](pid_t, const fs::path&, const fs::path&, int pipe) {
         int queued = 0;
         return ::ioctl(pipe, FIONREAD, &queued) == 0 && queued >= ::fcntl(pipe, F_GETPIPE_SZ);
       }},
  };
}
// clang-format on

class BatchStops : public ::testing::TestWithParam<StopStage> {};

// A signal at any stage ends the program promptly with status 130 and one line saying so; the
// files of the whole batch stay as they were, and no side file is left anywhere.
TEST_P(BatchStops, EndWith130AndLeaveTheBatchFilesAsTheyWere) {
  const StopStage& stage = GetParam();
  const testing::TemporaryFolder in, out, logs;
  for (const char* name : batch_files) out.write(name, std::string("earlier ") + name);
  std::vector<std::string> args = batch_file_options(out.path());
  args.insert(args.end(), stage.options.begin(), stage.options.end());
  for (std::string& arg : args)
    if (arg.starts_with("OUT/")) arg = out.in(arg.substr(4));
  const std::vector<std::string> inventories = stage.inventories(in.path());
  args.insert(args.end(), inventories.begin(), inventories.end());
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  const pid_t pid = testing::start_batch_program(args, logs.in("out"), logs.in("err"),
                                                 stage.output_to_a_pipe ? pipe[1] : -1);
  ::close(pipe[1]);
  ASSERT_GT(pid, 0);
  while (!stage.reached(pid, out.path(), logs.path(), pipe[0]) && running(pid)) ::usleep(1000);
  ::kill(pid, stage.signal);
  if (stage.twice) {
    // Two signals pending at once are one: the second is sent once the first was taken.
    while (process_status(pid, "ShdPnd", 16) & (1ull << (stage.signal - 1))) ::usleep(1000);
    ::kill(pid, stage.signal);
  }
  EXPECT_EQ(wait_at_most_a_minute(pid).exit_status, 130);
  ::close(pipe[0]);
  for (const char* name : batch_files)
    EXPECT_EQ(file_bytes(out.in(name)), std::string("earlier ") + name);
  const std::vector<std::string> err = testing::lines_of(file_bytes(logs.in("err")));
  const auto said =
      std::ranges::count_if(err, [](auto& l) { return l.find("interrupted") != l.npos; });
  // The second ends the program at once, as kill -9 would: without a word, side files may stay.
  EXPECT_EQ(said, stage.twice ? 0 : 1);
  if (stage.twice) return;
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(err.back().rfind("quorvel-batch: interrupted after ", 0), 0u) << err.back();
  EXPECT_NE(err.back().find("no summary, table or stand chart written"), std::string::npos);
  EXPECT_EQ(side_files(in.path()), std::vector<std::string>{});
  EXPECT_EQ(side_files(out.path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Stages, BatchStops, ::testing::ValuesIn(stop_stages()),
                         [](const auto& info) { return std::string(info.param.name); });

// A standard output that cannot take the figures: the descriptor the program gets, and the
// reason the system gives.
struct StdoutFault {
  const char* name;
  std::string reason;
  int (*open)();
};

void PrintTo(const StdoutFault& fault, std::ostream* out) { *out << fault.name; }

std::vector<StdoutFault> stdout_faults() {
  return {
      {"FullDevice", std::strerror(ENOSPC), [] { return ::open("/dev/full", O_WRONLY); }},
      // The reader has gone, as after `| head -2`.
      {"PipeWithoutReader", std::strerror(EPIPE),
       [] {
         int ends[2];
         if (::pipe(ends) != 0) return -1;
         ::close(ends[0]);
         return ends[1];
       }},
  };
}

class StdoutFaults : public BatchFolder, public ::testing::WithParamInterface<StdoutFault> {};

// The failure is said on the standard error with the system's reason and exit status 1, as a
// batch that failed: its summary stays as it was and no side file is left.
TEST_P(StdoutFaults, AreReportedAndLeaveTheBatchFilesAsTheyWere) {
  const StdoutFault& fault = GetParam();
  if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  write("summary.csv", "earlier summary");
  const int fd = fault.open();
  ASSERT_GE(fd, 0);
  const pid_t pid = testing::start_batch_program(
      {"--seed", "5", "--json", "--summary", in("summary.csv"), in("plot.txt"), in("plot.txt")}, "",
      in("err.log"), fd);
  ::close(fd);
  EXPECT_EQ(testing::wait_for_batch_program(pid).exit_status, 1);
  EXPECT_EQ(contents("err.log"), "quorvel-batch: cannot write the standard output (" +
                                     fault.reason +
                                     "); no report of an unfinished plot, no summary, table or "
                                     "stand chart written\n");
  EXPECT_EQ(contents("summary.csv"), "earlier summary");
  EXPECT_EQ(side_files(dir_), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Faults, StdoutFaults, ::testing::ValuesIn(stdout_faults()),
                         [](const auto& info) { return std::string(info.param.name); });

// A run killed between the two renames of a pair left a new stock report beside the earlier
// estimate report; the next run over the inventory, even without reports of its own, completes
// the pair and says so.
TEST_F(BatchFolder, APairLeftHalfReplacedIsCompletedAndSaidSo) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    PendingReport stock(in("plotm_results.txt"), "killed run's stock");
    PendingReport estimate(in("plots_results.txt"), "killed run's estimate");
    PendingReport* const pair[] = {&stock, &estimate};
    commit_together(pair, [](std::size_t renamed) {
      if (renamed == 1) ::_exit(0);
    });
    ::_exit(1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(contents("plots_results.txt"), "earlier estimate report\r\n");
  EXPECT_EQ(batch({"--seed", "5", "--no-reports", in("plot.txt")}), 0);
  EXPECT_EQ(result_.err, "quorvel-batch: " + in("plotm_results.txt") + " and " +
                             in("plots_results.txt") +
                             " were left half replaced by a run that was killed; the replacement "
                             "was completed\n");
  EXPECT_EQ(contents("plotm_results.txt"), "killed run's stock");
  EXPECT_EQ(contents("plots_results.txt"), "killed run's estimate");
  EXPECT_EQ(side_files(dir_), std::vector<std::string>{});
}

}  // namespace
}  // namespace quorvel
