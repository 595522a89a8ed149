#pragma once
// Every entry below a folder with its bytes, so that a test can show that a refused Start left
// the folder exactly as it was: no report changed, no temporary file left behind.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace quorvel::testing {

using FolderSnapshot = std::map<std::string, std::string>;

inline std::string file_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Links are recorded by their target and not followed; folders and other non-files by kind.
inline FolderSnapshot folder_snapshot(const std::filesystem::path& folder) {
  namespace fs = std::filesystem;
  FolderSnapshot entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    const fs::file_status status = entry.symlink_status();
    if (fs::is_symlink(status))
      entries[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
    else if (fs::is_directory(status))
      entries[name] = "<folder>";
    else if (fs::is_regular_file(status))
      entries[name] = file_bytes(entry.path());
    else
      entries[name] = "<other>";
  }
  return entries;
}

}  // namespace quorvel::testing
