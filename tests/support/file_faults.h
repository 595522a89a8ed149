#pragma once
// The file faults both front ends must meet: each breaks a folder that holds the inventory
// plot.txt and the two earlier reports, after the inventory was chosen and before the Start,
// and says which file the message must name and why, in each front end's words. A fault in
// the inventory refuses the Start; a fault in a report leaves the figures shown and both
// earlier reports as they were.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "permission_bits.h"

namespace quorvel::testing {

enum class FaultNeeds { nothing, permission_bits, small_file_size_limit, full_device };

// A folder where the file was: it stops root too.
inline void folder_in_place_of(const std::filesystem::path& file) {
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
}

struct FileFault {
  const char* name;
  const char* named;    // within the folder
  std::string reason;   // in the batch's message
  const char* russian;  // in the window's
  bool in_a_report;     // the figures are still shown
  FaultNeeds needs;
  void (*make)(const std::filesystem::path& folder);
};

inline std::vector<FileFault> file_faults() {
  namespace fs = std::filesystem;
  using enum FaultNeeds;
  return {
      {"UnreadableInventory", "plot.txt", std::strerror(EACCES), "нет прав доступа", false,
       permission_bits,
       [](const fs::path& f) { fs::permissions(f / "plot.txt", fs::perms::none); }},
      {"FolderInPlaceOfTheInventory", "plot.txt", "directory", "папка", false, nothing,
       [](const fs::path& f) { folder_in_place_of(f / "plot.txt"); }},
      {"InventoryRemovedAfterItWasChosen", "plot.txt", std::strerror(ENOENT), "не найден", false,
       nothing, [](const fs::path& f) { fs::remove(f / "plot.txt"); }},
      // Reading a pipe would wait for a writer that may never come.
      {"PipeInPlaceOfTheInventory", "plot.txt", "not a regular file", "не обычный файл", false,
       nothing,
       [](const fs::path& f) {
         fs::remove(f / "plot.txt");
         ASSERT_EQ(::mkfifo((f / "plot.txt").c_str(), 0644), 0);
       }},
      {"ReadOnlyReportFolder", "plotm_results.txt", std::strerror(EACCES), "нет прав доступа", true,
       permission_bits, [](const fs::path& f) { fs::permissions(f, fs::perms(0555)); }},
      // Its owner made it read-only: refused, not replaced.
      {"ReadOnlyEarlierReport", "plotm_results.txt", std::strerror(EACCES), "нет прав доступа",
       true, permission_bits,
       [](const fs::path& f) { fs::permissions(f / "plotm_results.txt", fs::perms(0444)); }},
      // What the folder holds must survive too.
      {"StockReportPathIsAFolder", "plotm_results.txt", std::strerror(EISDIR), "папка", true,
       nothing,
       [](const fs::path& f) {
         folder_in_place_of(f / "plotm_results.txt");
         std::ofstream(f / "plotm_results.txt" / "kept.txt") << "kept";
       }},
      // The stock report is ready first, but is not put in place unless the estimate can be.
      {"EstimateReportPathIsAFolder", "plots_results.txt", std::strerror(EISDIR), "папка", true,
       nothing, [](const fs::path& f) { folder_in_place_of(f / "plots_results.txt"); }},
      {"ReportRunsOutOfRoom", "plotm_results.txt", std::strerror(EFBIG), "слишком велик", true,
       small_file_size_limit, [](const fs::path&) {}},
      // A link in the report's place that leads back to the tally.
      {"ReportLinkedToTheTally", "plotm_results.txt", "it is the input", "это входной файл", true,
       nothing,
       [](const fs::path& f) {
         fs::remove(f / "plotm_results.txt");
         fs::create_symlink(f / "plot.txt", f / "plotm_results.txt");
       }},
      {"ReportLinkedToTheFullDevice", "plotm_results.txt", "not a regular file", "не обычный файл",
       true, full_device,
       [](const fs::path& f) {
         fs::remove(f / "plotm_results.txt");
         fs::create_symlink("/dev/full", f / "plotm_results.txt");
       }},
  };
}

inline std::string fault_name(const ::testing::TestParamInfo<FileFault>& info) {
  return info.param.name;
}

// The parameter as the test lists show it: its name, not its bytes (which hold addresses).
inline void PrintTo(const FileFault& fault, std::ostream* out) { *out << fault.name; }

// Runs `start` under what the fault needs; returns why that cannot be had here, or nothing.
inline std::string run_under(FaultNeeds needs, const std::function<void()>& start) {
  if (needs == FaultNeeds::full_device && !std::filesystem::is_character_file("/dev/full"))
    return "no /dev/full here";
  if (needs == FaultNeeds::permission_bits) {
    PermissionBitsBind bits;
    if (!bits.in_force())
      return "permission bits cannot be made to bind here; the cases of an inventory that has "
             "gone and a folder in place of a report take the same path";
    start();
  } else if (needs == FaultNeeds::small_file_size_limit) {
    // A report is some hundreds of bytes: the write stops part way as on a full disk, and with
    // the signal ignored it fails instead of ending the test.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit low = saved;
    low.rlim_cur = 64;
    const auto saved_handler = std::signal(SIGXFSZ, SIG_IGN);
    const bool lowered = ::setrlimit(RLIMIT_FSIZE, &low) == 0;
    if (lowered) start();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, saved_handler);
    if (!lowered) return "cannot lower the file size limit";
  } else {
    start();
  }
  return {};
}

}  // namespace quorvel::testing
