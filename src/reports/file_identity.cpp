#include "reports/file_identity.h"

#include <system_error>

namespace quorvel {

namespace fs = std::filesystem;

bool same_file(const FileIdentity& a, const FileIdentity& b) {
  return a.path == b.path || (!a.inode.empty() && a.inode == b.inode);
}

namespace {

fs::path resolved_path(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  fs::path canonical = fs::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal() : canonical;
}

}  // namespace

FileIdentity FileIdentities::of(const fs::path& path) {
  struct stat status {};
  return of(path, ::stat(path.c_str(), &status) == 0 ? &status : nullptr);
}

FileIdentity FileIdentities::of(const fs::path& path, const struct stat* status) {
  FileIdentity identity;
  // The folder resolved once, the name appended as it is, unless the name is no plain name.
  const std::string& text = path.native();
  const std::size_t slash = text.rfind('/');
  const std::string name = slash == std::string::npos ? text : text.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") {
    identity.path = resolved_path(path).string();
  } else {
    const std::string folder = slash == std::string::npos ? "." : text.substr(0, slash + 1);
    auto resolved = folders_.find(folder);
    if (resolved == folders_.end()) {
      std::string resolved_folder = resolved_path(folder).string();
      if (!resolved_folder.ends_with('/')) resolved_folder += '/';
      resolved = folders_.emplace(folder, std::move(resolved_folder)).first;
    }
    identity.path = resolved->second + name;
  }
  if (status)
    identity.inode = std::to_string(status->st_dev) + ":" + std::to_string(status->st_ino);
  return identity;
}

}  // namespace quorvel
