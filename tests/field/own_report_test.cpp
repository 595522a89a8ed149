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

TEST(OwnReport, TablesAreKnownByTheirFirstColumns) {
  const struct {
    const char* start;
    bool own;
  } cases[] = {
      {"inventory,records,seed,runs,carbon_t_per_ha\n", true},
      {"kind,stratum,n,plots_total", true},
      {"inventory,plot,record,species,stage,d1_cm", true},
      {"inventory,plot,run,carbon_t_per_ha,volume", true},
      {"run,record,attempt,x1,y1,x2,y2,angle,crossed", true},
      {"inventory,records,seed", false},  // cut short: a tally may begin so
      {"plot,species,d1_cm,d2_cm,length_m,stage", false},
      {"\"S\",24.9,23.7,19.94,1\n", false},
      {" kind,stratum,n,", false},
      {"Kind,Stratum,N,", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(begins_like_own_table(c.start), c.own) << c.start;
}

}  // namespace
}  // namespace quorvel
