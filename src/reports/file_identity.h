#pragma once
// Whether two paths lead to one file: an output must never take the place of an input, nor of
// another output, whatever spelling, symbolic link or hard link leads to it.

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <unordered_map>

namespace quorvel {

struct FileIdentity {
  std::string path;   // absolute, with "." and ".." and the links of its folders resolved
  std::string inode;  // device and inode of the file there (through a link); empty when none
};

// Two identities name one file when their paths are equal, or when both have a file and it is
// the same one.
bool same_file(const FileIdentity& a, const FileIdentity& b);

// Identities of many paths: each folder is resolved once, as a run names thousands of files in
// a few folders.
class FileIdentities {
 public:
  FileIdentity of(const std::filesystem::path& path);
  // The same for a file looked at already: `status` is what the system gave for the path
  // (through a link), or null where no file stands there.
  FileIdentity of(const std::filesystem::path& path, const struct stat* status);

 private:
  std::unordered_map<std::string, std::string> folders_;  // as given -> resolved
};

}  // namespace quorvel
