#pragma once
// Lets a test running as root meet permission bits as any user would: the calling thread gives
// up, for as long as the guard lives, the capabilities that let root read, write and search
// past them. Tests run as root here and in CI, and without this an "unreadable" file or a
// "read-only" folder would not stop them.

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

namespace quorvel::testing {

// Only this thread's sets change: the raw calls, not a library's all-threads version.
class PermissionBitsBind {
 public:
  PermissionBitsBind() {
    saved_valid_ = ::syscall(SYS_capget, &header_, saved_) == 0;
    if (!saved_valid_) return;
    __user_cap_data_struct lowered[_LINUX_CAPABILITY_U32S_3];
    std::copy(std::begin(saved_), std::end(saved_), lowered);
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      lowered[cap / 32].effective &= ~(1u << (cap % 32));
    ::syscall(SYS_capset, &header_, lowered);
  }
  ~PermissionBitsBind() {
    if (saved_valid_) ::syscall(SYS_capset, &header_, saved_);
  }
  PermissionBitsBind(const PermissionBitsBind&) = delete;
  PermissionBitsBind& operator=(const PermissionBitsBind&) = delete;

  // Whether a file without read permission really cannot be opened now, tried on a file of
  // our own rather than trusted from the calls above.
  bool in_force() const {
    std::string name = (std::filesystem::temp_directory_path() / "quorvel-bits-XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    ::fchmod(fd, 0);
    ::close(fd);
    const int probe = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (probe >= 0) ::close(probe);
    ::unlink(name.c_str());
    return probe < 0;
  }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3]{};
  bool saved_valid_ = false;
};

}  // namespace quorvel::testing
