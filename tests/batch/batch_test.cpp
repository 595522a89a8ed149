#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <utility>
#include <vector>

#include "../support/batch_folder.h"
#include "batch/plot_workers.h"
#include "field/text_encoding.h"
#include "start/refusal_words.h"
#include "start/warning_words.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using BatchTest = testing::BatchFolder;
using json = nlohmann::json;
using testing::file_bytes;

TEST_F(BatchTest, JsonCarriesModelOneExactlyAndWritesBothReports) {
  ASSERT_EQ(
      batch({"--json", "--seed", "3", "--runs", "4", write("plot.txt", "\"S\",20,20,10,1\n")}), 0)
      << result_.err;
  const auto lines = json_lines();
  ASSERT_EQ(lines.size(), 1u);
  const nlohmann::json& j = lines[0];
  EXPECT_EQ(j["record_count"], 1);
  EXPECT_EQ(j["seed"], 3);
  EXPECT_EQ(j["transect_length"], 100);
  EXPECT_EQ(j["runs"], 4);
  EXPECT_EQ(j["model1"]["carbon_t_per_ha"].get<double>(),
            0.8804156167419418);  // read back bit for bit
  EXPECT_EQ(j["model1"]["pieces_per_ha"], 15);
  EXPECT_EQ(j["model1"]["carbon_by_stage_group"][0][0].get<double>(), 0.8804156167419418);
  EXPECT_GE(j["model2"]["placement_count"].get<std::int64_t>(), 4);
  EXPECT_EQ(j["model2"]["surface_m2_per_ha"].size(), 3u);
  EXPECT_TRUE(j["model2"]["carbon_t_per_ha_stderr"].is_number());
  EXPECT_EQ(j["model2_expected"]["crossing_probability"].size(), 1u);
  // Whole reports (their line counts) are the load test's to count.
  EXPECT_NE(contents("plotm_results.txt").find("Softwood       0,880415616741942  0  0  0  0 \r\n"),
            std::string::npos);
  EXPECT_TRUE(fs::exists(in("plots_results.txt")));
}

// Every output the same to the byte with one, two or four jobs, in text and in JSON: more
// plots than the workers may run ahead of the one printed, a file of three plots and a refused
// file among them, each plot's seed from its identity. The first file is long,
// so that the files after it are read before it.
TEST_F(BatchTest, SameOutputsWhateverTheNumberOfJobs) {
  std::filesystem::create_directory(in("plots"));
  std::string strata = "plot,stratum\nA,s0\nB,s1\nC,s2\n";
  for (int i = 0; i < 20; ++i) {
    const std::string name = (i < 10 ? "plots/p0" : "plots/p") + std::to_string(i) + ".txt";
    std::string records = "S,20,20,3,1\nC,10,8,1.5," + std::to_string(1 + i % 5) + "\n";
    for (int copies = i == 0 ? 11 : 0; copies > 0; --copies) records += records;
    write(name, records);
    if (i != 7) strata += in(name) + ",s" + std::to_string(i % 3) + "\n";  // p07 unlisted
  }
  write("plots/p04b.csv",
        "plot,species,d1,d2,length,stage\nA,S,20,20,3,1\nB,H,12,10,2,2\nA,C,30,25,4,3\n"
        "C,S,8,8,1,4\n");
  write("plots/p08b.txt", "S,20,x,3,1\n");
  const std::string strata_csv = write("strata.csv", strata), stand_csv = in("stand.csv"),
                    summary_csv = in("summary.csv"), pieces_csv = in("pieces.csv");
  const std::vector<std::string> options = {
      "--no-reports",    "--seed",  "11",        "--runs",    "2",        "--strata", strata_csv,
      "--stand-summary", stand_csv, "--summary", summary_csv, "--pieces", pieces_csv, in("plots")};
  for (const bool json : {false, true}) {
    SCOPED_TRACE(json ? "json" : "text");
    std::vector<std::string> first;
    for (const char* jobs : {"1", "2", "4"}) {
      std::vector<std::string> args = options;
      args.insert(args.end(), {"--jobs", jobs});
      if (json) args.push_back("--json");
      EXPECT_EQ(batch(args), 1);  // for p08b
      const std::vector<std::string> outputs = {result_.out, result_.err, file_bytes(summary_csv),
                                                file_bytes(stand_csv), file_bytes(pieces_csv)};
      if (first.empty()) first = outputs;
      EXPECT_EQ(outputs, first) << "--jobs " << jobs;
    }
  }
  // The JSON lines of the last run: in file-then-plot order, each plot with a seed of its own.
  const auto plots = json_lines("");
  ASSERT_EQ(plots.size(), 20u + 3 + 1);
  EXPECT_EQ(plots[5]["plot"], "A");
  EXPECT_EQ(plots[7]["plot"], "C");
  EXPECT_EQ(plots[8]["inventory"], in("plots/p05.txt"));
  EXPECT_EQ(plots[12]["inventory"], in("plots/p08b.txt"));
  EXPECT_EQ(plots[13]["inventory"], in("plots/p09.txt"));
  std::set<std::uint64_t> seeds;
  for (const auto& plot : plots) seeds.insert(plot["seed"].get<std::uint64_t>());
  EXPECT_EQ(seeds.size(), plots.size());
  EXPECT_EQ(json_lines("stand").size(), 1u);
}

