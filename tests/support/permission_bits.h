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

#include <cstdlib>
#include <filesystem>
#include <string>

namespace quorvel::testing {

class PermissionBitsBind {
 public:
  PermissionBitsBind() {
    if (!read_capabilities(saved_)) return;
    saved_valid_ = true;
    __user_cap_data_struct lowered[_LINUX_CAPABILITY_U32S_3];
    for (int i = 0; i < _LINUX_CAPABILITY_U32S_3; ++i) lowered[i] = saved_[i];
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
      lowered[cap / 32].effective &= ~(1u << (cap % 32));
    write_capabilities(lowered);
  }
  ~PermissionBitsBind() {
    if (saved_valid_) write_capabilities(saved_);
  }
  PermissionBitsBind(const PermissionBitsBind&) = delete;
  PermissionBitsBind& operator=(const PermissionBitsBind&) = delete;

  // Whether a file without read permission really cannot be opened now, tried on a file of
  // our own rather than trusted from the calls above.
  bool in_force() const {
    std::string name = (std::filesystem::temp_directory_path() / "quorvel-bits-XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return false;
    ::close(fd);
    ::chmod(name.c_str(), 0);
    const int probe = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    const bool bound = probe < 0;
    if (probe >= 0) ::close(probe);
    ::unlink(name.c_str());
    return bound;
  }

 private:
  static bool read_capabilities(__user_cap_data_struct* data) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
  }
  // Only this thread's sets change: the raw call, not a library's all-threads version.
  static bool write_capabilities(const __user_cap_data_struct* data) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
  }

  __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3]{};
  bool saved_valid_ = false;
};

}  // namespace quorvel::testing
