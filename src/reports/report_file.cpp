#include "reports/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <stdexcept>
#include <utility>
#include <vector>

#include "engine/refusal.h"

namespace quorvel {

namespace fs = std::filesystem;

namespace {

// Long enough for any name a report gets, short enough that the dot and the ".tmp-XXXXXX"
// suffix keep the temporary name within the 255 bytes a file name may have.
constexpr std::size_t kept_name_bytes = 200;
constexpr int creation_attempts = 100;

[[noreturn]] void refuse(const fs::path& target, int error) {
  throw Refused({.kind = RefusalKind::output_unwritable,
                 .file = target.string(),
                 .reason = std::strerror(error),
                 .output = Output::report,
                 .system_error = error});
}

[[noreturn]] void refuse_not_a_file(const fs::path& target) {
  throw Refused(
      {.kind = RefusalKind::output_not_a_file, .file = target.string(), .output = Output::report});
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

// A hidden name that does not end in ".txt", so a file left by a crash is never taken for a
// report nor listed among the inventories: ".NAME.tmp-XXXXXX" for a new text, ".NAME.old-XXXXXX"
// for a report kept aside.
fs::path hidden_name_for(const fs::path& destination, const char* kind) {
  std::string name = destination.filename().string();
  if (name.size() > kept_name_bytes) {
    std::size_t cut = kept_name_bytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return destination.parent_path() / ("." + name + kind + random_suffix());
}

// Opens a new temporary file, 0644 less the umask like any file the user creates, or with the
// permission bits of the report it replaces.
int create_temporary(const fs::path& target, const fs::path& destination, fs::path& temporary,
                     const struct stat* replaced) {
  for (int attempt = 0; attempt < creation_attempts; ++attempt) {
    temporary = hidden_name_for(destination, ".tmp-");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
    if (fd >= 0) {
      // A file system without permission bits refuses this; the text is still whole.
      if (replaced) (void)::fchmod(fd, replaced->st_mode & 07777);
      return fd;
    }
    if (errno != EEXIST) {
      const int error = errno;
      temporary.clear();
      refuse(target, error);
    }
  }
  temporary.clear();
  refuse(target, EEXIST);
}

// The error number of a write that fails, or 0 when every byte is written.
int write_all(int fd, std::string_view contents) {
  const char* data = contents.data();
  std::size_t left = contents.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return 0;
}

// The error number of the first step that fails, or 0: every byte written, on disk, closed.
int write_all_and_close(int fd, std::string_view contents, int error = 0) {
  if (error == 0) error = write_all(fd, contents);
  // A full disk may show only here, when delayed blocks are allocated.
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  return error;
}

fs::path destination_of(const fs::path& target) {
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) refuse(target, EISDIR);
  if (fs::exists(status) && !fs::is_regular_file(status)) refuse_not_a_file(target);
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    fs::path linked = fs::canonical(target, ec);
    if (!ec) return linked;
  }
  return target;
}

// A report that is there and that this user may not write is refused, as opening it would
// be: replacing it through the folder would undo what its owner chose. Opening without
// truncating changes nothing.
void require_writable(const fs::path& target, const fs::path& destination) {
  const int fd = ::open(destination.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) refuse(target, errno);
  ::close(fd);
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

// The report a commit replaces, kept until every report of the commit is in place.
struct KeptAside {
  fs::path backup;     // empty when there was no report to replace
  bool moved = false;  // the report itself moved aside: the file system has no hard links
};

// Errors of hard links that mean the file system has none (FAT, some network shares).
bool links_unsupported(int error) {
  return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
         error == EXDEV;
}

KeptAside keep_aside(const fs::path& target, const fs::path& destination) {
  KeptAside kept;
  struct stat status {};
  if (::lstat(destination.c_str(), &status) != 0) {
    if (errno == ENOENT) return kept;
    refuse(target, errno);
  }
  if (S_ISDIR(status.st_mode)) refuse(target, EISDIR);
  if (!S_ISREG(status.st_mode)) refuse_not_a_file(target);
  for (int attempt = 0; attempt < creation_attempts; ++attempt) {
    kept.backup = hidden_name_for(destination, ".old-");
    if (::link(destination.c_str(), kept.backup.c_str()) == 0) return kept;
    const int error = errno;
    if (error == EEXIST) continue;
    if (!links_unsupported(error)) refuse(target, error);
    if (::access(kept.backup.c_str(), F_OK) == 0) continue;
    if (::rename(destination.c_str(), kept.backup.c_str()) != 0) refuse(target, errno);
    kept.moved = true;
    return kept;
  }
  refuse(target, EEXIST);
}

// Undoes keep_aside before the report was replaced. Putting back is best effort: a rename
// within one folder that just succeeded the other way hardly fails, and if it does the old
// report stays under its hidden name rather than being lost.
void undo_keep_aside(const KeptAside& kept, const fs::path& destination) noexcept {
  if (kept.backup.empty()) return;
  if (kept.moved)
    (void)::rename(kept.backup.c_str(), destination.c_str());
  else
    (void)::unlink(kept.backup.c_str());
}

// Puts the replaced report back over the new one, or removes the new one where there was none.
void put_back(const KeptAside& kept, const fs::path& destination) noexcept {
  if (kept.backup.empty())
    (void)::unlink(destination.c_str());
  else
    (void)::rename(kept.backup.c_str(), destination.c_str());
}

}  // namespace

PendingReport::PendingReport(fs::path target, const std::string& contents)
    : target_(std::move(target)) {
  destination_ = destination_of(target_);
  struct stat replaced {};
  const bool replaces = ::stat(destination_.c_str(), &replaced) == 0;
  if (replaces) require_writable(target_, destination_);
  const int fd =
      create_temporary(target_, destination_, temporary_, replaces ? &replaced : nullptr);
  if (const int error = write_all_and_close(fd, contents); error != 0) {
    discard();
    refuse(target_, error);
  }
}

PendingReport::PendingReport(fs::path target, int& fd) : target_(std::move(target)) {
  destination_ = destination_of(target_);
  struct stat replaced {};
  const bool replaces = ::stat(destination_.c_str(), &replaced) == 0;
  if (replaces) require_writable(target_, destination_);
  fd = create_temporary(target_, destination_, temporary_, replaces ? &replaced : nullptr);
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
  PendingReport* const self = this;
  commit_together({&self, 1});
}

void PendingReport::discard() noexcept {
  if (temporary_.empty()) return;
  ::unlink(temporary_.c_str());
  temporary_.clear();
}

void commit_together(std::span<PendingReport* const> reports) {
  for (const PendingReport* report : reports)
    if (report->temporary_.empty())
      throw std::logic_error("The report \"" + report->target_.string() +
                             "\" has no pending text to commit");
  const auto discard_all = [&] {
    for (PendingReport* report : reports) report->discard();
  };
  // A single rename replaces atomically; only a pair needs the earlier reports kept.
  std::vector<KeptAside> kept(reports.size());
  if (reports.size() > 1) {
    std::size_t i = 0;
    try {
      for (; i < reports.size(); ++i)
        kept[i] = keep_aside(reports[i]->target_, reports[i]->destination_);
    } catch (...) {
      while (i-- > 0) undo_keep_aside(kept[i], reports[i]->destination_);
      discard_all();
      throw;
    }
  }
  for (std::size_t i = 0; i < reports.size(); ++i) {
    PendingReport& report = *reports[i];
    if (::rename(report.temporary_.c_str(), report.destination_.c_str()) == 0) {
      report.temporary_.clear();
      continue;
    }
    const int error = errno;
    for (std::size_t j = 0; j < reports.size(); ++j) {
      if (j < i)
        put_back(kept[j], reports[j]->destination_);
      else
        undo_keep_aside(kept[j], reports[j]->destination_);
    }
    discard_all();
    refuse(report.target_, error);
  }
  for (std::size_t i = 0; i < reports.size(); ++i) {
    if (!kept[i].backup.empty()) (void)::unlink(kept[i].backup.c_str());
    sync_folder_of(reports[i]->destination_);
  }
}

namespace {
constexpr std::size_t growing_buffer_bytes = 1 << 16;
}  // namespace

GrowingReport::GrowingReport(fs::path target) : pending_(std::move(target), fd_) {
  buffer_.reserve(growing_buffer_bytes);
}

GrowingReport::~GrowingReport() {
  if (fd_ >= 0) ::close(fd_);
}

void GrowingReport::append(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= growing_buffer_bytes) flush();
}

void GrowingReport::flush() noexcept {
  if (error_ == 0) error_ = write_all(fd_, buffer_);
  buffer_.clear();
}

PendingReport GrowingReport::finish() {
  if (fd_ < 0)
    throw std::logic_error("The report \"" + pending_.target().string() + "\" is finished already");
  const int error = write_all_and_close(fd_, buffer_, error_);
  fd_ = -1;
  buffer_.clear();
  if (error != 0) {
    pending_.discard();
    refuse(pending_.target(), error);
  }
  return std::move(pending_);
}

void write_report_file(const fs::path& target, const std::string& contents) {
  PendingReport(target, contents).commit();
}

}  // namespace quorvel
