// quorvel-batch: the engine without a window, for many plots and scripted checks.

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <utility>

#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "batch/standard_output.h"
#include "start/refusal_words.h"

namespace {

std::atomic<bool> interrupted{false};

// The first signal asks the batch to stop cleanly; a second ends the program at once, as the
// user who presses Ctrl+C again wants (its side files may then stay, as after kill -9).
extern "C" void on_interrupt(int) {
  if (interrupted.exchange(true)) ::_exit(quorvel::interrupted_status);
}

void catch_interrupts() {
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a write blocked on a pipe nobody reads, or a read of a terminal, gives up
  // at once, and the batch then stops as asked.
  action.sa_flags = 0;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
  // A reader that goes away (`| head`) makes the next write fail with EPIPE, which the batch
  // reports and ends on, removing its side files, rather than killing it where it stands.
  ::signal(SIGPIPE, SIG_IGN);
}

// The decimal separator of the user's regional settings; the program itself keeps the
// "C" numeric locale so that no library call changes its notation behind its back.
char locale_decimal_separator() {
  char separator = '.';
  if (std::setlocale(LC_NUMERIC, "")) {
    const char* point = std::localeconv()->decimal_point;
    if (point && (point[0] == ',' || point[0] == '.')) separator = point[0];
  }
  std::setlocale(LC_NUMERIC, "C");
  return separator;
}

}  // namespace

int main(int argc, char** argv) {
  // Each stops the batch at its next check, which removes the files it has not finished; one
  // while the command line and its lists are read leaves the batch nothing to do.
  catch_interrupts();
  quorvel::ParsedCommandLine parsed =
      quorvel::parse_batch_options(argc, argv, std::cout, std::cerr);
  if (!parsed.options) return interrupted.load() ? quorvel::interrupted_status : parsed.exit_status;
  quorvel::BatchEnvironment environment;
  environment.locale_separator = locale_decimal_separator();
  environment.interrupted = &interrupted;
  environment.progress = isatty(STDERR_FILENO) ? stderr : nullptr;
  std::cout.flush();
  quorvel::StandardOutput standard_output(STDOUT_FILENO, &interrupted);
  std::ostream out(&standard_output);
  try {
    return quorvel::run_batch(std::move(*parsed.options), environment, out, std::cerr);
  } catch (const std::exception& fault) {
    // Caught here, not left to terminate: the files begun are removed as the stack unwinds.
    out.flush();
    std::cerr << "quorvel-batch: "
              << quorvel::refusal_text(
                     {.kind = quorvel::RefusalKind::internal_error, .reason = fault.what()})
              << "\n";
    return 1;
  }
}
