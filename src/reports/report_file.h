#pragma once
// Writing a report so that it is never half-written and never lost: the text goes to a
// temporary file in the same folder and is renamed over the target only when complete. A
// PendingReport keeps the temporary file until it is committed; dropped without commit it
// removes it, leaving any earlier report untouched. Reports committed together all take their
// place, or none does.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace quorvel {

class PendingReport {
 public:
  // Writes `contents` beside `target`, flushed to disk. Throws Refused (output_unwritable,
  // output_not_a_file) naming the target and the reason on failure: folder missing or
  // read-only, disk full, target a folder or a device, or a target that exists and that this
  // user may not write, which is refused as opening it for writing would be rather than
  // replaced. Nothing is left behind then. The text takes the permission bits of the report
  // it is to replace. A target that is a symbolic link is replaced where the link points, so
  // the link stays.
  PendingReport(std::filesystem::path target, const std::string& contents);
  PendingReport(PendingReport&& other) noexcept;
  PendingReport& operator=(PendingReport&& other) noexcept;
  PendingReport(const PendingReport&) = delete;
  PendingReport& operator=(const PendingReport&) = delete;
  ~PendingReport();

  // Renames the temporary file over the target. Throws Refused on failure, after removing the
  // temporary file; std::logic_error when there is nothing left to commit (committed already,
  // or moved from).
  void commit();

  const std::filesystem::path& target() const { return target_; }

 private:
  friend void commit_together(std::span<PendingReport* const> reports,
                              const std::function<void(std::size_t)>& step);
  friend class GrowingReport;
  // The temporary file opened and left empty; its descriptor in `fd`.
  PendingReport(std::filesystem::path target, int& fd);
  void discard() noexcept;

  std::filesystem::path target_;
  std::filesystem::path destination_;  // the target, or the file its symbolic link names
  std::filesystem::path temporary_;    // empty once committed or discarded
};

// A report written a piece at a time, for files that grow with the plots (a summary of a
// hundred thousand plots): the text goes to the temporary file as it comes, so the memory stays
// small, and takes the target's place only through finish() and the commit of the
// PendingReport it returns. Dropped unfinished, it removes the temporary file.
class GrowingReport {
 public:
  // Throws Refused as PendingReport does.
  explicit GrowingReport(std::filesystem::path target);
  GrowingReport(const GrowingReport&) = delete;
  GrowingReport& operator=(const GrowingReport&) = delete;
  ~GrowingReport();

  // Buffered. A write that fails is remembered and refused by finish().
  void append(std::string_view text);
  // Writes what is buffered, flushes it to disk and closes; throws Refused on failure.
  PendingReport finish();

 private:
  void flush() noexcept;

  int fd_ = -1;
  int error_ = 0;
  std::string buffer_;
  PendingReport pending_;
};

// Puts every report in place, or none of them. Before the first rename, each report that is
// to be replaced is kept aside in its folder (a second hard link, or the report itself moved
// to a hidden name where the file system has no hard links); when a rename fails, the reports
// renamed before it are put back from there. Throws Refused naming the report that could not
// be put in place, after removing every temporary file and every report kept aside: a report
// that cannot be replaced (another user's in a folder with the sticky bit) is refused before
// anything is moved. Reports that are not of the same commit are never mixed, even when the
// program is killed in the middle: several reports are committed under a journal (a hidden
// ".NAME.commit" beside the first, locked while the commit lasts) that names the new texts and
// the reports kept aside, and the next commit of the same reports, or
// recover_interrupted_commit, completes or undoes what the killed one began. `step`, when
// given, is called after the reports are kept aside (0) and after each rename (1, 2...).
void commit_together(std::span<PendingReport* const> reports,
                     const std::function<void(std::size_t)>& step = {});

// What recover_interrupted_commit found beside a report.
enum class InterruptedCommit {
  none,         // no commit was left half done
  completed,    // some reports had taken their place: the others were put in place too
  rolled_back,  // none had: the earlier reports stay and the new texts were removed
};

// Looks for the journal of a commit that a killed program left beside `first_report` (the
// first report of the commit) and finishes it one way or the other, removing its hidden side
// files. Waits while another program holds the journal, then finds it gone.
InterruptedCommit recover_interrupted_commit(const std::filesystem::path& first_report);

// Writes and commits at once.
void write_report_file(const std::filesystem::path& target, const std::string& contents);

}  // namespace quorvel
