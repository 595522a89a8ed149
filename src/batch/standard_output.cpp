#include "batch/standard_output.h"

#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace quorvel {

namespace {

constexpr std::size_t buffer_bytes = 1 << 16;
// A pipe with room for anything takes this much in one write without waiting.
constexpr std::size_t room_bytes = PIPE_BUF;
constexpr int slice_ms = 50;

}  // namespace

StandardOutput::StandardOutput(int fd, const std::atomic<bool>* stop)
    : fd_(fd), stop_(stop), buffer_(buffer_bytes) {
  struct stat status {};
  waits_ = ::fstat(fd, &status) != 0 || !(S_ISREG(status.st_mode) || S_ISBLK(status.st_mode));
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

StandardOutput::~StandardOutput() { drain(); }

StandardOutput::int_type StandardOutput::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int StandardOutput::sync() { return drain() ? 0 : -1; }

bool StandardOutput::drain() {
  const bool written = write_out(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return written;
}

bool StandardOutput::write_out(const char* data, std::size_t size) {
  while (size > 0) {
    if (stop_ && stop_->load(std::memory_order_relaxed)) {
      errno = EINTR;
      return false;
    }
    std::size_t chunk = size;
    if (waits_) {
      pollfd room{.fd = fd_, .events = POLLOUT, .revents = 0};
      const int ready = ::poll(&room, 1, slice_ms);
      if (ready < 0 && errno != EINTR) return false;
      if (ready <= 0) continue;
      chunk = std::min(size, room_bytes);
    }
    const ssize_t written = ::write(fd_, data, chunk);
    if (written < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace quorvel
