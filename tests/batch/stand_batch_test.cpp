// The batch across plots: stand estimates by stratum, the summary that can be reproduced, the
// detail per piece and per run, the charts, and inventories given in bulk.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "../support/batch_folder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::file_bytes;
using testing::lines_of;
using StandBatch = testing::BatchFolder;

// t(0.975; 1), the 97.5% quantile of Student's t on one degree of freedom: tan(0.475 pi).
constexpr double t_one = 12.706204736174698;

// The fields of a CSV line, quotes undone.
std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      out.back() += line[++i];
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      out.emplace_back();
    } else {
      out.back() += c;
    }
  }
  return out;
}

// The cell of `column` in `row`, by the header.
std::string cell(const std::string& header, const std::string& row, const std::string& column) {
  const auto names = fields(header);
  const auto values = fields(row);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == column) return values.at(i);
  ADD_FAILURE() << "no column " << column;
  return "";
}

// The README's worked example: plots of 200, 400 and 900 pieces per hectare (2, 4 and 9
// pieces of 1.57 m on the 100 m plot), the first two in "pine" (30 ha), the third in "spruce"
// (10 ha).
TEST_F(StandBatch, TheWorkedExampleAndTheMeansOfThePlotLines) {
  const fs::path saved = fs::current_path();
  fs::current_path(QUORVEL_SOURCE_DIR);
  batch({"--json", "--no-reports", "--runs", "3", "--seed", "2", "--strata",
         "examples/stand/strata.csv", "--stand-summary", in("stand.csv"), "examples/stand/p1.txt",
         "examples/stand/p2.txt", "examples/stand/p3.txt"});
  fs::current_path(saved);
  ASSERT_EQ(result_.status, 0) << result_.err;
  const auto lines = json_lines();
  ASSERT_EQ(lines.size(), 6u);
  const json &pine = lines[3], &spruce = lines[4], &stand = lines[5];
  EXPECT_EQ(lines[0]["stratum"], "pine");
  EXPECT_EQ(lines[2]["stratum"], "spruce");

  // The README's figures by hand are the estimator's own test; here their JSON form: a stratum
  // of one plot has nulls, the stand no sd.
  EXPECT_EQ(pine["n"], 2);
  EXPECT_EQ(pine["model1"]["pieces_per_ha"]["sd"].get<double>(), std::sqrt(20000.0));
  EXPECT_EQ(spruce["n"], 1);
  EXPECT_EQ(spruce["model1"]["pieces_per_ha"], json({{"mean", 900.0},
                                                     {"sd", nullptr},
                                                     {"se", nullptr},
                                                     {"ci95_low", nullptr},
                                                     {"ci95_high", nullptr}}));
  EXPECT_EQ(stand["kind"], "stand");
  EXPECT_EQ(stand["strata_without_variance"], 1);
  EXPECT_FALSE(stand["model1"]["pieces_per_ha"].contains("sd"));
  EXPECT_NEAR(stand["model1"]["pieces_per_ha"]["ci95_low"].get<double>(), 450 - 75 * t_one, 1e-9);

  // Every estimate and figure against the plain mean and standard deviation of the plot lines.
  for (const char* estimate : {"model1", "model2", "model2_expected"}) {
    SCOPED_TRACE(estimate);
    const auto figure = [&](const json& line, int stage, int group) {
      return line[estimate]["carbon_by_stage_group"][stage][group];
    };
    const auto carbon = [&](int i) { return lines[i][estimate]["carbon_t_per_ha"].get<double>(); };
    const double mean = (carbon(0) + carbon(1)) / 2;
    const double sd = std::abs(carbon(0) - carbon(1)) / std::sqrt(2.0);
    EXPECT_NEAR(pine[estimate]["carbon_t_per_ha"]["mean"].get<double>(), mean, 1e-14 * mean);
    EXPECT_NEAR(pine[estimate]["carbon_t_per_ha"]["sd"].get<double>(), sd, 1e-12 * mean);
    EXPECT_NEAR(stand[estimate]["carbon_t_per_ha"]["mean"].get<double>(),
                0.75 * mean + 0.25 * carbon(2), 1e-14 * mean);
    const double cell_mean =
        (figure(lines[0], 1, 2).get<double>() + figure(lines[1], 1, 2).get<double>()) / 2;
    EXPECT_NEAR(figure(pine, 1, 2)["mean"].get<double>(), cell_mean, 1e-14 * cell_mean);
    EXPECT_EQ(figure(spruce, 2, 1)["mean"], figure(lines[2], 2, 1));
    EXPECT_EQ(pine[estimate]["volume_m3_per_ha"].size(), 3u);
  }

  const auto summary = lines_of(contents("stand.csv"));
  ASSERT_EQ(summary.size(), 4u);
  EXPECT_EQ(summary[0].rfind("kind,stratum,n,model1_carbon_t_per_ha_mean,model1_carbon_t_per_ha_sd,"
                             "model1_carbon_t_per_ha_se,",
                             0),
            0u);
  EXPECT_EQ(cell(summary[0], summary[1], "model1_pieces_per_ha_mean"), "300");
  EXPECT_EQ(cell(summary[0], summary[2], "model1_pieces_per_ha_se"), "");
  EXPECT_EQ(cell(summary[0], summary[3], "model1_pieces_per_ha_se"), "75");
  EXPECT_EQ(cell(summary[0], summary[3], "kind"), "stand");
  EXPECT_EQ(fields(summary[0]).size(), 3 + 3 * 23 * 5u);
}