// A callback that throws stops the workers, whichever plot it fails on, and its exception comes
// out of run_plot_workers; the outcomes handed on before it are the first ones, in order.
TEST_F(BatchTest, AFailingCallbackStopsTheWorkers) {
  std::vector<std::string> files;
  for (int i = 0; i < 40; ++i) files.push_back(write(std::to_string(i) + ".txt", "S,20,20,3,1\n"));
  for (const bool in_take : {false, true}) {
    for (const int jobs : {1, 2, 4}) {
      SCOPED_TRACE((in_take ? "take, jobs " : "process, jobs ") + std::to_string(jobs));
      std::vector<std::string> taken;
      const auto process = [&](PlotWork work) {
        if (!in_take && work.position == 25) throw std::runtime_error("process");
        PlotOutcome outcome;
        outcome.inventory = work.file;
        return outcome;
      };
      const auto take = [&](PlotOutcome outcome) {
        if (in_take && taken.size() == 25) throw std::runtime_error("take");
        taken.push_back(outcome.inventory);
      };
      EXPECT_THROW(run_plot_workers(files, TallyOptions{}, jobs, process, take),
                   std::runtime_error);
      ASSERT_LE(taken.size(), 25u);
      EXPECT_TRUE(std::equal(taken.begin(), taken.end(), files.begin()));
      if (in_take) {
        EXPECT_EQ(taken.size(), 25u);
      }
    }
  }
}

// A plot's seed follows from the batch seed and the plot: a file added before it, another name
// of its folder leave it and its figures as they were (pinned: they must not move); a batch of
// one plot takes the seed as given, and the plots of a long file each have their own.
TEST_F(BatchTest, APlotsSeedDependsOnlyOnThePlot) {
  fs::create_directory(folder_.path() / "fold");
  write("fold/north.txt", "S,20,20,10,1\n");
  write("fold/south.txt", "C,30,10,4,5\nH,12,10,3,2\n");
  const auto lines = [&](const std::string& given) {
    EXPECT_EQ(batch({"--json", "--no-reports", "--seed", "7", "--runs", "3", given}), 0);
    std::vector<json> plots = json_lines("");
    for (json& plot : plots) plot.erase("inventory");
    return plots;
  };
  const auto before = lines(in("fold"));
  write("fold/middle.txt", "H,40,30,5,3\n");
  fs::rename(folder_.path() / "fold", folder_.path() / "other");
  const auto after = lines(in("other"));
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(before, std::vector<json>({after[1], after[2]}));
  EXPECT_EQ(before[0]["seed"], 12448829027662036741u);
  EXPECT_EQ(before[1]["seed"], 11634499093800706162u);
  EXPECT_EQ(lines(in("other/south.txt")).at(0)["seed"], 7);
  const auto plots =
      lines(write("t.csv", "plot,species,d1,d2,length,stage\nA,S,9,9,9,1\nB,S,9,9,9,1\n"));
  EXPECT_NE(plots.at(0)["seed"], plots.at(1)["seed"]);
}

