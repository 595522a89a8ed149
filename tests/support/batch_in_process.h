#pragma once
// Runs the batch front end inside the test as its main() would, capturing what it prints, and
// runs the real executable when the process itself (its exit status, its memory) is the point.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <sstream>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/batch_run.h"

extern char** environ;

namespace quorvel::testing {

struct BatchResult {
  int status = -1;
  std::string out, err;
};

inline BatchResult run_batch_in_process(std::vector<std::string> args) {
  args.insert(args.begin(), "quorvel-batch");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const ParsedCommandLine parsed =
      parse_batch_options(static_cast<int>(argv.size()), argv.data(), out, err);
  BatchEnvironment environment;
  environment.locale_separator = ',';
  const int status =
      parsed.options ? run_batch(*parsed.options, environment, out, err) : parsed.exit_status;
  return {status, out.str(), err.str()};
}

struct ProcessResult {
  int exit_status = -1;      // -1 when it did not exit normally
  long peak_memory_kib = 0;  // the child's own peak resident set
};

// Starts the real quorvel-batch with `args`, its output sent to the given files (or the
// standard output to the descriptor `stdout_fd`, a pipe say); -1 when it cannot be started.
inline pid_t start_batch_program(const std::vector<std::string>& args,
                                 const std::string& stdout_path, const std::string& stderr_path,
                                 int stdout_fd = -1) {
  std::vector<std::string> all{std::string(QUORVEL_BIN_DIR) + "/quorvel-batch"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (const auto& [fd, path] : {std::pair{1, &stdout_path}, std::pair{2, &stderr_path}}) {
    if (fd == 1 && stdout_fd >= 0)
      posix_spawn_file_actions_adddup2(&actions, stdout_fd, 1);
    else
      posix_spawn_file_actions_addopen(&actions, fd, path->c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0644);
  }
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return spawned == 0 ? pid : -1;
}

// Waits for a program started above to end.
inline ProcessResult wait_for_batch_program(pid_t pid) {
  ProcessResult result;
  int status = 0;
  rusage usage{};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return result;
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  result.peak_memory_kib = usage.ru_maxrss;
  return result;
}

// Runs the real quorvel-batch with `args`, its output sent to the given files, and waits for it.
inline ProcessResult run_batch_program(const std::vector<std::string>& args,
                                       const std::string& stdout_path,
                                       const std::string& stderr_path) {
  return wait_for_batch_program(start_batch_program(args, stdout_path, stderr_path));
}

}  // namespace quorvel::testing
