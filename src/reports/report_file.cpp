#include "reports/report_file.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
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
fs::path hidden_name_for(const fs::path& destination, const std::string& ending) {
  std::string name = destination.filename().string();
  if (name.size() > kept_name_bytes) {
    std::size_t cut = kept_name_bytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return destination.parent_path() / ("." + name + ending);
}

fs::path hidden_name_for(const fs::path& destination, const char* kind) {
  return hidden_name_for(destination, kind + random_suffix());
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

// In a folder with the sticky bit (/tmp, a shared drop folder) only the owner of a file or of
// the folder, or a process that may act as any owner, may remove or rename over it. Such a
// report cannot be replaced, and keeping it aside first would leave a link this user cannot
// remove: it is refused before anything is moved.
bool may_act_as_any_owner() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
  if (::syscall(SYS_capget, &header, data) != 0) return ::geteuid() == 0;
  return (data[CAP_FOWNER / 32].effective & (1u << (CAP_FOWNER % 32))) != 0;
}

bool held_by_sticky_folder(const fs::path& destination) {
  const fs::path folder =
      destination.parent_path().empty() ? fs::path(".") : destination.parent_path();
  struct stat folder_status {};
  struct stat file_status {};
  if (::stat(folder.c_str(), &folder_status) != 0 || (folder_status.st_mode & S_ISVTX) == 0)
    return false;
  if (::lstat(destination.c_str(), &file_status) != 0) return false;
  const uid_t me = ::geteuid();
  if (file_status.st_uid == me || folder_status.st_uid == me) return false;
  return !may_act_as_any_owner();
}

// Errors of hard links that mean the file system has none (FAT, some network shares).
bool links_unsupported(int error) {
  return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
         error == EXDEV;
}

// `backup`: the hidden name the journal gives it.
KeptAside keep_aside(const fs::path& target, const fs::path& destination, const fs::path& backup) {
  KeptAside kept;
  struct stat status {};
  if (::lstat(destination.c_str(), &status) != 0) {
    if (errno == ENOENT) return kept;
    refuse(target, errno);
  }
  if (S_ISDIR(status.st_mode)) refuse(target, EISDIR);
  if (!S_ISREG(status.st_mode)) refuse_not_a_file(target);
  if (held_by_sticky_folder(destination)) refuse(target, EPERM);
  if (::link(destination.c_str(), backup.c_str()) == 0) {
    kept.backup = backup;
    return kept;
  }
  const int error = errno;
  if (!links_unsupported(error)) refuse(target, error);
  if (::access(backup.c_str(), F_OK) == 0) refuse(target, EEXIST);
  if (::rename(destination.c_str(), backup.c_str()) != 0) refuse(target, errno);
  kept.backup = backup;
  kept.moved = true;
  return kept;
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

// A target that is a symbolic link is replaced where it points.
fs::path resolved(const fs::path& target) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
  fs::path linked = fs::canonical(target, ec);
  return ec ? target : linked;
}

bool present(const fs::path& file) { return ::access(file.c_str(), F_OK) == 0; }

// The journal of a commit of several reports: for each, where it goes, its new text and the
// hidden name the report it replaces is kept under. Locked while the commit lasts, removed when
// it is over; one left behind is the trace of a commit whose program was killed, and the lock
// tells it from one in progress (the system lets go of it when a program ends, however).
class CommitJournal {
 public:
  struct Entry {
    fs::path destination, temporary, backup;
  };

  // Opens and locks the journal beside `first_destination`, waiting while another program
  // holds it; `create` makes it where there is none. Closed (is_open() false) when there is
  // none to be had.
  CommitJournal(const fs::path& first_destination, bool create)
      : path_(hidden_name_for(first_destination, std::string(".commit"))) {
    for (;;) {
      fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0), 0644);
      if (fd_ < 0) return;
      int locked;
      while ((locked = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
      }
      struct stat status {};
      if (locked == 0 && ::fstat(fd_, &status) == 0 && status.st_nlink > 0) return;
      // Removed by the commit that held it meanwhile: the one there now, if any, is another.
      const int error = errno;
      ::close(fd_);
      fd_ = -1;
      if (locked != 0) {
        errno = error;
        return;
      }
    }
  }
  CommitJournal(const CommitJournal&) = delete;
  CommitJournal& operator=(const CommitJournal&) = delete;
  ~CommitJournal() { close(); }

  bool is_open() const { return fd_ >= 0; }

  // Records the commit about to begin; the errno of a write that failed, or 0.
  int record(const std::vector<Entry>& entries) {
    std::string text = "quorvel commit\n";
    for (const Entry& e : entries)
      for (const fs::path* path : {&e.destination, &e.temporary, &e.backup})
        text.append(path->native()).push_back('\0');
    return write_all(fd_, text);
  }

  // Completes or undoes the commit the journal holds, if any, and empties it.
  InterruptedCommit recover();

  // The commit is over: the journal goes, and its lock with it.
  void close() noexcept {
    if (fd_ < 0) return;
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
  }

 private:
  std::vector<Entry> entries() const;

  fs::path path_;
  int fd_ = -1;
};

