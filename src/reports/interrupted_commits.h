#pragma once
// The journals that killed commits left, looked for folder by folder: a batch over a hundred
// thousand plots of one folder lists the folder once instead of looking beside every report.

#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "reports/report_file.h"

namespace quorvel {

class InterruptedCommits {
 public:
  // As recover_interrupted_commit, for reports of folders without a journal at their first
  // listing at no cost: a journal that appears later is a commit under way, left to its
  // program. Safe to call from several threads.
  InterruptedCommit recover(const std::filesystem::path& first_report);

 private:
  // What one listing of a folder found.
  struct Folder {
    bool listed = false;    // false: not readable, or entries of unknown type; looked at each time
    bool journals = false;  // a hidden .NAME.commit is there
    std::unordered_set<std::string> linked_reports;  // reports that are symbolic links
  };
  static Folder listing(const std::string& path);
  // Null where each report of the folder must be looked at in full.
  const Folder* folder(const std::string& path);

  std::mutex mutex_;
  std::unordered_map<std::string, Folder> folders_;
};

}  // namespace quorvel