// Parameter texts the batch refuses, and values of the wrong form, are in the edge numbers'
// table, with the folder kept.
TEST_F(BatchTest, UsageErrorsExitTwoAndHelpListsTheOptions) {
  EXPECT_EQ(batch({}), 2);
  EXPECT_EQ(batch({"--help"}), 0);
  for (const char* option :
       {"--transect-length", "--input-separator", "--input-decimal", "--input-encoding",
        "--species-map", "--plot-column", "--coefficients", "--lines", "--column",
        "--drop-incomplete", "--diameter-unit", "--length-unit"})
    EXPECT_NE(result_.out.find(option), std::string::npos) << option;
  // Values are named as a user reads them, not by the parser's types and sets.
  for (const char* type : {":{", ":INT", ":POSITIVE", "[1 - 64]", "TEXT", ":FLOAT"})
    EXPECT_EQ(result_.out.find(type), std::string::npos) << type;
}

TEST_F(BatchTest, ParametersAreReadAsTheWindowReadsItsFields) {
  ASSERT_EQ(batch({"--json", "--no-reports", "--transect-length", "50", "--runs", "2,5",
                   "--density", "5:C=0,100", "--seed", "1", write("plot.txt", "C,30,10,4,5\n")}),
            0)
      << result_.err;
  const auto j = json_lines().at(0);
  EXPECT_EQ(j["runs"], 2);  // 2,5 rounds to the even neighbour
  EXPECT_EQ(j["model1"]["carbon_t_per_ha"].get<double>(), 0.5343325584602389);
  EXPECT_EQ(j["model1"]["pieces_per_ha"], 78);
  EXPECT_FALSE(fs::exists(folder_.path() / "plotm_results.txt"));
}

// The README's example worked by hand: the table's carbon in model 1, the table named in the
// settings.
TEST_F(BatchTest, CoefficientsTableIsRecordedBesideTheSettings) {
  const std::string table = write("k.csv", "species,stage,density,reduction\nPl,4,0.3,0.8\n");
  const std::string map = write("map.csv", "Pl,C\n");
  const std::string plot = write("plot.csv", "species,d1,d2,length,stage\nPl,20,20,10,4\n");
  ASSERT_EQ(batch({"--json", "--no-reports", "--coefficients", table, "--species-map", map,
                   "--summary", in("sum.csv"), plot}),
            0)
      << result_.err;
  const auto j = json_lines().at(0);
  EXPECT_EQ(j["coefficients"], table);
  EXPECT_EQ(j["model1"]["carbon_t_per_ha"].get<double>(), 0.5918760559363164);
  const auto summary = testing::lines_of(contents("sum.csv"));
  ASSERT_EQ(summary.size(), 2u);
  EXPECT_TRUE(summary[0].ends_with(",coefficients"));
  EXPECT_TRUE(summary[1].ends_with(",\"" + table + "\"")) << summary[1];
  // A piece without a row refuses its inventory and names it.
  EXPECT_EQ(batch({"--no-reports", "--coefficients", table, write("p2.txt", "H,9,9,2,3\n")}), 1);
  EXPECT_NE(result_.err.find("has no row for these species and stages: H 3"), std::string::npos)
      << result_.err;
}

TEST_F(BatchTest, TraceHasOneLinePerAttempt) {
  ASSERT_EQ(batch({"--json", "--no-reports", "--runs", "3", "--seed", "8", "--trace",
                   in("trace.csv"), write("plot.txt", "S,20,20,5,1\nH,10,10,2,2\n")}),
            0)
      << result_.err;
  const auto trace = testing::lines_of(contents("trace.csv"));
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace[0], "run,record,attempt,x1,y1,x2,y2,angle,crossed");
  EXPECT_EQ(trace.size() - 1, json_lines().at(0)["model2"]["placement_count"].get<std::size_t>());
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](auto& l) { return l.back() == '1'; }),
            3 * 2);
}

// --no-reports takes any inventory path, even one too short to name reports after (which is
// refused in words of its own otherwise).
TEST_F(BatchTest, WithoutReportsAnyInventoryPathWillDo) {
  write("p", "S,20,20,10,1\n");
  const fs::path saved = fs::current_path();
  fs::current_path(folder_.path());
  EXPECT_EQ(batch({"--no-reports", "p"}), 0) << result_.err;
  EXPECT_EQ(batch({"p"}), 1);
  fs::current_path(saved);
}

