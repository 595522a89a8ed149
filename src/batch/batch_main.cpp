// quorvel-batch: the engine without a window, for many plots and scripted checks.

#include <unistd.h>

#include <atomic>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <iostream>

#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "start/refusal_words.h"

namespace {

std::atomic<bool> interrupted{false};

extern "C" void on_interrupt(int) { interrupted.store(true); }

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
  const quorvel::ParsedCommandLine parsed =
      quorvel::parse_batch_options(argc, argv, std::cout, std::cerr);
  if (!parsed.options) return parsed.exit_status;
  // Each ends the Start at its next attempt, which removes the files it has not finished.
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, on_interrupt);
  quorvel::BatchEnvironment environment;
  environment.locale_separator = locale_decimal_separator();
  environment.interrupted = &interrupted;
  environment.progress = isatty(STDERR_FILENO) ? stderr : nullptr;
  try {
    return quorvel::run_batch(*parsed.options, environment, std::cout, std::cerr);
  } catch (const std::exception& fault) {
    // Caught here, not left to terminate: the files begun are removed as the stack unwinds.
    std::cout.flush();
    std::cerr << "quorvel-batch: "
              << quorvel::refusal_text(
                     {.kind = quorvel::RefusalKind::internal_error, .reason = fault.what()})
              << "\n";
    return 1;
  }
}
