#include "field/own_report.h"

#include <gtest/gtest.h>

#include "../support/temporary_folder.h"

namespace quorvel {
namespace {

TEST(OwnReport, ReportsAreKnownByTheInventoryBesideThem) {
  const testing::TemporaryFolder folder;
  for (const char* name : {"plot7.txt", "tally.csv", "a-b.txt"}) folder.write(name, "");
  const struct {
    const char* name;
    bool own;
  } cases[] = {
      {"plot7m_results.txt", true},     {"plot7s_results.txt", true},
      {"tally-P07m_results.txt", true}, {"a-b-3s_results.txt", true},
      {"a-bm_results.txt", true},       {"orphanm_results.txt", false},
      {"plot7x_results.txt", false},    {"plot7m_results.csv", false},
      {"m_results.txt", false},         {"plot7.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(is_own_report(folder.in(c.name)), c.own) << c.name;
}

}  // namespace
}  // namespace quorvel
