#include "engine/model1.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <tuple>

#include "engine/inventory_reader.h"

namespace quorvel {
namespace {

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

Model1Result model1_of(std::string_view text, SimulationParameters p = {}) {
  return compute_model1(parse_inventory(text, "test.txt"), p);
}

TEST(Model1, SoftwoodWorkedExampleIsExactToTheBit) {
  const Model1Result r = model1_of("\"S\",20,20,10,1\n");
  EXPECT_EQ(bits(r.model1_carbon.at(1, 1)), bits(0.8804156167419418));
  EXPECT_EQ(bits(r.model1_total), bits(0.8804156167419418));
  EXPECT_EQ(r.expansion_sum, 15.7);
  EXPECT_EQ(r.pieces_per_ha, 15);  // 15.7 is cut, never rounded up
  EXPECT_EQ(r.record_count, 1);
}

TEST(Model1, ConiferWorkedExampleOnFiftyMetrePlotIsExactToTheBit) {
  SimulationParameters p;
  p.transect_length = 50;
  const Model1Result r = model1_of("\"C\",30,10,4,5\n", p);
  EXPECT_EQ(bits(r.model1_carbon.at(5, 3)), bits(0.5343325584602389));
  EXPECT_EQ(bits(r.model1_total), bits(0.5343325584602389));
  EXPECT_EQ(r.expansion_sum, 19.625);
  EXPECT_EQ(r.pieces_per_ha, 78);  // 78.5
}

TEST(Model1, RecordsOfOneCellAddUpAndLeaveOtherCellsAlone) {
  const Model1Result one = model1_of("S,20,20,10,1\n");
  const Model1Result two = model1_of("S,20,20,10,1\nS,20,20,10,1\nH,10,8,3,2\n");
  EXPECT_EQ(two.model1_carbon.at(1, 1), one.model1_carbon.at(1, 1) + one.model1_carbon.at(1, 1));
  int cells_with_carbon = 0;
  for (int s = 0; s <= 5; ++s)
    for (int g = 0; g <= 3; ++g) cells_with_carbon += two.model1_carbon.at(s, g) != 0;
  EXPECT_EQ(cells_with_carbon, 2);
  EXPECT_GT(two.model1_carbon.at(2, 2), 0);
  EXPECT_EQ(two.record_count, 3);
}

TEST(Model1, StageZeroIsCountedButCarriesNoCarbonAndAnEmptyInventoryGivesZeros) {
  const Model1Result r = model1_of("S,20,20,10,0\n");
  EXPECT_EQ(std::tie(r.record_count, r.expansion_sum, r.model1_total, r.pieces_per_ha),
            std::make_tuple(1, 15.7, 0.0, 15.0));
  EXPECT_EQ(r.volume_per_ha[1], 0);
  const Model1Result empty = model1_of("");
  EXPECT_EQ(std::tie(empty.record_count, empty.model1_total, empty.pieces_per_ha),
            std::make_tuple(0, 0.0, 0.0));
  EXPECT_EQ(empty.model1_carbon, StageGroupTable<double>{});
}

Inventory without_lengths(Inventory inventory) {
  for (DebrisPiece& piece : inventory.pieces) {
    piece.piece_length = 0;
    piece.length_known = false;
  }
  return inventory;
}

TEST(Model1, CarbonDoesNotDependOnLengthButPiecesDo) {
  const Model1Result short_piece = model1_of("H,20,20,2,3\n");
  const Model1Result long_piece = model1_of("H,20,20,8,3\n");
  EXPECT_NEAR(short_piece.model1_total, long_piece.model1_total, 1e-12);
  EXPECT_EQ(short_piece.pieces_per_ha, 78);  // 78.5
  EXPECT_EQ(long_piece.pieces_per_ha, 19);   // 19.625
}

// The weight L x 1.57 / length cancels the length: pieces without one give the carbon, volume
// and surface of the same pieces with it (the worked examples above hold the figures), but no
// number of pieces.
TEST(Model1, APieceWithoutLengthHasCarbonVolumeAndSurfaceButNoPieceCount) {
  SimulationParameters p;
  p.transect_length = 37;
  const Inventory tally = parse_inventory("S,20,18,7.3,2\nC,31.5,4,0.2,5\nH,9,9,19,1\n", "t.txt");
  const Model1Result with = compute_model1(tally, p);
  const Model1Result without = compute_model1(without_lengths(tally), p);
  EXPECT_EQ(std::tie(without.record_count, without.pieces_without_length, without.expansion_sum),
            std::make_tuple(3, 3, 0.0));
  EXPECT_TRUE(std::isnan(without.pieces_per_ha));
  const auto near = [](double a, double b) { EXPECT_NEAR(a, b, 1e-12 * std::abs(b)); };
  near(without.model1_total, with.model1_total);
  for (int g = first_group; g <= last_group; ++g) {
    near(without.volume_per_ha[g], with.volume_per_ha[g]);
    near(without.surface_per_ha[g], with.surface_per_ha[g]);
  }
}

TEST(Model1, VolumeUnderTheSameWeightIsTheFrustumTimesTheWeight) {
  // 20 cm both ends, 10 m: volume pi * 0.1^2 * 10, weight 15.7, L = 100 so per hectare = per plot.
  const Model1Result r = model1_of("S,20,20,10,1\n");
  EXPECT_NEAR(r.volume_per_ha[1], 3.14159265358979 * 0.01 * 10 * 15.7, 1e-12);
  EXPECT_NEAR(r.surface_per_ha[1], 3.14159265358979 * 0.2 * 10 * 15.7, 1e-12);
}

}  // namespace
}  // namespace quorvel
