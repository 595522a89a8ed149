// Journals of killed commits found folder by folder: a folder listed without one costs nothing
// more, a journal there or beside the file a linked report leads to is still found.

#include "reports/interrupted_commits.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "../support/temporary_folder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

// A pair committed in `folder` by a program killed between its two renames: its journal stays.
void kill_a_commit_in(const fs::path& folder) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    PendingReport stock(folder / "am_results.txt", "killed run's stock");
    PendingReport estimate(folder / "as_results.txt", "killed run's estimate");
    PendingReport* const pair[] = {&stock, &estimate};
    commit_together(pair, [](std::size_t renamed) {
      if (renamed == 1) ::_exit(0);
    });
    ::_exit(1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(status, 0);
}

struct JournalCase {
  const char* name;
  bool journal;             // a killed commit left one before the first look
  bool report_linked;       // am_results.txt links to the killed commit's report in another folder
  bool journal_after_look;  // the commit was killed after the folder had been listed
  InterruptedCommit found;
};

void PrintTo(const JournalCase& c, std::ostream* out) { *out << c.name; }

class Journals : public ::testing::TestWithParam<JournalCase> {};

TEST_P(Journals, AreFoundWhereACommitWasKilledBeforeTheFolderWasListed) {
  const JournalCase& c = GetParam();
  const testing::TemporaryFolder reports, elsewhere;
  const fs::path killed_in = c.report_linked ? elsewhere.path() : reports.path();
  reports.write("as_results.txt", "earlier estimate");
  if (c.report_linked) {
    elsewhere.write("am_results.txt", "earlier stock");
    fs::create_symlink(elsewhere.path() / "am_results.txt", reports.path() / "am_results.txt");
  }
  if (c.journal) kill_a_commit_in(killed_in);
  InterruptedCommits journals;
  const fs::path first = reports.path() / "am_results.txt";
  EXPECT_EQ(journals.recover(reports.path() / "bm_results.txt"), InterruptedCommit::none);
  if (c.journal_after_look) kill_a_commit_in(killed_in);
  EXPECT_EQ(journals.recover(first), c.found);
  // Once made whole, nothing is left to find; a journal found late is left to a full look.
  EXPECT_EQ(recover_interrupted_commit(first),
            c.journal_after_look ? InterruptedCommit::completed : InterruptedCommit::none);
}

using enum InterruptedCommit;
INSTANTIATE_TEST_SUITE_P(
    Folders, Journals,
    ::testing::Values(JournalCase{"NoneInTheFolder", false, false, false, none},
                      JournalCase{"OneInTheFolder", true, false, false, completed},
                      JournalCase{"OneBesideTheFileALinkedReportLeadsTo", true, true, false,
                                  completed},
                      JournalCase{"OneMadeAfterTheFolderWasListed", false, false, true, none}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvel
