// Report files: exact bytes under the target's name, and no trace of a write that failed.

#include "report_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using Entries = std::map<std::string, std::string>;

const std::string old_report = "Old report\r\nkept byte for byte\r\n";
const std::string new_report = "New\r\n";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_plain(const fs::path& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

// The message of the std::runtime_error `call` throws.
std::string failure_of(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  ADD_FAILURE() << "no std::runtime_error thrown";
  return {};
}

class ReportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvel-report-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }

  // Every entry under the folder with what it holds: a file's bytes, a link's target or its
  // kind. Two equal snapshots mean nothing was changed, added or left behind.
  Entries snapshot() const {
    Entries entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
      entries[entry.path().lexically_relative(folder_).string()] =
          entry.is_symlink()        ? "link to " + fs::read_symlink(entry.path()).string()
          : entry.is_regular_file() ? read_file(entry.path())
          : entry.is_directory()    ? "folder"
                                    : "special file";
    }
    return entries;
  }

  // A failure names the target and the reason (errno, 0 for any), and leaves the folder
  // exactly as it was: no half-written report, the earlier report byte for byte, nothing left.
  void expect_refused(const fs::path& target, int reason, const std::string& text = new_report) {
    SCOPED_TRACE(target.string());
    const Entries before = snapshot();
    const std::string message = failure_of([&] { write_report_file(target, text); });
    EXPECT_NE(message.find(target.string()), std::string::npos) << message;
    if (reason != 0) {
      EXPECT_NE(message.find(std::strerror(reason)), std::string::npos) << message;
    }
    EXPECT_EQ(snapshot(), before);
  }

  fs::path folder_;
};

TEST_F(ReportFile, WritesExactBytesReplacingAnEarlierLongerReport) {
  Entries expected;
  for (const std::string& name :
       {std::string("plot7m_results.txt"), std::string("участок7m_results.txt"),
        std::string(242, 'a') + "m_results.txt" /* 255 bytes */}) {
    write_plain(folder_ / name, old_report);
    write_report_file(folder_ / name, new_report);
    expected[name] = new_report;
    EXPECT_EQ(snapshot(), expected) << name;
  }
  // A relative target goes to the working folder.
  const fs::path saved = fs::current_path();
  fs::current_path(folder_);
  write_report_file("plot7s_results.txt", "  Species\r\n\r\nTotal carbon= 0 tC/ha\r\n");
  fs::current_path(saved);
  expected["plot7s_results.txt"] = "  Species\r\n\r\nTotal carbon= 0 tC/ha\r\n";
  EXPECT_EQ(snapshot(), expected);
}

TEST_F(ReportFile, NewFileHasOrdinaryPermissionsAndALinkStays) {
  const mode_t saved = ::umask(022);
  write_report_file(folder_ / "plot7m_results.txt", new_report);
  ::umask(077);
  write_report_file(folder_ / "private.txt", new_report);
  ::umask(saved);
  EXPECT_EQ(fs::status(folder_ / "plot7m_results.txt").permissions(), fs::perms(0644));
  EXPECT_EQ(fs::status(folder_ / "private.txt").permissions(), fs::perms(0600));
  // A report that is a symbolic link: the file it names is replaced, the link stays.
  write_plain(folder_ / "kept.txt", old_report);
  fs::create_symlink("kept.txt", folder_ / "plot7s_results.txt");
  write_report_file(folder_ / "plot7s_results.txt", new_report);
  EXPECT_EQ(snapshot(), (Entries{{"kept.txt", new_report},
                                 {"plot7m_results.txt", new_report},
                                 {"plot7s_results.txt", "link to kept.txt"},
                                 {"private.txt", new_report}}));
}

TEST_F(ReportFile, PendingReportChangesNothingUntilCommittedOnce) {
  const fs::path target = folder_ / "plot7m_results.txt";
  write_plain(target, old_report);
  { PendingReport abandoned(target, new_report); }
  EXPECT_EQ(snapshot(), (Entries{{"plot7m_results.txt", old_report}}));
  PendingReport pending(target, new_report);
  // The text waits in a hidden file of the same folder that is never taken for a report.
  const Entries waiting = snapshot();
  ASSERT_EQ(waiting.size(), 2u);
  EXPECT_TRUE(waiting.begin()->first.starts_with('.')) << waiting.begin()->first;
  EXPECT_FALSE(waiting.begin()->first.ends_with(".txt")) << waiting.begin()->first;
  EXPECT_EQ(waiting.begin()->second, new_report);
  EXPECT_EQ(read_file(target), old_report);

  PendingReport moved(std::move(pending));
  EXPECT_THROW(pending.commit(), std::logic_error);
  moved.commit();
  EXPECT_THROW(moved.commit(), std::logic_error);
  // Assigning over a pending report drops its text.
  PendingReport other(folder_ / "a.txt", "a");
  other = PendingReport(folder_ / "b.txt", "b");
  other.commit();
  EXPECT_EQ(snapshot(), (Entries{{"b.txt", "b"}, {"plot7m_results.txt", new_report}}));
}

// Holds the file size limit low so that writing runs out of room part way, the way it does
// on a full disk, and puts everything back afterwards.
struct FileSizeLimit {
  rlimit saved{};
  void (*handler)(int) = std::signal(SIGXFSZ, SIG_IGN);  // fail the write, not the process
  bool applied = false;
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit low = saved;
    low.rlim_cur = bytes;
    applied = ::setrlimit(RLIMIT_FSIZE, &low) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
  }
};

TEST_F(ReportFile, FailuresAreNamedAndChangeNothing) {
  write_plain(folder_ / "plot7m_results.txt", old_report);
  fs::create_directory(folder_ / "plot7s_results.txt");
  write_plain(folder_ / "plot7s_results.txt" / "inside.txt", old_report);
  expect_refused(folder_ / "plot7s_results.txt", EISDIR);
  expect_refused(folder_ / "gone" / "plot7s_results.txt", ENOENT);
  // A file where the folder should be fails for every user, root included.
  expect_refused(folder_ / "plot7m_results.txt" / "m_results.txt", ENOTDIR);
  ASSERT_EQ(::mkfifo((folder_ / "pipe.txt").c_str(), 0644), 0);
  expect_refused(folder_ / "pipe.txt", 0);
  {
    FileSizeLimit limit(4096);
    if (limit.applied) {
      expect_refused(folder_ / "plot7m_results.txt", EFBIG, std::string(64 * 1024, 'x'));
    }
  }
  if (::geteuid() != 0) {  // permission bits do not stop root
    fs::permissions(folder_,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    expect_refused(folder_ / "plot7m_results.txt", EACCES);
  }
}

}  // namespace
}  // namespace quorvel
