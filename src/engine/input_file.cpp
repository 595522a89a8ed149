#include "engine/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include "engine/refusal.h"

namespace quorvel {

namespace {

// The system's error goes by number as well as in its words: each front end words it itself.
[[noreturn]] void refuse(RefusalKind kind, const std::string& file, int error = 0) {
  Refusal refusal;
  refusal.kind = kind;
  refusal.file = file;
  if (error != 0) refusal.reason = std::strerror(error);
  refusal.system_error = error;
  throw Refused(std::move(refusal));
}

[[noreturn]] void refuse_size(const std::string& file, std::int64_t limit) {
  throw Refused({.kind = RefusalKind::file_too_large, .file = file, .limit = limit});
}

// What stands at a path that could not be opened, refused as such: a missing file, a folder,
// a pipe or device, else one that cannot be read for the system's `error`.
[[noreturn]] void refuse_unopened(const std::string& name, int error) {
  struct stat status {};
  if (::stat(name.c_str(), &status) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) refuse(RefusalKind::file_missing, name, ENOENT);
  } else {
    if (S_ISDIR(status.st_mode)) refuse(RefusalKind::file_is_folder, name);
    if (!S_ISREG(status.st_mode)) refuse(RefusalKind::file_not_regular, name);
  }
  refuse(RefusalKind::file_unreadable, name, error);
}

// A folder, pipe or device opened is refused before it is read: reading a pipe waits for a
// writer, perhaps for ever. Gives the size of a plain file.
std::int64_t refuse_what_is_no_file(const std::string& name, int descriptor) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) refuse(RefusalKind::file_unreadable, name, errno);
  if (S_ISDIR(status.st_mode)) refuse(RefusalKind::file_is_folder, name);
  if (!S_ISREG(status.st_mode)) refuse(RefusalKind::file_not_regular, name);
  return status.st_size;
}

// Closes the file however the reading ends.
struct OpenFile {
  int descriptor;
  ~OpenFile() {
    if (descriptor >= 0) ::close(descriptor);
  }
};

}  // namespace

// The system's own calls, without a stream: the file opened (without waiting, should it be a
// pipe), one look at what was opened and one read of its bytes where it is as large as it was,
// since a batch reads many thousands of small files.
std::string read_input_file(const std::filesystem::path& path, std::int64_t limit) {
  const std::string name = path.string();
  const OpenFile file{::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
  if (file.descriptor < 0) refuse_unopened(name, errno);
  const std::int64_t size = refuse_what_is_no_file(name, file.descriptor);
  if (size > limit) refuse_size(name, limit);
  // Room for one byte more than the size it had, so that the end shows; whatever it has grown
  // by since is read piece by piece up to the limit.
  std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)) + 1, '\0');
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(filled + 65536);
    const ssize_t got = ::read(file.descriptor, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) refuse(RefusalKind::file_unreadable, name, errno);
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
    if (static_cast<std::int64_t>(filled) > limit) refuse_size(name, limit);
  }
  bytes.resize(filled);
  return bytes;
}

std::string read_side_file(const std::filesystem::path& path, InventoryField named_as) {
  try {
    return read_input_file(path, side_file_limit);
  } catch (const Refused& refused) {
    Refusal refusal = refused.refusal();
    refusal.field = named_as;
    throw Refused(std::move(refusal));
  }
}

}  // namespace quorvel
