#include "reports/interrupted_commits.h"

#include <dirent.h>

#include <cerrno>
#include <string_view>

namespace quorvel {

// The folder's journals and linked reports, or unlisted when the folder cannot be read to its
// end or its file system does not tell the type of an entry.
InterruptedCommits::Folder InterruptedCommits::listing(const std::string& path) {
  Folder folder;
  DIR* const dir = ::opendir(path.c_str());
  if (!dir) return folder;
  folder.listed = true;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    // The journal of a commit is hidden and named after the commit's first report.
    if (name.starts_with('.') && name.ends_with(".commit")) folder.journals = true;
    if (!name.ends_with("_results.txt")) continue;
    if (entry->d_type == DT_UNKNOWN) folder.listed = false;
    if (entry->d_type == DT_LNK) folder.linked_reports.emplace(name);
  }
  if (errno != 0) folder.listed = false;
  ::closedir(dir);
  return folder;
}

const InterruptedCommits::Folder* InterruptedCommits::folder(const std::string& path) {
  const std::lock_guard lock(mutex_);
  auto found = folders_.find(path);
  if (found == folders_.end()) found = folders_.emplace(path, listing(path)).first;
  return found->second.listed ? &found->second : nullptr;
}

InterruptedCommit InterruptedCommits::recover(const std::filesystem::path& first_report) {
  const std::string& text = first_report.native();
  const std::size_t slash = text.rfind('/');
  const std::string folder_path = slash == std::string::npos ? "." : text.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? text : text.substr(slash + 1);
  // A linked report's journal lies beside the file it leads to, perhaps in another folder.
  if (const Folder* listed = folder(folder_path);
      listed && !listed->journals && !listed->linked_reports.contains(name))
    return InterruptedCommit::none;
  return recover_interrupted_commit(first_report);
}

}  // namespace quorvel
