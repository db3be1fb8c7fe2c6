// tallyform-cli assembly, run as a user runs it: the copy and its summary, a second run on the copy, and the
// exit statuses of bad names, bad usage and a file that is not a board.

#include <gtest/gtest.h>

#include <string>

#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tallyform::testing {
namespace {

const std::filesystem::path kSamples = TALLYFORM_SAMPLES;

TEST(AssemblyCommandTest, CopiesAndRestylesABoard) {
  // The published designs lie beside the project, not in it; a machine without them skips this.
  if (!std::filesystem::is_directory(TALLYFORM_SAMPLES))
    GTEST_SKIP() << "no published designs at " << TALLYFORM_SAMPLES;
  TempFolder home;
  const std::string original = FileBytes(kSamples / "zxinet.pcb");
  const auto board = home.Write("zxinet.pcb", original);
  CliRun run = Cli(home, {"assembly", board.string(), "--layer", "top assy", "--style", "(Default)",
                          "--justify", "center"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "copy: " + (home / "zxinet_SB.pcb").string() + "\nadded: 87\nrestyled: 0\nkept: 0\nskipped: 0\n");
  EXPECT_EQ(run.err, "");  // no terminal, no progress line
  EXPECT_TRUE(FileBytes(board) == original);

  run = Cli(home, {"assembly", board.string(), "--layer", "Top Silk", "--style", "(Default)", "--replace"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("restyled: 87\n"), std::string::npos) << run.out;

  run = Cli(home, {"assembly", board.string(), "--layer", "Nowhere", "--style", "(Default)", "--overwrite"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no layer \"Nowhere\"; its layers: Top Assy, Top Silk"), std::string::npos)
      << run.err;

  run = Cli(home, {"assembly", board.string(), "--layer", "Top Silk", "--style", "(Default)", "--justify",
                   "MIDDLE"});
  EXPECT_EQ(run.status, 2);
  run = Cli(home, {"assembly", (kSamples / "zxinet.sch").string(), "--layer", "Top Silk", "--style", "x"});
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(std::filesystem::exists(kSamples / "zxinet_SB.pcb"));
}

}  // namespace
}  // namespace tallyform::testing
