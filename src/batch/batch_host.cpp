#include "batch/batch_host.h"

#include <charconv>
#include <utility>

namespace quorvel {

namespace {

// The shortest text that reads back to the same number, and a comma.
template <typename Number>
void append_field(std::string& line, Number value) {
  char buffer[32];
  line.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  line.push_back(',');
}

}  // namespace

BatchHost::BatchHost(Setup setup) : setup_(std::move(setup)) {
  if (setup_.trace &&
      std::fputs("run,record,attempt,x1,y1,x2,y2,angle,crossed\n", setup_.trace) < 0)
    trace_error_ = errno;
}

bool BatchHost::yield(const RunProgress& progress) {
  // The clock and the interrupt flag are looked at every 65536 attempts only: the loop stays
  // fast and an interrupt still acts within a millisecond or so.
  if (countdown_-- != 0) return true;
  countdown_ = 0xFFFF;
  if (setup_.stop && (*setup_.stop)()) return false;
  if (setup_.progress) show_progress(progress);
  return true;
}

void BatchHost::show_progress(const RunProgress& progress) {
  const auto now = std::chrono::steady_clock::now();
  if (now < next_progress_) return;
  next_progress_ = now + std::chrono::milliseconds(500);
  std::fprintf(setup_.progress, "\r%s: run %d of %d, %lld attempts ", setup_.label.c_str(),
               progress.run, progress.run_count, static_cast<long long>(progress.placement_count));
  std::fflush(setup_.progress);
}

void BatchHost::trace_attempt(const AttemptTrace& a) {
  trace_line_.clear();
  append_field(trace_line_, a.run);
  append_field(trace_line_, a.record);
  append_field(trace_line_, a.attempt);
  append_field(trace_line_, a.placement.x1);
  append_field(trace_line_, a.placement.y1);
  append_field(trace_line_, a.placement.x2);
  append_field(trace_line_, a.placement.y2);
  append_field(trace_line_, a.placement.angle);
  trace_line_ += a.crossed ? "1\n" : "0\n";
  if (trace_error_ != 0) return;  // the trace is lost already; the runs go on
  if (std::fwrite(trace_line_.data(), 1, trace_line_.size(), setup_.trace) != trace_line_.size())
    trace_error_ = errno;
}

}  // namespace quorvel
