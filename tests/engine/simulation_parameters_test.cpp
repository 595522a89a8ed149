// The checks of the parameters: what each refuses, with which data, and that a short transect is
// refused alike by the runs, the exact crossing chance and the expectation.

#include "engine/simulation_parameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "../support/refusal_of.h"
#include "engine/crossing_probability.h"
#include "engine/expectation.h"
#include "engine/inventory.h"

namespace quorvel {
namespace {

using testing::refusal_of;

// The fields a parameter refusal fills; the others keep their defaults.
auto parameter_fields(const Refusal& r) {
  return std::tuple(r.kind, r.parameter, r.stage, r.group, r.found, r.limit, r.problem);
}

auto refused(Parameter parameter, ValueProblem problem, std::string found = {}, int limit = 0,
             int stage = 0, int group = 0) {
  return std::tuple(RefusalKind::parameter_not_valid, parameter, stage, group, found,
                    std::int64_t{limit}, problem);
}

TEST(SimulationParameters, EachValueTheEngineCannotUseIsRefusedWithItsData) {
  using P = Parameter;
  using V = ValueProblem;
  const struct {
    const char* name;
    void (*change)(SimulationParameters&);
    decltype(refused(P::none, V::none)) expected;
  } cases[] = {
      {"no transect", [](SimulationParameters& p) { p.transect_length = 0; },
       refused(P::transect_length, V::below_minimum, "0", 1)},
      {"negative transect", [](SimulationParameters& p) { p.transect_length = -32768; },
       refused(P::transect_length, V::below_minimum, "-32768", 1)},
      {"no runs", [](SimulationParameters& p) { p.run_count = 0; },
       refused(P::run_count, V::below_minimum, "0", 1)},
      {"negative runs", [](SimulationParameters& p) { p.run_count = -7; },
       refused(P::run_count, V::below_minimum, "-7", 1)},
      {"no carbon at all", [](SimulationParameters& p) { p.carbon_fraction = 0; },
       refused(P::carbon_fraction, V::outside_range)},
      {"percent for a fraction", [](SimulationParameters& p) { p.carbon_fraction = 50; },
       refused(P::carbon_fraction, V::outside_range)},
      {"endless fraction", [](SimulationParameters& p) { p.carbon_fraction = INFINITY; },
       refused(P::carbon_fraction, V::outside_range)},
      {"weightless wood", [](SimulationParameters& p) { p.density.at(3, 1) = 0; },
       refused(P::density, V::outside_range, "", 0, 3, 1)},
      {"just denser than wood", [](SimulationParameters& p) { p.density.at(5, 3) = 1.5001f; },
       refused(P::density, V::outside_range, "", 0, 5, 3)},
      {"density not a number", [](SimulationParameters& p) { p.density.at(5, 3) = NAN; },
       refused(P::density, V::outside_range, "", 0, 5, 3)},
      {"wind above the scale", [](SimulationParameters& p) { p.wind_force = 7; },
       refused(P::wind_force, V::outside_range, "7")},
      {"wind below calm", [](SimulationParameters& p) { p.wind_force = -1; },
       refused(P::wind_force, V::outside_range, "-1")},
      // Both wrong: the transect is named, as the window names its fields in reading order.
      {"transect before runs",
       [](SimulationParameters& p) { p.transect_length = 0, p.run_count = 0; },
       refused(P::transect_length, V::below_minimum, "0", 1)},
  };
  for (const auto& c : cases) {
    SimulationParameters p;
    c.change(p);
    EXPECT_EQ(parameter_fields(refusal_of([&] { check_parameters(p); })), c.expected) << c.name;
  }
}

TEST(SimulationParameters, TheEndsOfEachRangePass) {
  SimulationParameters p;
  p.transect_length = 1;
  p.run_count = 1;
  p.carbon_fraction = 1;
  p.density.at(1, 1) = 1.5f;
  p.density.at(2, 2) = 1e-6f;
  p.wind_force = 5;
  EXPECT_NO_THROW(check_parameters(p));
  p.wind_force = 0;
  p.carbon_fraction = 1e-6f;
  EXPECT_NO_THROW(check_parameters(p));
}

TEST(SimulationParameters, AShortTransectIsRefusedAlikeWhereverItIsMet) {
  for (const int length : {0, -5}) {
    SimulationParameters p;
    p.transect_length = static_cast<std::int16_t>(length);
    const auto expected =
        refused(Parameter::transect_length, ValueProblem::below_minimum, std::to_string(length), 1);
    EXPECT_EQ(parameter_fields(refusal_of([&] { check_parameters(p); })), expected);
    EXPECT_EQ(
        parameter_fields(refusal_of([&] { crossing_probability(1, length, WindButton::none, 0); })),
        expected);
    EXPECT_EQ(
        parameter_fields(refusal_of([&] { expected_model2(Inventory{}, p, WindButton::none); })),
        expected);
  }
}

}  // namespace
}  // namespace quorvel
