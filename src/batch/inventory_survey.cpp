#include "batch/inventory_survey.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <system_error>
#include <thread>

#include "field/own_report.h"

namespace quorvel {

namespace {

struct InventoryLook {
  bool own = false;
  FileIdentity identity;
};

// Opened without blocking and read only when regular: a pipe among the inventories must reach
// the reader, which refuses it, rather than hang here. Where it cannot be opened, the path's
// status still tells which file stands there.
InventoryLook look_at(const std::string& file, FileIdentities& identities) {
  InventoryLook look;
  struct stat status {};
  bool found = false;
  char start[own_table_look_bytes] = {};
  ssize_t got = 0;
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0) {
    found = ::fstat(fd, &status) == 0;
    if (found && S_ISREG(status.st_mode)) got = ::read(fd, start, sizeof start);
    ::close(fd);
  } else {
    found = ::stat(file.c_str(), &status) == 0;
  }
  look.identity = identities.of(file, found ? &status : nullptr);
  look.own = is_own_report(file) || begins_like_own_table(std::string_view(
                                        start, got > 0 ? static_cast<std::size_t>(got) : 0));
  return look;
}

// Every `stride`-th file from `first`: the threads share no state but the answers' places.
void look_at_every(const std::vector<std::string>& files, std::size_t first, std::size_t stride,
                   std::vector<InventoryLook>& looks) {
  FileIdentities identities;  // its own, as each thread resolves the folders it meets
  for (std::size_t i = first; i < files.size(); i += stride)
    looks[i] = look_at(files[i], identities);
}

}  // namespace

InventorySurvey survey_inventories(std::vector<std::string>& files, int jobs) {
  std::vector<InventoryLook> looks(files.size());
  constexpr std::size_t files_a_thread = 256;  // fewer are looked at sooner than a thread starts
  const std::size_t threads = std::clamp<std::size_t>(files.size() / files_a_thread, 1,
                                                      static_cast<std::size_t>(std::max(jobs, 1)));
  {
    std::vector<std::jthread> others;
    std::size_t started = 1;
    try {
      for (; started < threads; ++started)
        others.emplace_back([&, started] { look_at_every(files, started, threads, looks); });
    } catch (const std::system_error&) {
      // No more threads to be had: this one looks at the files of those not started.
    }
    look_at_every(files, 0, threads, looks);
    for (std::size_t t = started; t < threads; ++t) look_at_every(files, t, threads, looks);
  }
  InventorySurvey survey;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (looks[i].own) {
      survey.skipped.push_back(std::move(files[i]));
    } else {
      if (kept != i) files[kept] = std::move(files[i]);
      ++kept;
      survey.identities.push_back(std::move(looks[i].identity));
    }
  }
  files.resize(kept);
  return survey;
}

}  // namespace quorvel