// Names are bytes: a Windows-1251 file name, a line break or markup in one, a Windows-1251
// strata file. Every JSON line still parses, the CSV is UTF-8, the charts are XML and the text
// gives each plot its one heading line.
TEST_F(BatchTest, EveryOutputStaysReadableWhateverTheNamesHold) {
  const struct {
    const char* name;
    std::string file;   // the inventory's name in the folder
    std::string shown;  // as the JSON line gives it
    bool listed;        // in the strata file, which is text: not with a byte of no encoding
  } cases[] = {
      {"Windows-1251", "\xEF\xEB\xEE\xF9\xE0\xE4\xEA\xE0.txt", "площадка.txt", true},
      {"a byte no encoding knows", "p\x98.txt", "p\uFFFD.txt", false},
      {"a line break", "two\nlines.txt", "two\nlines.txt", true},
      {"markup", "<a&b>.txt", "<a&b>.txt", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const testing::TemporaryFolder folder;
    const std::string plain = folder.write("plain.txt", "S,20,20,10,1\n");
    const std::string odd = folder.write(c.file, "S,20,20,5,1\n");
    std::string listing = "plot,stratum\n" + plain + ",\xD1\xEE\xF1\xED\xE0\n";
    if (c.listed) listing += '"' + odd + "\",\xD1\xEE\xF1\xED\xE0\n";
    const std::string strata = folder.write("strata.csv", listing);
    EXPECT_EQ(batch({"--json", "--no-reports", "--runs", "2", "--strata", strata, "--summary",
                     folder.in("s.csv"), "--chart", folder.in("c.svg"), plain, odd}),
              0)
        << result_.err;
    const auto lines = json_lines();  // each parses
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1]["inventory"], folder.in(c.shown));
    EXPECT_EQ(lines[0]["stratum"], "Сосна");
    EXPECT_EQ(lines[3]["n"], c.listed ? 2 : 1);
    EXPECT_TRUE(is_valid_utf8(testing::file_bytes(folder.in("s.csv"))));
    for (const auto& entry : fs::directory_iterator(folder.path())) {
      if (entry.path().extension() != ".svg") continue;
      const std::string svg = testing::file_bytes(entry.path());
      EXPECT_TRUE(is_valid_utf8(svg)) << entry.path();
      EXPECT_EQ(std::count_if(svg.begin(), svg.end(),
                              [](char ch) { return ch > 0 && ch < ' ' && ch != '\n'; }),
                0);
      EXPECT_EQ(svg.find("<a&"), std::string::npos);
    }
    batch({"--no-reports", "--runs", "2", plain, folder.write("plain2.txt", "S,20,20,10,1\n")});
    const std::string two_plain = result_.out;
    batch({"--no-reports", "--runs", "2", plain, odd});
    EXPECT_EQ(std::ranges::count(result_.out, '\n'), std::ranges::count(two_plain, '\n'))
        << result_.out;
  }
}

