// The batch front end at the edges of its numbers: what it owns is the exit status, the message
// and the reports. A refused plot exits with 1, names what was wrong and leaves the folder as
// it was; the figures themselves are the engine's to keep finite.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/batch_folder.h"

namespace quorvel {
namespace {

using testing::folder_snapshot;
using BatchEdgeNumbers = testing::BatchFolder;

struct BatchEdge {
  std::vector<std::string> args;  // the inventory's path follows them
  std::string inventory;
  int status;
  std::string says;  // in the JSON line on success, in the message on refusal
};

std::vector<BatchEdge> batch_edges() {
  const std::string plain = "\"S\",20,20,10,1\n\"C\",30,10,4,5\n";
  const std::string longer = "\"S\",20,20,5,1\n";  // than a 2 m plot: crosses in most attempts
  const std::string short_piece = "\"S\",20,20,0.001,1\n";
  const std::string huge = "\"S\",1e200,1e200,10,1\n";
  std::vector<BatchEdge> edges = {
      {{"--transect-length", "1", "--runs", "3"}, plain, 0, "\"transect_length\":1,"},
      {{"--transect-length", "32767", "--runs", "3"}, plain, 0, "\"transect_length\":32767,"},
      {{"--transect-length", "32768"}, plain, 1, "transect length must be 1..32767 m, got 32768"},
      {{"--runs", "32767", "--transect-length", "2"}, longer, 0, "\"runs\":32767,"},
      {{"--runs", "32768"}, plain, 1, "number of runs must be 1..32767, got 32768"},
      {{"--expected-only", "--runs", "32767", "--transect-length", "32767"}, longer, 0, "expected"},
      {{"--runs", "32767", "--max-attempts", "50"}, plain + short_piece, 1, "50 attempts"},
      {{"--runs", "2"}, "\"S\",1e30,1e30,10,1\n", 0, "e+57"},
      // Beyond 2^53 pieces per hectare are no longer counted one by one: a number, not a count.
      {{"--expected-only"}, "\"S\",20,20,1e-17,1\n", 0, "\"pieces_per_ha\":1.5699999999999998e+19"},
      {{}, huge, 1, "too large"},
      {{"--expected-only"}, huge, 1, "too large"},
      // The reader's own tests take every text of no finite number in every inventory field.
      {{}, "\"S\",20,nan,10,1\n", 1, "line 1, record 1, field 3"},
      {{"--no-such-option"}, plain, 2, "--no-such-option"},
      {{"--wind", "north"}, plain, 2, "north"},
      {{"--density", "6:S=0,3"}, plain, 2, "--density: expected STAGE:CODE=TEXT"},
      {{"--runs", "0"}, plain, 1, "number of runs must be 1..32767, got 0"},
      {{"--carbon-fraction", "abc"}, plain, 1, "--carbon-fraction \"abc\" is not a number"},
      {{"--density", "1:S=x"}, plain, 1, "--density"},
  };
  for (const char* text : {"1e400", "nan", "inf", "-inf"}) {
    for (const char* option : {"--transect-length", "--runs", "--wind-force", "--carbon-fraction"})
      edges.push_back({{option, text}, plain, 1, option});
    edges.push_back({{"--density", std::string("3:H=") + text}, plain, 1, "--density"});
  }
  return edges;
}

TEST_F(BatchEdgeNumbers, EndInAResultOrARefusalThatLeavesTheReportsAsTheyWere) {
  write("plotm_results.txt", testing::earlier_report("stock"));
  write("plots_results.txt", testing::earlier_report("estimate"));
  for (const BatchEdge& edge : batch_edges()) {
    std::vector<std::string> args = {"--json", "--seed", "4"};
    args.insert(args.end(), edge.args.begin(), edge.args.end());
    args.push_back(write("plot.txt", edge.inventory));
    SCOPED_TRACE(::testing::PrintToString(args) + " " + edge.inventory);
    const auto before = folder_snapshot(folder_.path());
    batch(args);
    const testing::BatchResult& result = result_;
    EXPECT_EQ(result.status, edge.status) << result.err;
    if (result.status != edge.status) continue;
    if (edge.status == 0) {
      EXPECT_NE(result.out.find(edge.says), std::string::npos) << result.out;
      EXPECT_EQ(result.out.find("null"), std::string::npos) << result.out;  // Inf or NaN
      continue;
    }
    EXPECT_NE(result.err.find(edge.says), std::string::npos) << result.err;
    // Parameters refuse the batch before any plot; a refused plot still has its line, whose
    // status is the refusal's message (the last line, after any warnings).
    const std::size_t last = result.err.rfind('\n', result.err.size() - 2) + 1;
    if (!result.out.empty()) {
      EXPECT_EQ(nlohmann::json::parse(result.out)["status"],
                "refused: " + result.err.substr(last + 15, result.err.size() - last - 16));
    }
    EXPECT_EQ(folder_snapshot(folder_.path()), before);
  }
}

}  // namespace
}  // namespace quorvel
