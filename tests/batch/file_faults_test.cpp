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

// Every file that covers the whole batch, with earlier contents a stopped batch must keep.
constexpr const char* batch_files[] = {"summary.csv", "pieces.csv", "runs.csv", "stand.csv",
                                       "chart-stand.svg"};

std::vector<std::string> batch_file_options(const fs::path& out) {
  return {"--force",  // the earlier files below are not Quorvel's
          "--summary",       (out / "summary.csv").string(),
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
  // Whether the batch has reached the stage, from the process, its outputs, logs and pipe, and
  // its memory (kB) once it catches signals: a sanitizer's own memory comes before any file's.
  bool (*reached)(pid_t pid, const fs::path& out, const fs::path& logs, int pipe,
                  unsigned long long start_kb);
  bool twice = false;  // a second signal before the first could be acted on
};

void PrintTo(const StopStage& stage, std::ostream* out) { *out << stage.name; }

// A figure of the process's status in /proc: "ShdPnd" the signals sent and not yet taken (hex),
// "VmRSS" its memory in kB.
unsigned long long process_status(pid_t pid, const std::string& key, int base) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with(key + ":")) return std::stoull(line.substr(key.size() + 1), nullptr, base);
  return 0;
}

// The inventory `plot.txt`: `records` times `record`, in each of `plots` plots of a plot column
// where there are several.
std::vector<std::string> one_file(const fs::path& in, const char* record, int records,
                                  int plots = 1) {
  std::ofstream file(in / "plot.txt", std::ios::binary);
  if (plots > 1) file << "plot,species,d1,d2,length,stage\n";
  for (int p = 0; p < plots; ++p)
    for (int r = 0; r < records; ++r) {
      if (plots > 1) file << 'P' << p << ',';
      file << record;
    }
  return {(in / "plot.txt").string()};
}

// `count` inventories refused at their first line once read.
std::vector<std::string> refused_files(const fs::path& in, int count) {
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    paths.push_back((in / ("bad" + std::to_string(i) + ".txt")).string());
    std::ofstream(paths.back()) << "x\n";
  }
  return paths;
}

bool has_bytes(const fs::path& file) { return fs::exists(file) && fs::file_size(file) > 0; }

// clang-format off
std::vector<StopStage> stop_stages() {
  return {
      {"SighupWhileReading", SIGHUP, {"--expected-only"}, false,
       [](const fs::path& in) { return refused_files(in, 5000); },
       [](pid_t, const fs::path&, const fs::path& logs, int, auto) { return has_bytes(logs / "err"); }},
      // A file of a million records takes a while to decode once it is in memory (16 MB), and
      // the first signal waits for that.
      {"SecondSigintWhileReading", SIGINT, {"--expected-only"}, false,
       [](const fs::path& in) { return one_file(in, "S,20,20,3,1\n", 1'000'000); },
       [](pid_t pid, const fs::path&, const fs::path&, int, unsigned long long start_kb) {
         return process_status(pid, "VmRSS", 10) > start_kb + 16'000;
       }, true},
      {"SigtermDuringTheExpectation", SIGTERM, {"--expected-only"}, false,
       [](const fs::path& in) { return one_file(in, "C,30,10,4,5\n", 20, 50'000); },
       [](pid_t, const fs::path&, const fs::path& logs, int, auto) { return has_bytes(logs / "out"); }},
      // Pieces of 1 mm on a 100 m plot: some 150 000 attempts each.
      {"SigintDuringTheRuns", SIGINT, {"--runs", "1000", "--trace", "OUT/trace.csv"}, false,
       [](const fs::path& in) { return one_file(in, "S,10,10,0.001,1\n", 50); },
       [](pid_t, const fs::path& out, const fs::path&, int, auto) {
         return fs::exists(out / "trace.csv.partial");
       }},
      // The standard output is a pipe nobody reads: the batch waits in a write once it is full.
      {"SigintWhileWritingToAFullPipe", SIGINT, {"--expected-only", "--json"}, true,
       [](const fs::path& in) { return one_file(in, "H,10,10,2,2\n", 1, 50'000); },
       [](pid_t, const fs::path&, const fs::path&, int pipe, auto) {
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
  const unsigned long long bit = 1ull << (stage.signal - 1);
  // A signal before the program catches it would end it as the system does, not as it says.
  while (running(pid) && !(process_status(pid, "SigCgt", 16) & bit)) ::usleep(1000);
  const unsigned long long start_kb = process_status(pid, "VmRSS", 10);
  while (!stage.reached(pid, out.path(), logs.path(), pipe[0], start_kb) && running(pid))
    ::usleep(1000);
  ::kill(pid, stage.signal);
  if (stage.twice) {
    // Two signals pending at once are one: the second is sent once the first was taken.
    while (running(pid) && (process_status(pid, "ShdPnd", 16) & bit)) ::usleep(1000);
    ::kill(pid, stage.signal);
  }
  EXPECT_EQ(wait_at_most_a_minute(pid).exit_status, 130);
  ::close(pipe[0]);
  for (const char* name : batch_files)
    EXPECT_EQ(file_bytes(out.in(name)), std::string("earlier ") + name);
  const std::vector<std::string> err = testing::lines_of(file_bytes(logs.in("err")));
  const auto said =
      std::ranges::count_if(err, [](auto& l) { return l.find("interrupted") != l.npos; });
  // The second ends the program at once, as kill -9 would: without a word, side files may stay
  // (unless the first had already ended it, as a slow build's stop may outrun the second).
  if (stage.twice) {
    EXPECT_LE(said, 1);
    return;
  }
  EXPECT_EQ(said, 1);
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
      {"--seed", "5", "--json", "--force", "--summary", in("summary.csv"), in("plot.txt"),
       write("other.txt", "\"H\",10,10,2,2\n")},
      "", in("err.log"), fd);
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
  ASSERT_EQ(contents("plots_results.txt"), testing::earlier_report("estimate"));
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
