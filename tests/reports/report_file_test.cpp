// Report files: exact bytes under the target's name, the permission bits of the report they
// replace, reports committed together or not at all, and no trace of a write that failed.

#include "reports/report_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <tuple>

#include "../support/file_faults.h"
#include "../support/folder_snapshot.h"
#include "../support/refusal_of.h"
#include "../support/temporary_folder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::FolderSnapshot;
using testing::refusal_of;

const std::string old_report = "Old report\r\nkept byte for byte\r\n";
const std::string new_report = "New\r\n";

class ReportFile : public ::testing::Test {
 protected:
  FolderSnapshot snapshot() const { return testing::folder_snapshot(folder_.path()); }
  fs::perms mode(const std::string& name) const {
    return fs::status(folder_.path() / name).permissions();
  }

  // A failure names the target and the reason (errno, 0 for any), and leaves the folder
  // exactly as it was: no half-written report, the earlier report byte for byte, nothing left.
  void expect_refused(const std::string& target, int reason, const std::string& text = new_report) {
    SCOPED_TRACE(target);
    const FolderSnapshot before = snapshot();
    const Refusal refusal = refusal_of([&] { write_report_file(target, text); });
    EXPECT_EQ(refusal.file, target);
    EXPECT_EQ(refusal.output, Output::report);
    if (reason != 0) {
      EXPECT_EQ(refusal.system_error, reason);
    }
    EXPECT_EQ(snapshot(), before);
  }

  testing::TemporaryFolder folder_;
};

TEST_F(ReportFile, WritesExactBytesReplacingAnEarlierLongerReport) {
  FolderSnapshot expected;
  for (const std::string& name :
       {std::string("plot7m_results.txt"), std::string("участок7m_results.txt"),
        std::string(242, 'a') + "m_results.txt" /* 255 bytes */}) {
    folder_.write(name, old_report);
    write_report_file(folder_.in(name), new_report);
    expected[name] = new_report;
    EXPECT_EQ(snapshot(), expected) << name;
  }
  // A relative target goes to the working folder.
  const fs::path saved = fs::current_path();
  fs::current_path(folder_.path());
  write_report_file("plot7s_results.txt", "  Species\r\n\r\nTotal carbon= 0 tC/ha\r\n");
  fs::current_path(saved);
  expected["plot7s_results.txt"] = "  Species\r\n\r\nTotal carbon= 0 tC/ha\r\n";
  EXPECT_EQ(snapshot(), expected);
}

TEST_F(ReportFile, ANewReportHasOrdinaryBitsAReplacedOneKeepsItsOwnAndALinkStays) {
  const mode_t saved = ::umask(022);
  write_report_file(folder_.in("plot7m_results.txt"), new_report);
  ::umask(077);
  write_report_file(folder_.in("private.txt"), new_report);
  ::umask(saved);
  EXPECT_EQ(mode("plot7m_results.txt"), fs::perms(0644));
  EXPECT_EQ(mode("private.txt"), fs::perms(0600));
  for (const auto bits : {fs::perms(0640), fs::perms(0604)}) {
    fs::permissions(folder_.path() / "plot7m_results.txt", bits);
    write_report_file(folder_.in("plot7m_results.txt"), new_report);
    EXPECT_EQ(mode("plot7m_results.txt"), bits);
  }
  // A report that is a symbolic link: the file it names is replaced, the link stays.
  folder_.write("kept.txt", old_report);
  fs::create_symlink("kept.txt", folder_.path() / "plot7s_results.txt");
  write_report_file(folder_.in("plot7s_results.txt"), new_report);
  EXPECT_EQ(snapshot(), (FolderSnapshot{{"kept.txt", new_report},
                                        {"plot7m_results.txt", new_report},
                                        {"plot7s_results.txt", "<link to kept.txt>"},
                                        {"private.txt", new_report}}));
}

TEST_F(ReportFile, PendingReportChangesNothingUntilCommittedOnce) {
  const std::string target = folder_.write("plot7m_results.txt", old_report);
  { PendingReport abandoned(target, new_report); }
  EXPECT_EQ(snapshot(), (FolderSnapshot{{"plot7m_results.txt", old_report}}));
  PendingReport pending(target, new_report);
  // The text waits in a hidden file of the same folder that is never taken for a report.
  const FolderSnapshot waiting = snapshot();
  ASSERT_EQ(waiting.size(), 2u);
  EXPECT_TRUE(waiting.begin()->first.starts_with('.')) << waiting.begin()->first;
  EXPECT_FALSE(waiting.begin()->first.ends_with(".txt")) << waiting.begin()->first;
  EXPECT_EQ(waiting.begin()->second, new_report);
  EXPECT_EQ(testing::file_bytes(target), old_report);

  PendingReport moved(std::move(pending));
  EXPECT_THROW(pending.commit(), std::logic_error);
  moved.commit();
  EXPECT_THROW(moved.commit(), std::logic_error);
  // Assigning over a pending report drops its text.
  PendingReport other(folder_.in("a.txt"), "a");
  other = PendingReport(folder_.in("b.txt"), "b");
  other.commit();
  EXPECT_EQ(snapshot(), (FolderSnapshot{{"b.txt", "b"}, {"plot7m_results.txt", new_report}}));
}

// A commit of a pair cut short: the program killed after the reports were kept aside or between
// the renames (here it ends itself at that step), or the second rename failing (its text gone).
// A failure puts the earlier reports back at once, or removes a first report that had none. A
// killed commit leaves a journal: the next look completes it once a report has taken its place
// and undoes it while none has. Either way nothing hidden is left.
struct CutCommit {
  const char* name;
  std::size_t step;  // 0: the reports kept aside; 1: the first renamed
  bool killed;
  bool stock_was_there;
  InterruptedCommit found;
};