// Two plots of one run never write the same file: the first to want a name takes it (the
// reports of NAME.txt are always its own), a later one takes it with "-2", "-3" after the stem.
// A name that leads to an input, by a link say, is refused; the inputs stay as they were.
TEST_F(BatchTest, NoTwoPlotsWriteTheSameFile) {
  const std::string ids = "plot,species,d1,d2,length,stage\n";
  const struct {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // in the order given
    std::vector<std::string> options;
    std::set<std::string> written;
    int status = 0;
  } cases[] = {
      {"one stem, three forms",
       {{"p.tsv", "species\td1\td2\tlength\tstage\nC\t20\t20\t10\t1\n"},
        {"p.csv", "species,d1,d2,length,stage\nH,20,20,10,1\n"},
        {"p.txt", "S,20,20,10,1\n"}},
       {},
       {"pm_results.txt", "ps_results.txt", "p-2m_results.txt", "p-2s_results.txt",
        "p-3m_results.txt", "p-3s_results.txt"}},
      {"plot ids made safe alike, reports and traces",
       {{"t.csv", ids + "a/b,S,20,20,10,1\na_b,H,20,20,10,1\na:b,C,20,20,10,1\n"}},
       {"--trace", "tr.csv"},
       {"t-a_bm_results.txt", "t-a_bs_results.txt", "t-a_b-2m_results.txt", "t-a_b-2s_results.txt",
        "t-a_b-3m_results.txt", "t-a_b-3s_results.txt", "tr-a_b.csv", "tr-a_b-2.csv",
        "tr-a_b-3.csv"}},
      {"charts",
       {{"one.txt", "S,20,20,10,1\n"},
        {"t.csv", ids + "1,S,20,20,10,1\nstand,H,20,20,10,1\nP1,C,20,20,10,1\n"},
        {"u.csv", ids + "P1,S,20,20,10,1\n"}},
       {"--no-reports", "--chart", "c.svg"},
       {"c-1.svg", "c-1-2.svg", "c-stand-2.svg", "c-P1.svg", "c-P1-2.svg", "c-stand.svg"}},
      {"one plot's chart takes the name given, and no stand chart",
       {{"one.txt", "S,20,20,10,1\n"}},
       {"--no-reports", "--chart", "c"},
       {"c"}},
      {"a report's name linked to another inventory",
       {{"a.txt", "S,20,20,10,1\n"}, {"b.txt", "H,20,20,10,1\n"}},
       {},
       {"am_results.txt", "as_results.txt"},
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const testing::TemporaryFolder folder;
    std::vector<std::string> args = {"--runs", "2", "--jobs", "2"};
    for (const std::string& option : c.options)
      args.push_back(option.starts_with("--") ? option : folder.in(option));
    for (const auto& [name, text] : c.files) args.push_back(folder.write(name, text));
    if (c.status != 0) fs::create_symlink(folder.in("a.txt"), folder.in("bm_results.txt"));
    const auto before = testing::folder_snapshot(folder.path());
    EXPECT_EQ(batch(args), c.status) << result_.err;
    auto after = testing::folder_snapshot(folder.path());
    std::set<std::string> written;
    for (const auto& [name, bytes] : after)
      if (!before.contains(name)) written.insert(name);
    for (const auto& [name, bytes] : before) EXPECT_EQ(after[name], bytes) << name;
    EXPECT_EQ(written, c.written);
  }
}

// Every kind of refusal, worded in English from its data alone.
TEST(BatchRefusalText, WordsEveryRefusalFromItsData) {
  using enum RefusalKind;
  using enum InventoryField;
  using P = ValueProblem;
  // clang-format off
  const std::pair<Refusal, const char*> cases[] = {
      {{.kind = field_not_valid, .file = "plot.txt", .line = 3, .record = 3, .field = length,
        .found = "0"},
       "plot.txt, line 3, record 3, field 4 (length): expected a length in m, a number above 0 "
       "(period as decimal point), found \"0\""},
      {{.kind = field_not_valid, .file = "p.txt", .line = 2, .record = 2, .field = species_code,
        .found = "s"},
       "p.txt, line 2, record 2, field 1 (species code): expected the species code \"S\", \"H\" or "
       "\"C\", found \"s\""},
      {{.kind = field_not_valid, .file = "p.txt", .line = 1, .record = 1, .field = diameter2,
        .found = std::string("2\0x\x01\xff", 5)},
       "p.txt, line 1, record 1, field 3 (diameter 2): expected a diameter in cm, a number not "
       "below 0 (period as decimal point), found \"2\\x00x\\x01\\xFF\""},
      {{.kind = field_not_valid, .file = "p.txt", .line = 1, .record = 1, .field = stage,
        .found = std::string(41, '7')},
       "p.txt, line 1, record 1, field 5 (stage): expected a decomposition stage, a whole number "
       "0..5, found \"7777777777777777777777777777777777777777...\""},
      {{.kind = field_not_valid, .file = "t.csv", .line = 4, .record = 3, .field = length,
        .column = "Длина (м)", .found = "2,5", .hint = FormHint::decimal_comma},
       "t.csv, line 4, record 3, column \"Длина (м)\" (length): expected a length in m, a number "
       "above 0, found \"2,5\"; a decimal comma? it is read where fields are separated by "
       "semicolons or tabs"},
      {{.kind = field_not_valid, .file = "t.csv", .line = 2, .record = 1, .field = length,
        .found = "\"десять\xD0\"", .hint = FormHint::semicolon_separated, .hint_fields = 5,
        .hint_line = 1},
       "t.csv, line 2, record 1, field 4 (length): expected a length in m, a number above 0 "
       "(period as decimal point), found \"\\x22десять\\xD0\\x22\"; line 1 has 5 fields "
       "separated by ';': a semicolon-separated file? give it a header or use --input-separator"},
      {{.kind = record_incomplete, .file = "t.txt", .line = 2, .record = 1, .field = diameter1,
        .hint = FormHint::tab_separated, .hint_fields = 6, .hint_line = 1},
       "t.txt, line 2, record 1: the file ends inside the record after field 2 (diameter 1); a "
       "record has five fields; line 1 has 6 fields separated by tabs: a tab-separated file? give "
       "it a header or use --input-separator tab"},
      {{.kind = column_missing, .file = "t.csv", .line = 1, .field = stage},
       "t.csv, line 1: the header has no column for the stage"},
      {{.kind = text_not_decodable, .file = "u.csv", .line = 7, .encoding = "UTF-16LE"},
       "u.csv, line 7: the text is not valid UTF-16LE; give the file's encoding with "
       "--input-encoding"},
      {{.kind = species_unknown, .file = "t.csv", .line = 2, .record = 1, .field = species_code,
        .column = "Порода", .found = "бук"},
       "t.csv, line 2, record 1, column \"Порода\" (species code): unknown species codes: бук; "
       "add them to a species map as code,group rows (group S, H or C, e.g. бук,C) and give it "
       "with --species-map"},
      {{.kind = species_unknown, .file = "t.csv", .line = 2, .record = 1, .field = species_code,
        .column = "Порода", .found = "С"},
       "t.csv, line 2, record 1, column \"Порода\" (species code): \"С\" is a Cyrillic letter; "
       "the species codes are the Latin letters S, H and C"},
      {{.kind = plot_without_lines, .file = "t.csv", .plot = "P4", .found = "lines.csv"},
       "t.csv, plot P4: the lines file lines.csv has no line of this plot"},
      {{.kind = line_not_listed, .file = "t.csv", .plot = "P1", .line = 7, .record = 6,
        .field = line, .column = "Transect", .found = "C"},
       "t.csv, plot P1, line 7, record 6, column \"Transect\" (line): the line \"C\" is not "
       "among the plot's lines in the lines file"},
      {{.kind = lines_file_needed, .file = "t.csv", .column = "line", .limit = 3},
       "t.csv: the plot has 3 lines in the column \"line\"; give their lengths with --lines "
       "FILE.csv"},
      {{.kind = file_missing, .file = "l.csv", .field = line, .reason = "No such file"},
       "cannot open lines file l.csv: No such file"},
      {{.kind = file_missing, .file = "k.csv", .field = coefficient_species, .reason = "gone"},
       "cannot open coefficients table k.csv: gone"},
      {{.kind = species_listed_twice, .file = "map.csv", .line = 5, .field = species_code,
        .found = "дуб"},
       "map.csv, line 5: the species \"дуб\" is listed twice, with two codes"},
      {{.kind = file_missing, .file = "map.csv", .field = species_code},
       "cannot open species map map.csv: No such file or directory"},
      {{.kind = too_many_fields, .file = "t.csv", .line = 3, .record = 2,
        .hint = FormHint::decimal_comma, .hint_fields = 8, .hint_line = 3},
       "t.csv, line 3, record 2: the row has 8 fields separated by ',', more than the header (or a "
       "record) has: decimal commas? separate the fields by semicolons, or write decimal points"},
      {{.kind = header_not_recognised, .file = "t.csv", .line = 1, .record = 1, .found = "Baum"},
       "t.csv, line 1, record 1: the first row names no known column (\"Baum\"); name the columns "
       "species, d1, d2, length and stage, see --help"},
      {{.kind = column_repeated, .file = "s.csv", .line = 1, .field = plot, .column = "Plot"},
       "s.csv, line 1: the header names the plot column twice (\"Plot\")"},
      {{.kind = column_missing, .file = "t.csv", .line = 1, .field = plot, .column = "участок"},
       "t.csv, line 1: the header has no column \"участок\" for the plot"},
      {{.kind = record_too_long, .file = "s.csv", .line = 4, .record = 3, .found = "x",
        .limit = 3},
       "s.csv, line 4, record 3: \"x\" stands beyond the 3 columns of the header"},
      {{.kind = record_incomplete, .file = "s.csv", .line = 3, .record = 2, .field = stratum,
        .column = "Stratum", .limit = 2},
       "s.csv, line 3, record 2: the row ends before column \"Stratum\" (stratum)"},
      {{.kind = no_records, .file = "s.csv"}, "s.csv: the file holds no records"},
      {{.kind = plot_repeated, .file = "s.csv", .line = 5, .found = "P07", .other_line = 2},
       "s.csv, line 5: the plot \"P07\" is listed already on line 2"},
      {{.kind = area_differs, .file = "s.csv", .line = 6, .found = "north", .other_line = 3},
       "s.csv, line 6: the stratum \"north\" has another area here than on line 3"},
      {{.kind = area_missing, .file = "s.csv", .line = 2, .found = "north"},
       "s.csv, line 2: the stratum \"north\" has no area; with an area_ha column every stratum needs one"},
      {{.kind = field_not_valid, .file = "k.csv", .line = 4, .field = density,
        .column = "Density", .found = "1.6"},
       "k.csv, line 4, column \"Density\" (density): expected a density in t/m3, a number above "
       "0 and at most 1.5, found \"1.6\""},
      {{.kind = coefficient_repeated, .file = "k.csv", .line = 5, .stage = 4, .found = "Pl",
        .other_line = 2},
       "k.csv, line 5: the species \"Pl\" at stage 4 is listed already on line 2"},
      {{.kind = coefficients_missing, .file = "plot.csv", .found = "At 4, C 2", .table = "k.csv"},
       "plot.csv: the coefficients table k.csv has no row for these species and stages: At 4, C 2"},
      {{.kind = parameter_not_valid, .file = "t.csv", .parameter = Parameter::input_decimal,
        .found = ","},
       "t.csv: --input-decimal \",\" cannot be used where fields are separated by commas; a "
       "decimal comma needs semicolons or tabs (--input-separator)"},
      {{.kind = unclosed_quote, .file = "q.txt", .line = 1},
       "q.txt, line 1: a quoted field has no closing quote"},
      {{.kind = text_after_quote, .file = "q.txt", .line = 1, .found = "x,1"},
       "q.txt, line 1: unexpected text \"x,1\" after a quoted field"},
      {{.kind = record_incomplete, .file = "i.txt", .line = 1, .record = 1, .field = diameter2},
       "i.txt, line 1, record 1: the file ends inside the record after field 3 (diameter 2); a "
       "record has five fields"},
      {{.kind = file_missing, .file = "m.txt", .reason = "No such file or directory"},
       "cannot open inventory file m.txt: No such file or directory"},
      {{.kind = file_is_folder, .file = "/tmp"},
       "cannot read inventory file /tmp: it is a directory"},
      {{.kind = file_too_large, .file = "big.txt", .limit = 2147483648},
       "cannot read inventory file big.txt: it is larger than 2048 MiB, the most such a file may "
       "hold"},
      {{.kind = parameter_not_valid, .parameter = Parameter::run_count, .found = "1,000",
        .problem = P::digit_group},
       "--runs \"1,000\" is ambiguous (a thousands separator?); write 1000 without separators"},
      {{.kind = parameter_not_valid, .parameter = Parameter::run_count, .found = "",
        .problem = P::empty},
       "--runs \"\" is empty"},
      {{.kind = parameter_not_valid, .parameter = Parameter::carbon_fraction, .found = "1e39",
        .problem = P::out_of_range},
       "--carbon-fraction \"1e39\" is out of range"},
      {{.kind = parameter_not_valid, .parameter = Parameter::transect_length, .found = "0",
        .limit = 1, .problem = P::below_minimum},
       "transect length must be 1..32767 m, got 0"},
      {{.kind = piece_cannot_cross, .file = "p.txt", .line = 2, .record = 2, .length = 1e-300},
       "p.txt, line 2, record 2: a piece of length 1e-300 m can never cross the transect"},
      {{.kind = piece_never_crossed, .file = "p.txt", .line = 1, .record = 1, .length = 0.05,
        .limit = 100, .run = 3},
       "p.txt, line 1, record 1: the piece of length 0.05 m did not cross the transect in 100 "
       "attempts of run 3; it is too short for this plot (or the attempt limit too low)"},
      {{.kind = figure_beyond_range, .file = "h.txt", .figure = Figure::expected_carbon},
       "h.txt: the figures are too large to compute (the expected carbon is beyond the range of "
       "numbers); check the diameters, lengths, densities and the carbon fraction"},
      {{.kind = cancelled, .file = "p.txt"}, "p.txt: interrupted; no report was written"},
      {{.kind = internal_error, .file = "p.txt", .reason = "vector"},
       "p.txt: stopped by an internal error (vector); no report was written"},
      {{.kind = internal_error, .reason = "bad_alloc"}, "stopped by an internal error (bad_alloc)"},
      {{.kind = file_missing, .file = "s.csv", .field = stratum, .system_error = ENOENT},
       "cannot open strata file s.csv: No such file or directory"},
      {{.kind = column_repeated, .file = "t.csv", .line = 1, .field = plot, .column = "Участок",
        .found = "plot"},
       "t.csv, line 1: the header names the plot column twice (\"plot\" and \"Участок\")"},
      {{.kind = output_unwritable, .file = "/r/pm_results.txt", .output = Output::report,
        .system_error = EACCES},
       "Cannot write the report \"/r/pm_results.txt\": Permission denied"},
      {{.kind = output_unwritable, .file = "s.csv", .reason = "Is a directory",
        .output = Output::summary},
       "Cannot write the summary \"s.csv\": Is a directory"},
      {{.kind = output_not_a_file, .file = "t.csv", .output = Output::trace},
       "Cannot write the trace \"t.csv\": it is not a regular file"},
      {{.kind = reports_unnamed, .file = "txt"},
       "The inventory path \"txt\" is too short to name the reports after it"},
  };
  // clang-format on
  for (const auto& [refusal, text] : cases) EXPECT_EQ(refusal_text(refusal), text);
}

// Every kind of refusal and warning, and every name a refusal uses, has words of its own for the
// batch and for the window in both languages: none falls back on the words of an unknown kind or
// name, none leaves a value in braces, the Russian is Russian and the English English.
TEST(Words, EveryKindAndNameIsWordedForEachReaderInEachLanguage) {
  const Voice voices[] = {batch_voice, window_voice(Language::russian, ','),
                          window_voice(Language::english, '.')};
  const auto worded = [&](const std::string& what, const auto& said, const auto& unknown) {
    for (const Voice& voice : voices) {
      SCOPED_TRACE(what + (voice.language == Language::russian ? " ru" : " en"));
      const std::string text = said(voice);
      EXPECT_NE(text, unknown(voice));
      EXPECT_EQ(text.find('{'), std::string::npos) << text;
      const bool cyrillic =
          text.find("\xD0") != std::string::npos || text.find("\xD1") != std::string::npos;
      EXPECT_EQ(cyrillic, voice.language == Language::russian) << text;
    }
  };
  const Refusal plain{
      .file = "p.txt", .line = 2, .record = 1, .found = "x", .output = Output::report};
  const auto refusal_with = [&](auto set) {
    Refusal r = plain;
    set(r);
    return [r](const Voice& voice) { return refusal_text(r, voice); };
  };
  const auto kind = [](int k) { return [k](Refusal& r) { r.kind = static_cast<RefusalKind>(k); }; };
  for (int k = 0; k <= static_cast<int>(last_refusal_kind); ++k)
    worded("kind " + std::to_string(k), refusal_with(kind(k)), refusal_with(kind(-1)));
  const auto figure = [](int f) {
    return [f](Refusal& r) { r.kind = RefusalKind::figure_beyond_range, r.figure = Figure(f); };
  };
  for (int f = 1; f <= static_cast<int>(last_figure); ++f)
    worded("figure " + std::to_string(f), refusal_with(figure(f)), refusal_with(figure(0)));
  const auto field = [](int f) {
    return [f](Refusal& r) { r.kind = RefusalKind::field_not_valid, r.field = InventoryField(f); };
  };
  for (int f = 1; f <= static_cast<int>(last_inventory_field); ++f)
    worded("field " + std::to_string(f), refusal_with(field(f)), refusal_with(field(0)));
  const auto parameter = [](int p) {
    return [p](Refusal& r) {
      r.kind = RefusalKind::parameter_not_valid, r.parameter = Parameter(p);
      r.problem = ValueProblem::empty;
    };
  };
  for (int p = 1; p <= static_cast<int>(last_parameter); ++p)
    worded("parameter " + std::to_string(p), refusal_with(parameter(p)),
           refusal_with(parameter(0)));
  const auto hint = [](int h) {
    return [h](Refusal& r) { r.kind = RefusalKind::unclosed_quote, r.hint = FormHint(h); };
  };
  for (int h = 1; h <= static_cast<int>(FormHint::decimal_comma); ++h)
    worded("hint " + std::to_string(h), refusal_with(hint(h)), refusal_with(hint(0)));
  const auto warning = [](int k) {
    const Warning w{.kind = WarningKind(k), .file = "p.txt", .line = 2, .value = 450, .count = 2};
    return [w](const Voice& voice) { return warning_text(w, voice); };
  };
  for (int k = 0; k <= static_cast<int>(last_warning_kind); ++k)
    worded("warning " + std::to_string(k), warning(k), warning(-1));
}

}  // namespace
}  // namespace quorvel
