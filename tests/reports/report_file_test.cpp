#include "report_file.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const std::string old_report = "Old report\r\nkept byte for byte\r\n";
const std::string new_report = "New\r\n";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_plain(const fs::path& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
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

  fs::path folder_;
};

// The message of the error `call` throws.
template <typename Call>
std::string failure_of(Call call) {
  try {
    call();
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  ADD_FAILURE() << "no std::runtime_error thrown";
  return {};
}

TEST_F(ReportFile, WritesExactBytesUnderTheTargetName) {
  const fs::path target = folder_ / "plot7m_results.txt";
  const std::string text = "  Species\r\n\r\nTotal carbon= 0 tC/ha\r\n";
  write_report_file(target, text);
  EXPECT_EQ(read_file(target), text);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7m_results.txt"});
}

TEST_F(ReportFile, ReplacesAnEarlierLongerReport) {
  const fs::path target = folder_ / "plot7s_results.txt";
  write_plain(target, old_report);
  write_report_file(target, new_report);
  EXPECT_EQ(read_file(target), new_report);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7s_results.txt"});
}

TEST_F(ReportFile, WritesANameInCyrillic) {
  const fs::path target = folder_ / "участок7m_results.txt";
  write_report_file(target, new_report);
  EXPECT_EQ(read_file(target), new_report);
}

TEST_F(ReportFile, LongNameStillGetsATemporaryFile) {
  const fs::path target = folder_ / (std::string(242, 'a') + "m_results.txt");  // 255 bytes
  write_report_file(target, new_report);
  EXPECT_EQ(read_file(target), new_report);
  EXPECT_EQ(names_in(folder_).size(), 1u);
}

TEST_F(ReportFile, NewFileHasOrdinaryPermissions) {
  const fs::path target = folder_ / "plot7m_results.txt";
  const mode_t saved = ::umask(022);
  write_report_file(target, new_report);
  ::umask(077);
  write_report_file(folder_ / "private.txt", new_report);
  ::umask(saved);
  EXPECT_EQ(fs::status(target).permissions(), static_cast<fs::perms>(0644));
  EXPECT_EQ(fs::status(folder_ / "private.txt").permissions(), static_cast<fs::perms>(0600));
}

TEST_F(ReportFile, PendingReportChangesNothingUntilCommit) {
  const fs::path target = folder_ / "plot7m_results.txt";
  write_plain(target, old_report);
  {
    PendingReport pending(target, new_report);
    EXPECT_EQ(pending.target(), target);
    EXPECT_EQ(read_file(target), old_report);
    // The text waits in a hidden file of the same folder that is never taken for a report.
    const std::set<std::string> names = names_in(folder_);
    ASSERT_EQ(names.size(), 2u);
    for (const std::string& name : names) {
      if (name == "plot7m_results.txt") continue;
      EXPECT_EQ(name.front(), '.');
      EXPECT_FALSE(name.ends_with(".txt")) << name;
      EXPECT_EQ(read_file(folder_ / name), new_report);
    }
    pending.commit();
    EXPECT_EQ(read_file(target), new_report);
  }
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7m_results.txt"});
}

TEST_F(ReportFile, DroppedPendingReportLeavesTheOldReportAndNoTemporary) {
  const fs::path target = folder_ / "plot7m_results.txt";
  write_plain(target, old_report);
  { PendingReport abandoned(target, new_report); }
  EXPECT_EQ(read_file(target), old_report);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7m_results.txt"});
}

TEST_F(ReportFile, MovedPendingReportCommitsOnce) {
  const fs::path target = folder_ / "plot7m_results.txt";
  PendingReport first(target, new_report);
  PendingReport moved(std::move(first));
  EXPECT_THROW(first.commit(), std::logic_error);
  moved.commit();
  EXPECT_EQ(read_file(target), new_report);
  EXPECT_THROW(moved.commit(), std::logic_error);

  // Assigning over a pending report drops its text.
  PendingReport stock(folder_ / "a.txt", "a");
  stock = PendingReport(folder_ / "b.txt", "b");
  stock.commit();
  EXPECT_EQ(names_in(folder_), (std::set<std::string>{"b.txt", "plot7m_results.txt"}));
}

TEST_F(ReportFile, SymbolicLinkStaysAndItsFileIsReplaced) {
  const fs::path real = folder_ / "kept.txt";
  const fs::path link = folder_ / "plot7m_results.txt";
  write_plain(real, old_report);
  fs::create_symlink(real.filename(), link);
  write_report_file(link, new_report);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read_file(real), new_report);
  EXPECT_EQ(names_in(folder_), (std::set<std::string>{"kept.txt", "plot7m_results.txt"}));
}

