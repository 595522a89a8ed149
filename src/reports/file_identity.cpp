#include "reports/file_identity.h"

#include <sys/stat.h>

#include <system_error>

namespace quorvel {

namespace fs = std::filesystem;

bool same_file(const FileIdentity& a, const FileIdentity& b) {
  return a.path == b.path || (!a.inode.empty() && a.inode == b.inode);
}

FileIdentity FileIdentities::of(const fs::path& path) {
  FileIdentity identity;
  const std::string folder = path.parent_path().string();
  auto resolved = folders_.find(folder);
  if (resolved == folders_.end()) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    fs::path canonical = fs::weakly_canonical(absolute, ec);
    if (ec) canonical = absolute.lexically_normal();
    resolved = folders_.emplace(folder, canonical.string()).first;
  }
  identity.path = (fs::path(resolved->second) / path.filename()).lexically_normal().string();
  struct stat status {};
  if (::stat(path.c_str(), &status) == 0)
    identity.inode = std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
  return identity;
}

}  // namespace quorvel