TEST_F(StandBatch, TextSaysWhatCannotBeEstimated) {
  const std::string a = write("a.txt", "S,20,20,1.57,1\n");
  const std::string b = write("b.txt", "S,20,20,1.57,1\nS,20,20,1.57,1\n");
  const std::string strata = write("strata.csv", "plot;stratum\n" + a + ";one\n" + b + ";two\n");
  EXPECT_EQ(batch({"--expected-only", "--strata", strata, a, b}), 0) << result_.err;
  const std::string& text = result_.out;
  EXPECT_NE(text.find("  stratum \"one\": 1 plot; one plot: no standard error can be given\n"
                      "    model 1:  carbon "),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  stand: 2 strata weighted by plots, 2 plots; every stratum has one "
                      "plot: no standard error can be given\n"),
            std::string::npos)
      << text;
  // One plot alone, no strata: no stand block.
  batch({"--expected-only", a});
  EXPECT_EQ(result_.out.find("stand"), std::string::npos) << result_.out;

  // A plot listed but not given leaves its stratum out of the stand, which the others still
  // give, with a warning; a tally's own stratum column is taken over the file, with a warning.
  const std::string areas = write("areas.csv", "plot,stratum,area_ha\n" + a + ",one,3\n" + b +
                                                   ",one,3\n" + in("c.txt") + ",three,1\n");
  const std::string tally = write("t.csv",
                                  "plot;stratum;species;d1;d2;length;stage\n"
                                  "p1;own;S;20;20;1.57;1\n");
  EXPECT_EQ(batch({"--expected-only", "--json", "--strata", areas, a, b}), 0);
  const json stand = json_lines("stand").at(0);
  EXPECT_EQ(stand["n"], 2);
  EXPECT_EQ(stand["strata_without_plots"], json::array({"three"}));
  EXPECT_NE(result_.err.find("1 plot listed in the strata file " + areas + " was not given (" +
                             in("c.txt") + "); left out of the stand estimates\n"),
            std::string::npos)
      << result_.err;
  EXPECT_EQ(batch({"--expected-only", "--strata", strata, a, tally}), 0);
  EXPECT_NE(result_.err.find("warning: " + tally + " has a stratum column, which is taken"),
            std::string::npos)
      << result_.err;
}

