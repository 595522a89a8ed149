#include "batch/inventory_survey.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "../support/temporary_folder.h"

namespace quorvel {
namespace {

// Enough files for the look to be shared by two threads: whichever looks at a file, the kept
// and the skipped stay in the order given, each kept one with the file the system finds there.
TEST(InventorySurvey, ManyFilesKeepTheirOrderAndIdentityWhicheverThreadLooks) {
  const testing::TemporaryFolder folder;
  std::vector<std::string> files, kept, skipped;
  for (int i = 0; i < 700; ++i) {
    const bool table = i % 100 == 7;
    const std::string name = std::string("p").append(std::to_string(i)).append(".txt");
    // One in a hundred is a summary of an earlier run; p650 was never written.
    const std::string file = i == 650 ? folder.in(name)
                                      : folder.write(name, table ? "inventory,records,seed,runs,\n"
                                                                 : "\"S\",10,10,2,1\n");
    files.push_back(file);
    (table ? skipped : kept).push_back(file);
  }
  files.push_back(folder.write("p3m_results.txt", "a report beside p3.txt"));
  skipped.push_back(files.back());

  const InventorySurvey survey = survey_inventories(files, 2);

  EXPECT_EQ(files, kept);
  EXPECT_EQ(survey.skipped, skipped);
  ASSERT_EQ(survey.identities.size(), kept.size());
  const std::string resolved = std::filesystem::canonical(folder.path()).string() + "/";
  for (std::size_t i = 0; i < kept.size(); ++i) {
    const std::string name = std::filesystem::path(kept[i]).filename().string();
    struct stat status {};
    const std::string inode =
        ::stat(kept[i].c_str(), &status) == 0
            ? std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino)
            : "";
    EXPECT_EQ(survey.identities[i].path, resolved + name);
    EXPECT_EQ(survey.identities[i].inode, inode) << name;
  }
  // p650, after the seven tables before it: no file, so known by its path alone.
  EXPECT_EQ(files[643], folder.in("p650.txt"));
  EXPECT_EQ(survey.identities[643].inode, "");
}

}  // namespace
}  // namespace quorvel