std::vector<CommitJournal::Entry> CommitJournal::entries() const {
  std::string text;
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t got = ::pread(fd_, buffer, sizeof buffer, offset);
    if (got <= 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
    offset += got;
  }
  std::vector<Entry> found;
  const std::string header = "quorvel commit\n";
  if (!text.starts_with(header)) return found;
  std::vector<fs::path> paths;
  for (std::size_t from = header.size(), end; (end = text.find('\0', from)) != std::string::npos;
       from = end + 1)
    paths.emplace_back(text.substr(from, end - from));
  for (std::size_t i = 0; i + 3 <= paths.size(); i += 3)
    found.push_back({paths[i], paths[i + 1], paths[i + 2]});
  return found;
}

// The journal is written before anything moves, so every new text it names was complete: once
// one of them has been renamed into place the others follow it; while none has, the earlier
// reports are put back where they were moved aside and the new texts removed.
InterruptedCommit CommitJournal::recover() {
  const std::vector<Entry> found = entries();
  if (found.empty()) return InterruptedCommit::none;
  const bool renamed =
      std::any_of(found.begin(), found.end(), [](const Entry& e) { return !present(e.temporary); });
  for (const Entry& e : found) {
    if (renamed) {
      if (present(e.temporary)) (void)::rename(e.temporary.c_str(), e.destination.c_str());
      (void)::unlink(e.backup.c_str());
    } else {
      if (present(e.backup) && !present(e.destination))
        (void)::rename(e.backup.c_str(), e.destination.c_str());
      (void)::unlink(e.backup.c_str());
      (void)::unlink(e.temporary.c_str());
    }
    sync_folder_of(e.destination);
  }
  (void)::ftruncate(fd_, 0);
  return renamed ? InterruptedCommit::completed : InterruptedCommit::rolled_back;
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

void commit_together(std::span<PendingReport* const> reports,
                     const std::function<void(std::size_t)>& step) {
  for (const PendingReport* report : reports)
    if (report->temporary_.empty())
      throw std::logic_error("The report \"" + report->target_.string() +
                             "\" has no pending text to commit");
  const auto discard_all = [&] {
    for (PendingReport* report : reports) report->discard();
  };
  // A single rename replaces atomically; only a pair needs the earlier reports kept, and a
  // journal in case the program is killed between the renames.
  std::vector<KeptAside> kept(reports.size());
  std::optional<CommitJournal> journal;
  if (reports.size() > 1) {
    std::size_t i = 0;
    try {
      journal.emplace(reports[0]->destination_, true);
      if (!journal->is_open()) refuse(reports[0]->target_, errno);
      journal->recover();
      std::vector<CommitJournal::Entry> entries;
      for (const PendingReport* report : reports)
        entries.push_back({report->destination_, report->temporary_,
                           hidden_name_for(report->destination_, ".old-")});
      if (const int error = journal->record(entries); error != 0)
        refuse(reports[0]->target_, error);
      for (; i < reports.size(); ++i)
        kept[i] = keep_aside(reports[i]->target_, reports[i]->destination_, entries[i].backup);
    } catch (...) {
      while (i-- > 0) undo_keep_aside(kept[i], reports[i]->destination_);
      discard_all();
      throw;
    }
  }
  if (step) step(0);
  for (std::size_t i = 0; i < reports.size(); ++i) {
    PendingReport& report = *reports[i];
    if (::rename(report.temporary_.c_str(), report.destination_.c_str()) == 0) {
      report.temporary_.clear();
      if (step) step(i + 1);
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

InterruptedCommit recover_interrupted_commit(const fs::path& first_report) {
  CommitJournal journal(resolved(first_report), false);
  return journal.is_open() ? journal.recover() : InterruptedCommit::none;
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
