// The batch front end reading tallies as spreadsheets save them: the figures of every form are
// those of the same tally in the inventory format, a plot column makes inventories of its
// own, the reports beside the inventories are never read as data, and what looks wrong is
// warned of.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/batch_folder.h"
#include "../support/encoded_text.h"

namespace quorvel {
namespace {

using nlohmann::json;
using testing::encoded;
using TallyForms = testing::BatchFolder;

const char* const inventory_format =
    "\"H\",36.5,17.7,2.03,1\n\"S\",16.6,15.9,0.91,2\n\"C\",60,41.5,20,5\n";
const char* const russian_semicolons =
    "Порода;Д1 (см);Д2 (см);Длина (м);Стадия\r\nH;36,5;17,7;2,03;1\r\nS;16,6;15,9;0,91;2\r\n"
    "C;60;41,5;20;5\r\n";

// The engine's own table reads every form piece by piece; here the batch reads the file, takes
// the species map and computes from what it read.
TEST_F(TallyForms, EachFormGivesTheFiguresOfTheInventoryFormat) {
  const std::vector<std::string> args = {"--json", "--expected-only", "--seed", "1"};
  auto with = args;
  with.push_back(write("plot.txt", inventory_format));
  ASSERT_EQ(batch(with), 0) << result_.err;
  const json expected = json_lines().at(0);
  const std::string map = write("species.csv", "дуб,H\nбереза,S\nель,C\n");
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> options = {};
  } forms[] = {
      {"windows_1251", encoded(russian_semicolons, "CP1251")},
      {"utf16le_species_words",
       encoded("вид\td1\td2\tl\tкласс\nдуб\t36.5\t17.7\t2.03\tI\nБерёза\t16.6\t15.9\t0.91\t2\n"
               "ЕЛЬ\t60\t41.5\t20\t5\n",
               "UTF-16LE"),
       {"--species-map", map}},
      // Units and quoted decimal commas read alike in the reader's own table.
      {"polish_headers_named_by_column",
       "Gatunek;Śr1;Śr2;Długość;Rozkład\nH;36,5;17,7;2,03;1\nS;16,6;15,9;0,91;2\nC;60;41,5;20;5\n",
       {"--column", "species=Gatunek", "--column", "d1=Śr1", "--column", "d2=Śr2", "--column",
        "length= Długość ", "--column", "stage=Rozkład"}},
  };
  for (const auto& form : forms) {
    SCOPED_TRACE(form.name);
    with = args;
    with.insert(with.end(), form.options.begin(), form.options.end());
    with.push_back(write(std::string(form.name) + ".csv", form.bytes));
    ASSERT_EQ(batch(with), 0) << result_.err;
    const json j = json_lines().at(0);
    EXPECT_EQ(j["record_count"], 3);
    EXPECT_EQ(j["model1"], expected["model1"]);
    EXPECT_EQ(j["model2_expected"], expected["model2_expected"]);
    EXPECT_FALSE(j.contains("plot") || j.contains("warnings")) << j.dump();
  }
}

// A long file's plots get the figures of the same plots in files of their own, with two jobs,
// in the order given; model 2 differs only by the seed, which is the plot's own.
TEST_F(TallyForms, EachPlotOfALongFileIsAnInventoryOfItsOwn) {
  const std::string tally = write("tally.csv",
                                  "plot,species,d1,d2,length,stage\nP07,H,36.5,17.7,2.03,1\n"
                                  "A/1,C,60,41.5,20,5\nP07,S,16.6,15.9,0.91,2\n");
  const std::string a = write("a.txt", "H,36.5,17.7,2.03,1\nS,16.6,15.9,0.91,2\n");
  const std::string b = write("b.txt", "C,60,41.5,20,5\n");
  const std::string c = write("c.txt", "S,20,20,10,1\n");
  const auto start = [&](std::vector<std::string> files) {
    files.insert(files.begin(), {"--json", "--no-reports", "--jobs", "2", "--expected-only"});
    return batch(files);
  };
  ASSERT_EQ(start({a, b, c}), 0);
  const std::vector<json> files = json_lines("");  // without the stand estimates after them
  ASSERT_EQ(start({tally, c}), 0);
  std::vector<json> plots = json_lines("");
  ASSERT_EQ(plots.size(), 3u);
  const char* const names[] = {"P07", "A/1", nullptr};
  for (std::size_t i = 0; i < plots.size(); ++i) {
    EXPECT_EQ(plots[i].value("plot", json()), names[i] ? json(names[i]) : json());
    plots[i].erase("plot");
    plots[i]["inventory"] = files[i]["inventory"];
    plots[i]["seed"] = files[i]["seed"];
    EXPECT_EQ(plots[i], files[i]) << i;
  }
}

TEST_F(TallyForms, OwnReportsAndTablesAmongTheInventoriesAreSkippedWithOneNote) {
  const std::string plot = write("plot.txt", "S,20,20,10,1\n");
  ASSERT_EQ(batch({"--seed", "4", "--summary", in("sum.csv"), "--stand-summary", in("stand.csv"),
                   "--pieces", in("pieces.csv"), "--runs-csv", in("runs.csv"), plot}),
            0);
  const std::string first = result_.out;
  const std::string stock = folder_.in("plotm_results.txt");
  const std::string estimate = folder_.in("plots_results.txt");
  EXPECT_EQ(batch({"--seed", "4", "--stand-summary", in("stand.csv"), plot, stock, estimate}), 0);
  EXPECT_EQ(result_.out, first);
  EXPECT_EQ(result_.err, "quorvel-batch: skipped 2 files Quorvel wrote itself (" + stock + ", " +
                             estimate + ")\n");
  // A rerun over the folder finds the earlier run's tables under any name, and only the plot.
  ASSERT_EQ(
      batch({"--seed", "4", "--no-reports", "--summary", in("again.csv"), folder_.path().string()}),
      0)
      << result_.err;
  EXPECT_EQ(result_.err, "quorvel-batch: skipped 6 files Quorvel wrote itself (" +
                             in("pieces.csv") + ", " + stock + ", " + estimate + ", ...)\n");
  EXPECT_NE(result_.out.find(plot + ": 1 record, L = 100 m, seed 4\n"), std::string::npos);
}

TEST_F(TallyForms, ImplausibleFiguresAreWarnedOfButComputed) {
  const std::string plot = write("plot.txt", "S,650,660,10,1\nS,20,20,200,1\nS,500,20,1,1\n");
  ASSERT_EQ(batch({"--json", "--expected-only", plot}), 0);
  EXPECT_EQ(result_.err,
            "quorvel-batch: warning: " + plot +
                ", line 1, record 1: diameter 660 cm above 300 cm (typed in mm?); 2 pieces in "
                "all\nquorvel-batch: warning: " +
                plot +
                ", line 2, record 2: length 200 m above the plot's diagonal 141.4213562373095 m "
                "(typed in cm? or the transect length?)\nquorvel-batch: warning: " +
                plot +
                ": model 1 carbon 1136.2497213735376 t C/ha above 1000 t C/ha (diameters in mm? "
                "lengths in cm?)\n");
  EXPECT_EQ(json_lines().at(0)["warnings"], json::parse(R"([
      {"kind": "diameter_above_limit", "line": 1, "record": 1, "value": 660, "limit": 300,
       "count": 2},
      {"kind": "longer_than_diagonal", "line": 2, "record": 2, "value": 200,
       "limit": 141.4213562373095, "count": 1},
      {"kind": "carbon_above_limit", "line": 0, "record": 0, "value": 1136.2497213735376,
       "limit": 1000, "count": 1}])"));
}

// A plot whose pieces have no length has model 1's carbon, volume and surface and says why the
// rest is not there; a plot with a bad row is refused alone; the others are computed.
TEST_F(TallyForms, PlotsWithoutLengthsOrWithABadRowLeaveTheOtherPlotsComputed) {
  const std::string tally = write("t.csv",
                                  "plot,species,diameter,stage,length\nA,S,20,1,NA\nA,H,10,2,3\n"
                                  "B,S,20,1,x\nC,S,20,1,10\n");
  EXPECT_EQ(batch({"--no-reports", "--seed", "1", tally}), 1);
  EXPECT_NE(
      result_.out.find(
          tally + ", plot A: 2 records, L = 100 m, seed 8716251059316616423\n  model 1:  carbon "
                  "1,1331960134265 t C/ha, pieces/ha not computed: 1 pieces "
                  "have no length\n"),
      std::string::npos)
      << result_.out;
  EXPECT_NE(result_.out.find("  model 2:  not computed: 1 pieces have no length\n  expected: "
                             "not computed: 1 pieces have no length\n"),
            std::string::npos);
  EXPECT_EQ(result_.err, "quorvel-batch: " + tally +
                             ", plot B, line 4, record 3, column \"length\" (length): expected "
                             "a length in m, a number above 0, found \"x\"\n");
  ASSERT_EQ(batch({"--json", "--no-reports", "--drop-incomplete", "--expected-only", tally}), 1);
  const std::vector<json> plots = json_lines("");
  ASSERT_EQ(plots.size(), 3u);
  EXPECT_EQ(plots[0]["model1"]["pieces_per_ha"], json());
  EXPECT_EQ(plots[0]["model2_expected"], json());
  EXPECT_EQ(plots[0]["not_computed"], json({{"reason", "pieces_without_length"},
                                            {"count", 1},
                                            {"text", "not computed: 1 pieces have no length"}}));
  EXPECT_EQ(plots[2]["model1"]["pieces_per_ha"], 15);
  EXPECT_FALSE(plots[2].contains("not_computed"));
}

// The README's worked example: a plot of two lines, one of them two segments on slopes, a tally
// of crossing diameters and a coefficients table. By hand L = 25 / sqrt(1 + 0.75^2) + 20 /
// sqrt(1 + 0.1^2) + 10 = 49.900743804199784 m, and each piece, a cylinder of radius r weighted by
// L x 1.57 / length, gives 15700 x pi x r^2 / L m3/ha (pi 3.14159265358979), 15700 x pi x 2r / L
// m2/ha, and that volume x density x reduction x carbon t C/ha: 15700 x pi / L x (0.01 x 0.4 x
// 0.5 + 0.0025 x 0.55 x 0.48 + 0.0225 x 0.2 x 0.8 x 0.5). Pieces: 15700 x (1/4 + 1/2 + 1/5) / L =
// 298.9 per hectare. One line of the summed length gives the same figures, and without the
// lengths the same carbon, volume and surface; the expectation is left out for two lines.
TEST_F(TallyForms, ATwoLinePlotOnSlopesGivesModel1ByHandAndAsOneLineOfItsLength) {
  const std::string tally = write("t.csv",
                                  "Plot,Transect,Species,Diam_cm,Decay,Length\nP1,A,S,20,1,4\n"
                                  "P1,A,H,10,2,2\nP1,B,C,30,5,5\n");
  const std::string lines = write("lines.csv",
                                  "plot,line,slope_distance,slope,horizontal\nP1,A,25,75,\n"
                                  "P1,A,20,10,\nP1,B,,,10\n");
  const std::string table = write("k.csv",
                                  "species,stage,density,reduction,carbon\nS,1,0.40,1,0.5\n"
                                  "H,2,0.55,,0.48\nC,5,0.20,0.8,\n");
  const std::vector<std::string> args = {
      "--json", "--expected-only", "--no-reports", "--coefficients",
      table,    "--lines",         lines,          tally};
  ASSERT_EQ(batch(args), 0) << result_.err;
  const json two = json_lines().at(0);
  EXPECT_EQ(two["lines_length_m"], 49.900743804199784);
  EXPECT_EQ(two["model1"]["pieces_per_ha"], 298);
  EXPECT_EQ(two["not_computed"]["text"],
            "not computed: the plot has 2 lines, model 2 simulates one");
  write("lines.csv", "plot,line,horizontal\nP1,1,49.900743804199784\n");
  write("t.csv", "Plot,Species,Diam_cm,Decay,Length\nP1,S,20,1,4\nP1,H,10,2,2\nP1,C,30,5,5\n");
  ASSERT_EQ(batch(args), 0) << result_.err;
  EXPECT_EQ(json_lines().at(0)["model1"], two["model1"]);
  write("t.csv", "Plot,Species,Diam_cm,Decay\nP1,S,20,1\nP1,H,10,2\nP1,C,30,5\n");
  ASSERT_EQ(batch(args), 0) << result_.err;
  const json without_lengths = json_lines().at(0);
  EXPECT_EQ(without_lengths["model1"]["pieces_per_ha"], json());
  const double volume[] = {9.884222338427057, 2.471055584606764, 22.23950026146088};
  const double surface[] = {197.6844467685411, 98.84222338427057, 296.5266701528117};
  for (const json& m : {two["model1"], without_lengths["model1"]}) {
    const auto by_hand = [](const json& got, double expected) {
      EXPECT_NEAR(got.get<double>(), expected, 1e-12 * expected);
    };
    by_hand(m["carbon_t_per_ha"], 4.408363162938467);
    for (int g = 0; g < 3; ++g) {
      by_hand(m["volume_m3_per_ha"][g], volume[g]);
      by_hand(m["surface_m2_per_ha"][g], surface[g]);
    }
  }
}

// A lines file: the tally's lines checked against it, plots it lacks refused by name, and its
// plots without pieces counted in the stand; one line of 50 m gives the figures of L = 50.
TEST_F(TallyForms, ALinesFileChecksTheTallysLinesAndCountsItsPlotsWithoutPieces) {
  const std::string tally = write("t.csv",
                                  "plot;line;species;d_mm;length_ft;stage\nP1;1;S;200;32,8;1\n"
                                  "P2;1;S;200;32,8;1\nP2;2;S;200;32,8;1\nP3;9;S;200;32,8;1\n"
                                  "P4;1;S;200;32,8;1\n");
  const std::string lines = write("lines.csv",
                                  "plot;line;horizontal (cm)\nP1;1;5000\nP2;1;5000\nP2;2;5000\n"
                                  "P3;1;5000\nP5;1;5000\n");
  const std::vector<std::string> args = {"--expected-only", "--no-reports", "--seed", "1"};
  auto with = args;
  for (const std::string& arg : {std::string("--lines"), lines, tally}) with.push_back(arg);
  EXPECT_EQ(batch(with), 1);
  for (const char* text : {", plot P1: 1 record, L = 50 m (1 line), seed ",
                           ", plot P2: 2 records, L = 100 m (2 lines), seed ",
                           "  expected: not computed: the plot has 2 lines, model 2 simulates one",
                           "lines.csv, plot P5: 0 records, L = 50 m (1 line), seed ",
                           "  all plots: 3 plots (2 refused)\n", "    expected: not computed"})
    EXPECT_NE(result_.out.find(text), std::string::npos) << text;
  EXPECT_EQ(result_.err,
            "quorvel-batch: " + tally +
                ", plot P3, line 5, record 4, column \"line\" (line): the line \"9\" is not among "
                "the plot's lines in the lines file\nquorvel-batch: " +
                tally + ", plot P4: the lines file " + lines +
                " has no line of this plot\nquorvel-batch: warning: " + lines +
                ", plot P5: the tally holds no piece\n");
  with.insert(with.begin(), "--json");
  batch(with);
  const json p1 = json_lines().at(0);
  with = args;
  for (const char* arg : {"--json", "--transect-length", "50"}) with.push_back(arg);
  with.push_back(write("p1.csv", "line;species;d_mm;length_ft;stage\n1;S;200;32,8;1\n"));
  ASSERT_EQ(batch(with), 0) << result_.err;
  const json fifty = json_lines().at(0);
  EXPECT_EQ(p1["model1"], fifty["model1"]);
  EXPECT_EQ(p1["model2_expected"], fifty["model2_expected"]);

  // One line of a decimal length: a 5 m piece at any angle crosses with chance (2 / pi) (L x 5 -
  // 25 / 4) / L^2, so 10000 pi / (2 (49.55 x 5 - 6.25)) pieces per hectare are expected, and the
  // runs of model 2 approach it (a fixed seed: within four standard errors).
  write("lines.csv", "plot,line,horizontal\nP1,1,49.55\n");
  write("t.csv", "plot,species,diameter,length,stage\nP1,S,20,5,1\n");
  ASSERT_EQ(
      batch({"--json", "--no-reports", "--seed", "1", "--runs", "400", "--lines", lines, tally}), 0)
      << result_.err;
  const json decimal = json_lines().at(0);
  EXPECT_NEAR(decimal["model2_expected"]["pieces_per_ha"].get<double>(), 65.04332616127937,
              1e-12 * 65.04);
  EXPECT_NEAR(decimal["model2"]["carbon_t_per_ha"].get<double>(),
              decimal["model2_expected"]["carbon_t_per_ha"].get<double>(),
              4 * decimal["model2"]["carbon_t_per_ha_stderr"].get<double>());
}

// A refusal with a hint at the form, as the user reads it.
TEST_F(TallyForms, RefusalsHintAtTheFormAndNameTheSpeciesMap) {
  const std::string blanks = write("blanks.csv", "S 20 20 10 1\nH 10 10 2 2\n");
  EXPECT_EQ(batch({blanks}), 1);
  EXPECT_EQ(result_.err,
            "quorvel-batch: " + blanks +
                ", line 2, record 1: the file ends inside the record after field 2 "
                "(diameter 1); a record has five fields; line 2 has 5 fields separated "
                "by blanks: separate the fields by commas, semicolons or tabs\n");
  // The batch tells the missing species map from a missing inventory file.
  const std::string missing = folder_.in("missing.csv");
  EXPECT_EQ(batch({"--species-map", missing, write("p.txt", inventory_format)}), 1);
  EXPECT_EQ(result_.err,
            "quorvel-batch: cannot open species map " + missing + ": No such file or directory\n");
}

}  // namespace
}  // namespace quorvel