// The summary carries the settings, its status and carbon by stage and group, and a row for a
// refused plot, whose JSON line has its status too.
TEST_F(StandBatch, SummaryCanBeReproducedAndListsRefusedPlots) {
  EXPECT_EQ(
      batch({"--no-reports", "--expected-only", "--seed", "3", "--wind", "N", "--wind-force", "2",
             "--density", "2:H=0,4", "--carbon-fraction", "0,5", "--summary", in("sum.csv"),
             "--json", write("good.txt", "S,20,20,10,1\n"), write("bad.txt", "S,20,20,-10,1\n")}),
      1);
  const std::string reason =
      result_.err.substr(15, result_.err.size() - 16);  // after "quorvel-batch: "
  const auto lines = json_lines();
  ASSERT_EQ(lines.size(), 4u);  // two plots, one stratum, the stand
  EXPECT_EQ(lines[0]["status"], "done");
  EXPECT_FALSE(lines[0].contains("model2"));  // expected only: no runs
  EXPECT_EQ(lines[1]["status"], "refused: " + reason);
  EXPECT_FALSE(lines[1].contains("model1"));
  EXPECT_EQ(lines[1]["wind"], "N");
  EXPECT_EQ(lines[1]["densities"][1][1].get<double>(), 0.4f);
  EXPECT_EQ(lines[0]["model1"]["carbon_by_stage_group"][0][0].get<double>(), 0.8804156167419418);
  EXPECT_EQ(lines[2]["plots"], 2);
  EXPECT_EQ(lines[2]["n"], 1);

  const auto csv = lines_of(contents("sum.csv"));
  ASSERT_EQ(csv.size(), 3u);
  const std::string& h = csv[0];
  // clang-format off
  const std::pair<const char*, const char*> good_cells[] = {
      {"status", "done"}, {"transect_length", "100"}, {"wind", "N"}, {"wind_force", "2"},
      {"carbon_fraction", "0.5"}, {"density_2_H", "0.4"}, {"density_1_S", "0.357"},
      {"model1_carbon_1_S", "0.8804156167419418"}, {"model1_carbon_2_S", "0"},
      {"model2_carbon_1_S", ""}, {"seed", "3"}};
  // clang-format on
  for (const auto& [column, value] : good_cells)
    EXPECT_EQ(cell(h, csv[1], column), value) << column;
  EXPECT_EQ(cell(h, csv[2], "status"), "refused: " + reason);
  EXPECT_EQ(cell(h, csv[2], "model1_carbon_t_per_ha"), "");
  EXPECT_EQ(cell(h, csv[2], "density_2_H"), "0.4");
  EXPECT_NE(cell(h, csv[1], "expected_carbon_1_S"), "");
}

TEST_F(StandBatch, PiecesAndRunsAddUpToTheAttempts) {
  const std::string plot = write("plot.txt", "S,20,20,10,1\nH,10,10,2,2\n");
  ASSERT_EQ(batch({"--json", "--no-reports", "--runs", "4", "--seed", "8", "--pieces", in("p.csv"),
                   "--runs-csv", in("r.csv"), plot}),
            0)
      << result_.err;
  const json j = json_lines().at(0);
  const auto pieces = lines_of(contents("p.csv"));
  const auto runs = lines_of(contents("r.csv"));
  ASSERT_EQ(pieces.size(), 3u);
  ASSERT_EQ(runs.size(), 5u);
  EXPECT_EQ(pieces[0],
            "inventory,plot,record,species,stage,length_m,model1_weight,crossing_probability,"
            "expected_attempts,mean_attempts,mean_attempts_se");
  EXPECT_EQ(runs[0], "inventory,plot,run,carbon_t_per_ha,pieces_per_ha,attempts");
  // 100 x 1.57 / 10 m; the chance 2l / (pi L) - l^2 / (2 pi L^2) of a piece shorter than L / 2.
  EXPECT_EQ(pieces[1].rfind("\"" + plot + "\",,1,S,1,10,15.7,", 0), 0u) << pieces[1];
  const double p = std::stod(fields(pieces[1])[7]);
  EXPECT_NEAR(p, 2 * 10 / (std::numbers::pi * 100) - 100 / (2 * std::numbers::pi * 100 * 100),
              1e-16);
  EXPECT_NEAR(std::stod(fields(pieces[1])[8]), 1 / p, 1e-12);
  EXPECT_EQ(fields(pieces[2])[3], "H");
  double attempts_by_record = 0, attempts_by_run = 0, carbon = 0;
  for (int i = 1; i <= 2; ++i) attempts_by_record += 4 * std::stod(fields(pieces[i])[9]);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(fields(runs[i])[2], std::to_string(i));
    attempts_by_run += std::stod(fields(runs[i])[5]);
    carbon += std::stod(fields(runs[i])[3]) / 4;
    EXPECT_EQ(std::stod(fields(runs[i])[4]), std::stod(fields(runs[i])[5]));  // 1 ha plot
  }
  const double placements = j["model2"]["placement_count"].get<double>();
  EXPECT_NEAR(attempts_by_record, placements, 1e-9);
  EXPECT_EQ(attempts_by_run, placements);
  EXPECT_NEAR(carbon, j["model2"]["carbon_t_per_ha"].get<double>(), 1e-12);
  EXPECT_FALSE(fields(pieces[1])[10].empty());
}

