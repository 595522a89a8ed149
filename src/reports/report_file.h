#pragma once
// Writing a report so that it is never half-written: the text goes to a temporary file in the
// same folder and is renamed over the target only when complete. A PendingReport keeps the
// temporary file until commit(); dropped without commit it removes it, leaving any earlier
// report untouched.

#include <filesystem>
#include <string>

namespace quorvel {

class PendingReport {
 public:
  // Writes `contents` beside `target`, flushed to disk. Throws std::runtime_error naming the
  // target and the reason on failure (folder missing or read-only, disk full, target a folder
  // or a device), leaving nothing behind. A target that is a symbolic link is replaced where
  // the link points, so the link stays.
  PendingReport(std::filesystem::path target, const std::string& contents);
  PendingReport(PendingReport&& other) noexcept;
  PendingReport& operator=(PendingReport&& other) noexcept;
  PendingReport(const PendingReport&) = delete;
  PendingReport& operator=(const PendingReport&) = delete;
  ~PendingReport();

  // Renames the temporary file over the target. Throws std::runtime_error on failure, after
  // removing the temporary file; std::logic_error when there is nothing left to commit
  // (committed already, or moved from).
  void commit();

  const std::filesystem::path& target() const { return target_; }

 private:
  void discard() noexcept;

  std::filesystem::path target_;
  std::filesystem::path destination_;  // the target, or the file its symbolic link names
  std::filesystem::path temporary_;    // empty once committed or discarded
};

// Writes and commits at once.
void write_report_file(const std::filesystem::path& target, const std::string& contents);

}  // namespace quorvel
