// The batch front end meeting files it cannot use: an inventory that cannot be read, is a
// folder or has gone, and reports that cannot be written. Every case must end with a message
// that names the file, exit status 1, the earlier reports byte for byte as they were, and no
// temporary file left in the folder.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "../support/batch_in_process.h"
#include "../support/folder_snapshot.h"
#include "../support/permission_bits.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::BatchResult;
using testing::folder_snapshot;
using testing::FolderSnapshot;
using testing::PermissionBitsBind;
using testing::run_batch_in_process;

const std::string earlier_stock = "earlier stock report\r\n";
const std::string earlier_estimate = "earlier estimate report\r\n";

class BatchFileFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvel-faults-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    inventory_ = folder_ / "plot.txt";
    write(inventory_, "\"S\",20,20,10,1\n\"C\",30,10,4,5\n");
    write(folder_ / "plotm_results.txt", earlier_stock);
    write(folder_ / "plots_results.txt", earlier_estimate);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder_, ec);
  }

  static void write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  BatchResult batch(const fs::path& inventory) {
    return run_batch_in_process({"--seed", "5", "--runs", "2", inventory.string()});
  }

  // A refusal that names `path` and `reason`, changes nothing and leaves nothing behind.
  void expect_clean_refusal(const BatchResult& result, const FolderSnapshot& before,
                            const fs::path& path, const std::string& reason) {
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(path.string()), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
    EXPECT_EQ(result.err.rfind("quorvel-batch: ", 0), 0u) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(folder_snapshot(folder_), before);
  }

  fs::path folder_, inventory_;
};

TEST_F(BatchFileFaults, SoundInventoryWritesBothReports) {
  // The baseline the faults below depart from.
  const BatchResult result = batch(inventory_);
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(testing::file_bytes(folder_ / "plotm_results.txt"), earlier_stock);
  EXPECT_NE(testing::file_bytes(folder_ / "plots_results.txt"), earlier_estimate);
  EXPECT_EQ(folder_snapshot(folder_).size(), 3u);
}

TEST_F(BatchFileFaults, UnreadableInventory) {
  ASSERT_EQ(::chmod(inventory_.c_str(), 0), 0);
  const FolderSnapshot before = folder_snapshot(folder_);
  BatchResult result;
  {
    PermissionBitsBind bits;
    if (!bits.in_force())
      GTEST_SKIP() << "permission bits cannot be made to bind here; "
                      "InventoryBehindAPlainFile takes the same path";
    result = batch(inventory_);
  }
  expect_clean_refusal(result, before, inventory_, std::strerror(EACCES));
  EXPECT_NE(result.err.find("cannot open inventory file"), std::string::npos) << result.err;
}

TEST_F(BatchFileFaults, InventoryBehindAPlainFile) {
  // Opening fails for root too: a plain file stands where a folder should.
  const fs::path inside = inventory_ / "inner.txt";
  const FolderSnapshot before = folder_snapshot(folder_);
  expect_clean_refusal(batch(inside), before, inside, std::strerror(ENOTDIR));
}

TEST_F(BatchFileFaults, FolderInPlaceOfTheInventory) {
  fs::remove(inventory_);
  fs::create_directory(inventory_);
  const FolderSnapshot before = folder_snapshot(folder_);
  expect_clean_refusal(batch(inventory_), before, inventory_, "it is a directory");
}

TEST_F(BatchFileFaults, InventoryRemovedAfterItWasChosen) {
  FolderSnapshot before;
  const BatchResult result = run_batch_in_process({"--seed", "5", inventory_.string()}, [&] {
    fs::remove(inventory_);
    before = folder_snapshot(folder_);
  });
  expect_clean_refusal(result, before, inventory_, std::strerror(ENOENT));
}

TEST_F(BatchFileFaults, ReadOnlyReportFolder) {
  const FolderSnapshot before = folder_snapshot(folder_);
  ASSERT_EQ(::chmod(folder_.c_str(), 0555), 0);
  BatchResult result;
  {
    PermissionBitsBind bits;
    if (!bits.in_force())
      GTEST_SKIP() << "permission bits cannot be made to bind here; "
                      "ReportPathIsAFolder takes the same path";
    result = batch(inventory_);
  }
  ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
  expect_clean_refusal(result, before, folder_ / "plotm_results.txt", std::strerror(EACCES));
}

TEST_F(BatchFileFaults, ReportPathIsAFolder) {
  fs::remove(folder_ / "plotm_results.txt");
  fs::create_directory(folder_ / "plotm_results.txt");
  write(folder_ / "plotm_results.txt" / "kept.txt", "kept");
  const FolderSnapshot before = folder_snapshot(folder_);
  expect_clean_refusal(batch(inventory_), before, folder_ / "plotm_results.txt",
                       std::strerror(EISDIR));
  EXPECT_EQ(testing::file_bytes(folder_ / "plotm_results.txt" / "kept.txt"), "kept");
}

TEST_F(BatchFileFaults, EstimateReportPathIsAFolderKeepsTheStockReportToo) {
  // The stock report is ready before the runs, but it is not put in place unless the
  // estimate report can be too.
  fs::remove(folder_ / "plots_results.txt");
  fs::create_directory(folder_ / "plots_results.txt");
  const FolderSnapshot before = folder_snapshot(folder_);
  expect_clean_refusal(batch(inventory_), before, folder_ / "plots_results.txt",
                       std::strerror(EISDIR));
  EXPECT_EQ(testing::file_bytes(folder_ / "plotm_results.txt"), earlier_stock);
}

