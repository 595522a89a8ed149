#include "report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace quorvel {

namespace fs = std::filesystem;

namespace {

// Long enough for any name a report gets, short enough that the dot and the ".tmp-XXXXXX"
// suffix keep the temporary name within the 255 bytes a file name may have.
constexpr std::size_t kept_name_bytes = 200;
constexpr int creation_attempts = 100;

[[noreturn]] void fail(const fs::path& target, const std::string& reason) {
  throw std::runtime_error("Cannot write the report \"" + target.string() + "\": " + reason);
}

[[noreturn]] void fail_with_errno(const fs::path& target, int error) {
  fail(target, std::system_category().message(error));
}

std::string random_suffix() {
  static constexpr char letters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uniform_int_distribution<int> pick(0, sizeof letters - 2);
  std::string suffix(6, ' ');
  for (char& c : suffix) c = letters[pick(generator)];
  return suffix;
}

// A hidden name that does not end in ".txt", so a temporary file left by a crash is never
// taken for a report nor listed among the inventories.
fs::path temporary_name_for(const fs::path& destination) {
  std::string name = destination.filename().string();
  if (name.size() > kept_name_bytes) {
    std::size_t cut = kept_name_bytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return destination.parent_path() / ("." + name + ".tmp-" + random_suffix());
}

// Opens a new temporary file, 0644 less the umask like any file the user creates.
int create_temporary(const fs::path& target, const fs::path& destination, fs::path& temporary) {
  for (int attempt = 0; attempt < creation_attempts; ++attempt) {
    temporary = temporary_name_for(destination);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
    if (fd >= 0) return fd;
    if (errno != EEXIST) {
      const int error = errno;
      temporary.clear();
      fail_with_errno(target, error);
    }
  }
  temporary.clear();
  fail_with_errno(target, EEXIST);
}

// The error number of the first step that fails, or 0: every byte written, on disk, closed.
int write_all_and_close(int fd, const std::string& contents) {
  const char* data = contents.data();
  std::size_t left = contents.size();
  int error = 0;
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  // A full disk may show only here, when delayed blocks are allocated.
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  return error;
}

fs::path destination_of(const fs::path& target) {
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) fail_with_errno(target, EISDIR);
  if (fs::exists(status) && !fs::is_regular_file(status)) fail(target, "it is not a regular file");
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    fs::path linked = fs::canonical(target, ec);
    if (!ec) return linked;
  }
  return target;
}

void sync_folder_of(const fs::path& file) noexcept {
  // Makes the rename itself survive a power cut; a folder that cannot be synced still holds
  // the complete report, so failing here changes nothing the user can act on.
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

PendingReport::PendingReport(fs::path target, const std::string& contents)
    : target_(std::move(target)) {
  destination_ = destination_of(target_);
  const int fd = create_temporary(target_, destination_, temporary_);
  if (const int error = write_all_and_close(fd, contents); error != 0) {
    discard();
    fail_with_errno(target_, error);
  }
}

PendingReport::PendingReport(PendingReport&& other) noexcept
    : target_(std::move(other.target_)),
      destination_(std::move(other.destination_)),
      temporary_(std::move(other.temporary_)) {
  other.temporary_.clear();
}

PendingReport& PendingReport::operator=(PendingReport&& other) noexcept {
  if (this != &other) {
    discard();
    target_ = std::move(other.target_);
    destination_ = std::move(other.destination_);
    temporary_ = std::move(other.temporary_);
    other.temporary_.clear();
  }
  return *this;
}

PendingReport::~PendingReport() { discard(); }

void PendingReport::commit() {
  if (temporary_.empty()) {
    throw std::logic_error("The report \"" + target_.string() + "\" has no pending text to commit");
  }
  if (::rename(temporary_.c_str(), destination_.c_str()) != 0) {
    const int error = errno;
    discard();
    fail_with_errno(target_, error);
  }
  temporary_.clear();
  sync_folder_of(destination_);
}

void PendingReport::discard() noexcept {
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  temporary_.clear();
}

void write_report_file(const fs::path& target, const std::string& contents) {
  PendingReport(target, contents).commit();
}

}  // namespace quorvel
