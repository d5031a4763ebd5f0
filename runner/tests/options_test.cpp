#include "options.h"

#include <gtest/gtest.h>

namespace runner {
namespace {

TEST(OptionsTest, ReadsEveryOption) {
  std::string error;
  const auto options = ParseOptions(
      {"--image",   "a.img", "--frames",     "300",      "--input",      "s.txt", "--png",
       "250:a.png", "--png", "299:b.png",    "--layout", "square",       "--wav", "o.wav",
       "--dir",     "d",     "--save-state", "260:s.sv", "--load-state", "l.sv",  "--interactive"},
      error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->image, "a.img");
  EXPECT_EQ(options->frames, 300u);
  EXPECT_EQ(options->inputScript, "s.txt");
  ASSERT_EQ(options->screenshots.size(), 2u);
  EXPECT_EQ(options->screenshots[1].frame, 299u);
  EXPECT_EQ(options->screenshots[1].file, "b.png");
  EXPECT_EQ(options->layout, "square");
  EXPECT_EQ(options->wav, "o.wav");
  EXPECT_EQ(options->directory, "d");
  EXPECT_EQ(options->saveState->frame, 260u);
  EXPECT_EQ(options->loadState, "l.sv");
  EXPECT_TRUE(options->interactive);
}

TEST(OptionsTest, RefusesBadValuesWithAReason) {
  const std::vector<std::vector<std::string>> cases = {
      {"--frames", "ten"}, {"--frames", "-1"},  {"--png", "file.png"},
      {"--png", "12:"},    {"--layout", "vga"}, {"--image"},
      {"--bogus", "1"},    {"stray"},           {"--save-state", "x:y"},
  };
  for (const auto& arguments : cases) {
    std::string error;
    EXPECT_FALSE(ParseOptions(arguments, error)) << arguments[0];
    EXPECT_FALSE(error.empty()) << arguments[0];
  }
  std::string error = "x";
  EXPECT_FALSE(ParseOptions({"--help"}, error));
  EXPECT_TRUE(error.empty());
}

}  // namespace
}  // namespace runner