void PrintTo(const CutCommit& k, std::ostream* out) { *out << k.name; }

class CutCommits : public ReportFile, public ::testing::WithParamInterface<CutCommit> {};

TEST_P(CutCommits, LeaveOnePairWhole) {
  const CutCommit& k = GetParam();
  if (k.stock_was_there) folder_.write("am_results.txt", old_report);
  folder_.write("as_results.txt", old_report);
  const auto commit = [&] {
    PendingReport stock(folder_.in("am_results.txt"), "stock");
    PendingReport estimate(folder_.in("as_results.txt"), "estimate");
    PendingReport* const pair[] = {&stock, &estimate};
    commit_together(pair, [&](std::size_t step) {
      if (step != k.step) return;
      if (k.killed) ::_exit(0);
      for (const auto& entry : fs::directory_iterator(folder_.path()))
        if (entry.path().filename().string().starts_with(".as_results.txt.tmp-"))
          fs::remove(entry.path());
    });
  };
  if (k.killed) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      commit();
      ::_exit(1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(status, 0);
    EXPECT_EQ(recover_interrupted_commit(folder_.in("am_results.txt")), k.found);
  } else {
    const Refusal refusal = refusal_of(commit);
    EXPECT_EQ(
        std::tie(refusal.kind, refusal.file, refusal.system_error),
        std::make_tuple(RefusalKind::output_unwritable, folder_.in("as_results.txt"), ENOENT));
  }
  FolderSnapshot expected{{"am_results.txt", "stock"}, {"as_results.txt", "estimate"}};
  if (k.found != InterruptedCommit::completed) {
    expected = {{"as_results.txt", old_report}};
    if (k.stock_was_there) expected["am_results.txt"] = old_report;
  }
  EXPECT_EQ(snapshot(), expected);
  EXPECT_EQ(recover_interrupted_commit(folder_.in("am_results.txt")), InterruptedCommit::none);
}

using enum InterruptedCommit;
INSTANTIATE_TEST_SUITE_P(
    Steps, CutCommits,
    ::testing::Values(CutCommit{"KilledAfterKeepingAside", 0, true, true, rolled_back},
                      CutCommit{"KilledAfterKeepingAsideANewPair", 0, true, false, rolled_back},
                      CutCommit{"KilledBetweenTheRenames", 1, true, true, completed},
                      CutCommit{"KilledBetweenTheRenamesOfANewStockReport", 1, true, false,
                                completed},
                      CutCommit{"SecondRenameFails", 1, false, true, none},
                      CutCommit{"SecondRenameOfANewStockReportFails", 1, false, false, none}),
    [](const auto& info) { return std::string(info.param.name); });

// Another user's reports in another user's folder with the sticky bit cannot be replaced: refused
// before anything is moved, with no hidden link left that this user could not remove.
TEST_F(ReportFile, AnotherUsersPairInAStickyFolderIsRefusedLeavingNothing) {
  for (const char* name : {"am_results.txt", "as_results.txt"}) {
    folder_.write(name, old_report);
    ASSERT_EQ(::chown(folder_.in(name).c_str(), 65534, 65534), 0);
    fs::permissions(folder_.path() / name, fs::perms(0666));
  }
  ASSERT_EQ(::chown(folder_.path().c_str(), 65534, 65534), 0);
  fs::permissions(folder_.path(), fs::perms(01777));
  const FolderSnapshot before = snapshot();
  const std::string cannot = testing::run_under(testing::FaultNeeds::permission_bits, [&] {
    PendingReport stock(folder_.in("am_results.txt"), "stock");
    PendingReport estimate(folder_.in("as_results.txt"), "estimate");
    PendingReport* const pair[] = {&stock, &estimate};
    EXPECT_EQ(refusal_of([&] { commit_together(pair); }).system_error, EPERM);
  });
  if (!cannot.empty()) GTEST_SKIP() << cannot;
  EXPECT_EQ(snapshot(), before);
}

TEST_F(ReportFile, FailuresAreNamedAndChangeNothing) {
  folder_.write("plot7m_results.txt", old_report);
  fs::create_directory(folder_.path() / "plot7s_results.txt");
  folder_.write("plot7s_results.txt/inside.txt", old_report);
  expect_refused(folder_.in("plot7s_results.txt"), EISDIR);
  expect_refused(folder_.in("gone/plot7s_results.txt"), ENOENT);
  // A file where the folder should be fails for every user, root included.
  expect_refused(folder_.in("plot7m_results.txt/m_results.txt"), ENOTDIR);
  ASSERT_EQ(::mkfifo(folder_.in("pipe.txt").c_str(), 0644), 0);
  EXPECT_EQ(refusal_of([&] { write_report_file(folder_.in("pipe.txt"), new_report); }).kind,
            RefusalKind::output_not_a_file);
  testing::run_under(testing::FaultNeeds::small_file_size_limit, [&] {
    expect_refused(folder_.in("plot7m_results.txt"), EFBIG, std::string(64 * 1024, 'x'));
  });
  // A report its owner made read-only is refused as opening it would be, not replaced; so is
  // any report in a read-only folder.
  fs::permissions(folder_.path() / "plot7m_results.txt", fs::perms(0444));
  const std::string cannot = testing::run_under(testing::FaultNeeds::permission_bits, [&] {
    expect_refused(folder_.in("plot7m_results.txt"), EACCES);
    fs::permissions(folder_.path() / "plot7m_results.txt", fs::perms(0644));
    fs::permissions(folder_.path(), fs::perms(0555));
    expect_refused(folder_.in("plot7m_results.txt"), EACCES);
  });
  if (!cannot.empty()) GTEST_SKIP() << cannot;
}

}  // namespace
}  // namespace quorvel
