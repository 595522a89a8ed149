#include "batch/plot_workers.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace quorvel {

namespace {

// What the workers share, and each worker's loop. A file's plots are counted only once it is
// read, so positions are given file by file in command-line order: a file read before an
// earlier one waits aside, and its reader goes on to the next file meanwhile.
class PlotWorkers {
 public:
  PlotWorkers(const std::vector<std::string>& files, const TallyOptions& options, int jobs,
              const ProcessPlot& process, const TakeOutcome& take, const NamePlot& name,
              const StopAsked& stop)
      : files_(files),
        options_(options),
        process_(process),
        take_(take),
        name_(name),
        stop_(stop),
        window_(16 * static_cast<std::size_t>(jobs)),
        finished_(window_) {}

  // One worker's part, until no plot is left to take up, another worker failed or a stop was
  // asked for.
  void work();
  void throw_failure() const {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  using Lock = std::unique_lock<std::mutex>;

  bool can_compute() const {
    return !ready_.empty() && ready_.front().position < awaited_ + window_;
  }
  // Only with nothing else to do, and never further ahead than the window: a file read holds
  // at least one plot.
  bool can_read() const {
    return ready_.empty() && next_file_ < files_.size() &&
           placed_ + unplaced_files_ < awaited_ + window_;
  }
  bool all_taken() const {
    return ready_.empty() && next_file_ == files_.size() && unplaced_files_ == 0;
  }
  // The condition variable costs a system call only when someone waits on it.
  void wake() {
    if (waiting_ > 0) changed_.notify_all();
  }

  void compute(Lock& lock);
  void read(Lock& lock);
  void place(std::size_t file, std::vector<PlotWork> plots);
  void deliver(Lock& lock);

  const std::vector<std::string>& files_;
  const TallyOptions& options_;
  const ProcessPlot& process_;
  const TakeOutcome& take_;
  const NamePlot& name_;
  const StopAsked& stop_;
  const std::size_t window_;

  std::mutex mutex_;  // everything below
  std::condition_variable changed_;
  int waiting_ = 0;
  std::size_t next_file_ = 0;       // the next file to read
  std::size_t unplaced_files_ = 0;  // taken up for reading, their plots without positions yet
  std::size_t placed_files_ = 0;    // files whose plots have positions
  std::map<std::size_t, std::vector<PlotWork>> read_early_;  // by file
  std::size_t placed_ = 0;                                   // positions given
  std::deque<PlotWork> ready_;  // with positions, not yet taken up; in position order
  std::size_t awaited_ = 0;     // the position handed to `take` next
  std::size_t wake_at_ = 0;     // the awaited position that wakes those waiting for the window
  std::vector<std::optional<PlotOutcome>> finished_;  // by position modulo the window
  bool delivering_ = false;                           // a worker is handing outcomes to `take`
  std::exception_ptr failure_;
};

void PlotWorkers::work() {
  Lock lock(mutex_);
  try {
    while (!failure_) {
      if (stop_ && stop_()) {
        // The others may be waiting for a plot that will not come.
        changed_.notify_all();
        return;
      }
      if (can_compute()) {
        compute(lock);
      } else if (can_read()) {
        read(lock);
      } else if (all_taken()) {
        return;
      } else {
        // Woken early only by new plots or the end: for the window, when half of it is free,
        // so that a worker that ran ahead does not wake for every plot handed on.
        wake_at_ = awaited_ + window_ / 2;
        ++waiting_;
        changed_.wait(lock);
        --waiting_;
      }
    }
  } catch (...) {
    if (!lock.owns_lock()) lock.lock();
    if (!failure_) failure_ = std::current_exception();
    changed_.notify_all();
  }
}

void PlotWorkers::compute(Lock& lock) {
  PlotWork work = std::move(ready_.front());
  ready_.pop_front();
  if (all_taken()) wake();  // the others may stop
  const std::size_t position = work.position;
  lock.unlock();
  PlotOutcome outcome = process_(std::move(work));
  lock.lock();
  finished_[position % window_] = std::move(outcome);
  deliver(lock);
}

void PlotWorkers::read(Lock& lock) {
  const std::size_t file = next_file_++;
  ++unplaced_files_;
  lock.unlock();
  std::vector<PlotWork> plots = read_plot_works(files_[file], options_);
  lock.lock();
  place(file, std::move(plots));
}

void PlotWorkers::place(std::size_t file, std::vector<PlotWork> plots) {
  if (file != placed_files_) {
    read_early_.emplace(file, std::move(plots));
    return;
  }
  for (;;) {
    for (PlotWork& plot : plots) {
      plot.position = placed_++;
      if (name_) name_(plot);
      ready_.push_back(std::move(plot));
    }
    ++placed_files_;
    --unplaced_files_;
    const auto next = read_early_.find(placed_files_);
    if (next == read_early_.end()) break;
    plots = std::move(next->second);
    read_early_.erase(next);
  }
  wake();
}

// Whoever stores the awaited outcome hands it on, with any finished after it, unless another
// worker is at it already: that one looks again before it stops. The lock is let go during
// `take`, so the others go on reading and computing.
void PlotWorkers::deliver(Lock& lock) {
  if (delivering_) return;
  delivering_ = true;
  for (;;) {
    std::optional<PlotOutcome>& next = finished_[awaited_ % window_];
    if (!next) break;
    PlotOutcome outcome = std::move(*next);
    next.reset();
    if (++awaited_ == wake_at_) wake();
    lock.unlock();
    take_(std::move(outcome));
    lock.lock();
  }
  delivering_ = false;
}

}  // namespace

void run_plot_workers(const std::vector<std::string>& files, const TallyOptions& options, int jobs,
                      const ProcessPlot& process, const TakeOutcome& take, const NamePlot& name,
                      const StopAsked& stop) {
  PlotWorkers workers(files, options, jobs, process, take, name, stop);
  {
    std::vector<std::jthread> others;
    try {
      for (int j = 1; j < jobs; ++j) others.emplace_back([&workers] { workers.work(); });
    } catch (const std::system_error&) {
      // No more threads to be had: the workers started share the plots.
    }
    workers.work();
  }
  workers.throw_failure();
}

}  // namespace quorvel