TEST_F(BatchFileFaults, ReportTargetIsTheFullDevice) {
  if (!fs::is_character_file("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  fs::remove(folder_ / "plotm_results.txt");
  fs::create_symlink("/dev/full", folder_ / "plotm_results.txt");
  const FolderSnapshot before = folder_snapshot(folder_);
  expect_clean_refusal(batch(inventory_), before, folder_ / "plotm_results.txt",
                       "not a regular file");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// Holds the largest file this process may write low, so that writing a report runs out of
// room part way as on a full disk; the signal is ignored so that the write fails instead.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
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

TEST_F(BatchFileFaults, ReportThatRunsOutOfRoom) {
  const FolderSnapshot before = folder_snapshot(folder_);
  BatchResult result;
  {
    FileSizeLimit limit(64);  // a report is some hundreds of bytes
    if (!limit.applied()) GTEST_SKIP() << "cannot lower the file size limit";
    result = batch(inventory_);
  }
  expect_clean_refusal(result, before, folder_ / "plotm_results.txt", std::strerror(EFBIG));
}

// The real executable on a small file system filled to the last block, in a mount namespace
// of its own so that nothing outside the test sees the mount. Needs the right to mount.
TEST_F(BatchFileFaults, ReportOnAFullFileSystem) {
  const std::string program = std::string(QUORVEL_BIN_DIR) + "/quorvel-batch";
  const fs::path script = folder_ / "full.sh";
  write(script,
        "set -u\n"
        "mnt=\"$1\"; program=\"$2\"\n"
        "mount -t tmpfs -o size=64k tmpfs \"$mnt\" || exit 90\n"
        "printf '\"S\",20,20,10,1\\n' > \"$mnt/plot.txt\"\n"
        "printf 'earlier stock report\\r\\n' > \"$mnt/plotm_results.txt\"\n"
        "printf 'earlier estimate report\\r\\n' > \"$mnt/plots_results.txt\"\n"
        "dd if=/dev/zero of=\"$mnt/filler\" bs=1k count=1000 2>/dev/null\n"
        "before=$(cd \"$mnt\" && ls -A && md5sum plotm_results.txt plots_results.txt)\n"
        "\"$program\" --seed 1 \"$mnt/plot.txt\" >/dev/null 2>\"$mnt.err\"\n"
        "status=$?\n"
        "after=$(cd \"$mnt\" && ls -A && md5sum plotm_results.txt plots_results.txt)\n"
        "[ \"$before\" = \"$after\" ] || { echo changed; echo \"$after\"; exit 91; }\n"
        "exit $status\n");
  fs::create_directory(folder_ / "mnt");
  const std::string command = "unshare --mount --propagation private sh " + script.string() + " " +
                              (folder_ / "mnt").string() + " " + program + " > " +
                              (folder_ / "full.out").string() + " 2>&1";
  const int raw = std::system(command.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  if (status == 90 || status == 127 || (status == 1 && !fs::exists(folder_ / "mnt.err")))
    GTEST_SKIP() << "cannot mount a small file system here: "
                 << testing::file_bytes(folder_ / "full.out")
                 << "; ReportThatRunsOutOfRoom takes the same path";
  const std::string err = testing::file_bytes(folder_ / "mnt.err");
  EXPECT_EQ(status, 1) << testing::file_bytes(folder_ / "full.out") << err;
  EXPECT_NE(err.find("plotm_results.txt"), std::string::npos) << err;
  EXPECT_NE(err.find(std::strerror(ENOSPC)), std::string::npos) << err;
}

TEST_F(BatchFileFaults, TheProgramItselfExitsWithOne) {
  fs::remove(inventory_);
  fs::create_directory(inventory_);
  const std::string program = std::string(QUORVEL_BIN_DIR) + "/quorvel-batch";
  const testing::ProcessResult result =
      testing::run_program(program, {inventory_.string()}, (folder_ / "out.log").string(),
                           (folder_ / "err.log").string());
  EXPECT_EQ(result.exit_status, 1);
  const std::string err = testing::file_bytes(folder_ / "err.log");
  EXPECT_NE(err.find(inventory_.string()), std::string::npos) << err;
  EXPECT_NE(err.find("it is a directory"), std::string::npos) << err;
}

TEST_F(BatchFileFaults, OneBadInventoryAmongGoodOnesStillExitsWithOne) {
  const fs::path good = folder_ / "good.txt";
  write(good, "\"H\",10,10,2,2\n");
  const fs::path missing = folder_ / "missing.txt";
  const BatchResult result = run_batch_in_process(
      {"--seed", "5", "--jobs", "2", good.string(), missing.string(), inventory_.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(missing.string()), std::string::npos) << result.err;
  EXPECT_TRUE(fs::exists(folder_ / "goodm_results.txt"));
  EXPECT_NE(testing::file_bytes(folder_ / "plotm_results.txt"), earlier_stock);
}

TEST_F(BatchFileFaults, SummaryThatCannotBeWrittenExitsWithOne) {
  fs::create_directory(folder_ / "summary.csv");
  const BatchResult result = run_batch_in_process(
      {"--seed", "5", "--summary", (folder_ / "summary.csv").string(), inventory_.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("summary.csv"), std::string::npos) << result.err;
  EXPECT_TRUE(fs::is_directory(folder_ / "summary.csv"));
}

TEST_F(BatchFileFaults, TraceThatCannotBeWrittenLeavesNoPartialFile) {
  const fs::path trace = folder_ / "nowhere" / "trace.csv";
  const FolderSnapshot before = folder_snapshot(folder_);
  const BatchResult result =
      run_batch_in_process({"--seed", "5", "--trace", trace.string(), inventory_.string()});
  expect_clean_refusal(result, before, trace, "trace");
}

}  // namespace
}  // namespace quorvel
