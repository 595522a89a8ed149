#pragma once
// The batch's standard output as a stream buffer that a stop can always get out of: a pipe that
// nobody reads blocks a plain write for good, and a signal that comes just before the write
// cannot end it. Here each write to a pipe, socket or terminal waits for room in short
// slices, looking at the stop flag between them, and writes no more than the room there is.

#include <atomic>
#include <streambuf>
#include <vector>

namespace quorvel {

class StandardOutput : public std::streambuf {
 public:
  StandardOutput(int fd, const std::atomic<bool>* stop);
  ~StandardOutput() override;
  StandardOutput(const StandardOutput&) = delete;
  StandardOutput& operator=(const StandardOutput&) = delete;

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  // Writes what is buffered; false, with errno set (EINTR after a stop), when it could not.
  bool drain();
  bool write_out(const char* data, std::size_t size);

  int fd_;
  const std::atomic<bool>* stop_;
  bool waits_ = false;  // a pipe, socket or terminal: it may have no room
  std::vector<char> buffer_;
};

}  // namespace quorvel