// A chart's value axis read back from its tick labels: the value at a pixel height.
struct ReadAxis {
  double pixel0, value0, per_pixel;
  explicit ReadAxis(const std::string& svg) {
    static const std::regex tick(
        R"re(class="y-tick-label" x="[\d.]+" y="([\d.]+)"[^>]*>([-\d.]+)<)re");
    std::vector<std::pair<double, double>> ticks;
    for (auto m = std::sregex_iterator(svg.begin(), svg.end(), tick); m != std::sregex_iterator();
         ++m)
      ticks.emplace_back(std::stod((*m)[1]) - 4, std::stod((*m)[2]));
    EXPECT_GE(ticks.size(), 2u);
    pixel0 = ticks.front().first;
    value0 = ticks.front().second;
    per_pixel = (ticks.back().second - value0) / (ticks.back().first - pixel0);
  }
  double value(double pixel) const { return value0 + (pixel - pixel0) * per_pixel; }
};

std::vector<double> heights(const std::string& svg, const std::string& pattern) {
  const std::regex re(pattern);
  std::vector<double> out;
  for (auto m = std::sregex_iterator(svg.begin(), svg.end(), re); m != std::sregex_iterator(); ++m)
    out.push_back(std::stod((*m)[1]));
  return out;
}

TEST_F(StandBatch, ChartsHoldTheRunningMeansAndTheStrata) {
  ASSERT_EQ(batch({"--json", "--no-reports", "--runs", "6", "--seed", "5", "--chart", in("c.svg"),
                   write("a.txt", "S,20,20,10,1\nC,30,26,4,2\n"), write("b.txt", "H,25,21,3,3\n")}),
            0)
      << result_.err;
  const auto lines = json_lines();
  for (int i = 0; i < 2; ++i) {
    const std::string svg = contents("c-" + std::to_string(i + 1) + ".svg");
    const ReadAxis axis(svg);
    const auto means =
        heights(svg, R"re(class="running-mean" points="(?:[\d.]+,[\d.]+ )*[\d.]+,([\d.]+)")re");
    ASSERT_EQ(means.size(), 1u);
    // The last running mean is model 2's carbon; the dashed line the expectation.
    const double tolerance = std::abs(axis.per_pixel) * 0.01;
    EXPECT_NEAR(axis.value(means[0]), lines[i]["model2"]["carbon_t_per_ha"].get<double>(),
                tolerance + 1e-9);
    const auto expected = heights(svg, R"re(class="expected" x1="[\d.]+" y1="([\d.]+)")re");
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_NEAR(axis.value(expected[0]),
                lines[i]["model2_expected"]["carbon_t_per_ha"].get<double>(), tolerance);
  }
  const std::string stand = contents("c-stand.svg");
  const ReadAxis axis(stand);
  const auto means = heights(stand, R"re(class="mean" cx="[\d.]+" cy="([\d.]+)")re");
  const auto plots = heights(stand, R"re(class="plot" cx="[\d.]+" cy="([\d.]+)")re");
  ASSERT_EQ(means.size(), 1u);
  ASSERT_EQ(plots.size(), 2u);
  const double tolerance = std::abs(axis.per_pixel) * 0.01;
  EXPECT_NEAR(axis.value(means[0]), lines[2]["model1"]["carbon_t_per_ha"]["mean"].get<double>(),
              tolerance);
  EXPECT_NEAR(axis.value(plots[1]), lines[1]["model1"]["carbon_t_per_ha"].get<double>(), tolerance);
}

// A folder stands for its inventories in name order, without Quorvel's reports and other files;
// a list file gives the same inventories.
// --expected-only writes no reports.
TEST_F(StandBatch, InventoriesFromAFolderOrAList) {
  fs::create_directory(folder_.path() / "plots");
  write("plots/b.txt", "S,20,20,10,1\n");
  write("plots/a.csv", "H,10,10,2,2\n");
  write("plots/bm_results.txt", "a report");
  write("plots/notes.md", "notes");
  write("list.txt", in("plots/a.csv") + "\r\n\n" + in("plots/b.txt") + "\n");
  const auto before = testing::folder_snapshot(folder_.path());
  ASSERT_EQ(batch({"--json", "--expected-only", "--seed", "1", in("plots")}), 0) << result_.err;
  const std::string from_folder = result_.out;
  EXPECT_EQ(testing::folder_snapshot(folder_.path()), before);
  batch({"--json", "--expected-only", "--seed", "1", "--inventories-from", in("list.txt")});
  EXPECT_EQ(from_folder, result_.out);
  const auto lines = json_lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0]["inventory"], in("plots/a.csv"));
  EXPECT_EQ(lines[1]["inventory"], in("plots/b.txt"));
  EXPECT_EQ(batch({"--inventories-from", in("none.txt")}), 2);
}

}  // namespace
}  // namespace quorvel