TEST_F(ReportFile, FolderAsTargetIsRefused) {
  const fs::path target = folder_ / "plot7m_results.txt";
  fs::create_directory(target);
  write_plain(target / "inside.txt", old_report);
  const std::string message = failure_of([&] { write_report_file(target, new_report); });
  EXPECT_NE(message.find(target.string()), std::string::npos) << message;
  EXPECT_NE(message.find(std::strerror(EISDIR)), std::string::npos) << message;
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(read_file(target / "inside.txt"), old_report);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7m_results.txt"});
}

TEST_F(ReportFile, MissingFolderIsReported) {
  const fs::path target = folder_ / "gone" / "plot7m_results.txt";
  const std::string message = failure_of([&] { write_report_file(target, new_report); });
  EXPECT_NE(message.find(target.string()), std::string::npos) << message;
  EXPECT_NE(message.find(std::strerror(ENOENT)), std::string::npos) << message;
  EXPECT_TRUE(names_in(folder_).empty());
}

TEST_F(ReportFile, FolderThatIsAFileIsReported) {
  // Fails for every user, root included.
  const fs::path file = folder_ / "plot7.txt";
  write_plain(file, old_report);
  const fs::path target = file / "m_results.txt";
  const std::string message = failure_of([&] { write_report_file(target, new_report); });
  EXPECT_NE(message.find(target.string()), std::string::npos) << message;
  EXPECT_NE(message.find(std::strerror(ENOTDIR)), std::string::npos) << message;
  EXPECT_EQ(read_file(file), old_report);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7.txt"});
}

TEST_F(ReportFile, ReadOnlyFolderKeepsTheOldReport) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  const fs::path target = folder_ / "plot7m_results.txt";
  write_plain(target, old_report);
  fs::permissions(folder_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const std::string message = failure_of([&] { write_report_file(target, new_report); });
  EXPECT_NE(message.find(target.string()), std::string::npos) << message;
  EXPECT_NE(message.find(std::strerror(EACCES)), std::string::npos) << message;
  EXPECT_EQ(read_file(target), old_report);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7m_results.txt"});
}

TEST_F(ReportFile, PipeAsTargetIsRefusedAndLeftAlone) {
  const fs::path target = folder_ / "plot7m_results.txt";
  ASSERT_EQ(::mkfifo(target.c_str(), 0644), 0);
  const std::string message = failure_of([&] { write_report_file(target, new_report); });
  EXPECT_NE(message.find(target.string()), std::string::npos) << message;
  EXPECT_TRUE(fs::is_fifo(target));
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7m_results.txt"});
}

TEST_F(ReportFile, DeviceAsTargetIsRefusedAndLeftAlone) {
  const fs::path device = "/dev/full";
  if (!fs::is_character_file(device)) GTEST_SKIP() << "no /dev/full here";
  const std::set<std::string> before = names_in("/dev");
  // Never committed, so even a regression could not put a file in the device's place.
  const std::string message = failure_of([&] { PendingReport refused(device, new_report); });
  EXPECT_NE(message.find("/dev/full"), std::string::npos) << message;
  EXPECT_TRUE(fs::is_character_file(device));
  EXPECT_EQ(names_in("/dev"), before);
}

// Holds the file size limit low so that writing runs out of room part way, the way it does
// on a full disk, and puts everything back afterwards.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);  // fail the write instead of the process
    rlimit low = saved_;
    low.rlim_cur = bytes;
    applied_ = ::setrlimit(RLIMIT_FSIZE, &low) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }
  bool applied() const { return applied_; }

 private:
  rlimit saved_{};
  void (*saved_handler_)(int) = nullptr;
  bool applied_ = false;
};

TEST_F(ReportFile, WriteThatRunsOutOfRoomFailsAndKeepsTheOldReport) {
  const fs::path target = folder_ / "plot7s_results.txt";
  write_plain(target, old_report);
  const std::string long_report(64 * 1024, 'x');
  std::string message;
  {
    FileSizeLimit limit(4096);
    if (!limit.applied()) GTEST_SKIP() << "cannot lower the file size limit";
    message = failure_of([&] { write_report_file(target, long_report); });
  }
  EXPECT_NE(message.find(target.string()), std::string::npos) << message;
  EXPECT_NE(message.find(std::strerror(EFBIG)), std::string::npos) << message;
  EXPECT_EQ(read_file(target), old_report);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7s_results.txt"});
}

TEST_F(ReportFile, RelativeTargetIsWrittenInTheWorkingFolder) {
  const fs::path saved = fs::current_path();
  fs::current_path(folder_);
  write_report_file("plot7m_results.txt", new_report);
  fs::current_path(saved);
  EXPECT_EQ(read_file(folder_ / "plot7m_results.txt"), new_report);
  EXPECT_EQ(names_in(folder_), std::set<std::string>{"plot7m_results.txt"});
}

}  // namespace
}  // namespace quorvel
