// Runs the Z80 instruction exerciser (documented flags) on the core: every group must report OK.
// About 49 billion T-states, so it is labelled long and runs in the optimised build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cpm/cpm_machine.h"

TEST(Zexdoc, EveryGroupReportsOk) {
  const std::filesystem::path path = std::filesystem::path(TESTDATA_DIR) / "zex/zexdoc.com";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "exerciser not found at " << path;
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> program{std::istreambuf_iterator<char>(file), {}};

  cpm::CpmMachine machine;
  ASSERT_TRUE(machine.Load(program));
  std::string output;
  ASSERT_TRUE(machine.Run(100'000'000'000ull, [&](char ch) { output += ch; })) << output;

  int ok = 0;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_EQ(line.find("ERROR"), std::string::npos) << line;
    if (line.find("OK") != std::string::npos) ++ok;
  }
  EXPECT_EQ(ok, 67) << output;
  EXPECT_NE(output.find("Tests complete"), std::string::npos);
}
