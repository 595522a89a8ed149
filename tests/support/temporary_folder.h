#pragma once
// A folder of the test's own under the system's temporary folder, with everything in it
// removed at the end (write permission given back first, for tests that take it away).

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace quorvel::testing {

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside, as text.
  std::string in(const std::string& name) const { return (path_ / name).string(); }
  // Writes `contents` to `name` inside, byte for byte, and gives its path.
  std::string write(const std::string& name, const std::string& contents) const {
    std::ofstream(path_ / name, std::ios::binary) << contents;
    return in(name);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace quorvel::testing
