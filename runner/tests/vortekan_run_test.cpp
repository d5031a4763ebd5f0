// Runs the runner program itself on the demonstration image.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

namespace {

struct Result {
  int status;
  std::string output;  // standard output and standard error
};

class VortekanRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("vortekan_run_" + std::to_string(::getpid()) + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ / "files");
    ASSERT_EQ(Run(std::string(MAKE_SYNTHETIC_IMAGE) + " " + Path("demo.img"), false).status, 0);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) { return (dir_ / name).string(); }

  Result Run(const std::string& command, bool runner = true) {
    const std::string line = (runner ? std::string(VORTEKAN_RUN) + " " : "") + command + " > " +
                             Path("out.txt") + " 2>&1";
    const int status = std::system(line.c_str());
    std::ifstream in(Path("out.txt"));
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(std::istreambuf_iterator<char>(in), {})};
  }

  // The PNG's pixels as 0xRRGGBB values, row by row.
  std::vector<uint32_t> ReadPng(const std::string& name, unsigned& width, unsigned& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, Path(name).c_str())) return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
    width = image.width;
    height = image.height;
    std::vector<uint32_t> pixels;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
      pixels.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    return pixels;
  }

  std::filesystem::path dir_;
};

TEST_F(VortekanRunTest, WritesScreenshotsAndSoundAndReportsTheRate) {
  const Result result =
      Run("--image " + Path("demo.img") + " --frames 260 --png 250:" + Path("shot.png") +
          " --wav " + Path("sound.wav") + " --dir " + Path("files"));
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output.rfind("frames/s: ", 0), 0u) << result.output;

  unsigned width = 0, height = 0;
  const std::vector<uint32_t> pixels = ReadPng("shot.png", width, height);
  EXPECT_EQ(width, 240u);
  EXPECT_EQ(height, 320u);
  // 32 rows above the picture stay black; the picture has tiles, sprites, bullets and stars.
  for (unsigned i = 0; i < 32 * width; ++i) ASSERT_EQ(pixels[i], 0u) << i;
  EXPECT_GT(std::set<uint32_t>(pixels.begin(), pixels.end()).size(), 8u);
  // Bullet k of the demonstration sits at picture column 34 + 20k, row 228 - 2k, in the
  // bullet colour (palette entry 39: PROM byte 0xFF), 8 columns and 32 rows into the screen.
  for (unsigned k = 0; k < 8; ++k) {
    const unsigned column = 8 + 34 + 20 * k, row = 32 + 228 - 2 * k;
    EXPECT_EQ(pixels[row * width + column], 0xFFFFDEu) << k;
  }

  std::ifstream wav(Path("sound.wav"), std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(wav)), {});
  ASSERT_EQ(bytes.size(), 44u + 2 * 367 * 59);  // frames 201-259
  EXPECT_EQ(std::string(bytes.data(), 4), "RIFF");
  int16_t loudest = 0;
  for (size_t i = 44; i + 1 < bytes.size(); i += 2) {
    int16_t sample;
    std::memcpy(&sample, bytes.data() + i, 2);
    loudest = std::max<int16_t>(loudest, sample);
  }
  EXPECT_EQ(loudest, 3825);  // tone A at level 15, sound level "High"

  EXPECT_TRUE(std::filesystem::exists(dir_ / "files" / "vortekan.sv6"));
}

TEST_F(VortekanRunTest, LayoutsGiveTheirScreenSizes) {
  const std::pair<const char*, std::pair<unsigned, unsigned>> cases[] = {{"landscape", {320, 240}},
                                                                         {"square", {240, 240}}};
  for (const auto& [layout, size] : cases) {
    ASSERT_EQ(Run("--image " + Path("demo.img") + " --frames 202 --png 201:" + Path("l.png") +
                  " --layout " + layout + " --dir " + Path("files"))
                  .status,
              0);
    unsigned width = 0, height = 0;
    ReadPng("l.png", width, height);
    EXPECT_EQ(std::make_pair(width, height), size) << layout;
  }
}

TEST_F(VortekanRunTest, SavedStateStartsALaterRun) {
  ASSERT_EQ(Run("--image " + Path("demo.img") + " --frames 260 --save-state 255:" +
                Path("state.sv") + " --png 255:" + Path("saved.png") + " --dir " + Path("files"))
                .status,
            0);
  ASSERT_TRUE(std::filesystem::exists(dir_ / "state.sv"));
  // The loaded board starts with output on; its first frame is the one after the saved one.
  ASSERT_EQ(Run("--image " + Path("demo.img") + " --frames 1 --load-state " + Path("state.sv") +
                " --png 0:" + Path("loaded.png") + " --dir " + Path("files"))
                .status,
            0);
  unsigned width = 0, height = 0;
  const auto loaded = ReadPng("loaded.png", width, height);
  EXPECT_EQ(width, 240u);
  EXPECT_GT(std::set<uint32_t>(loaded.begin(), loaded.end()).size(), 8u);
}

TEST_F(VortekanRunTest, MissingImageAndBadInputEndCleanly) {
  Result result;
  // Without an image built in, the runner has none to run unless given one.
  if (!RUNNER_EMBEDS_IMAGE) {
    result = Run("--frames 10 --dir " + Path("files"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("missing or damaged"), std::string::npos) << result.output;
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "files"));
  }

  std::ofstream(Path("bad.img")) << "not an image";
  result = Run("--image " + Path("bad.img") + " --dir " + Path("files"));
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("missing or damaged"), std::string::npos) << result.output;
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "files"));

  std::ofstream(Path("script.txt")) << "10 press up\n20 press nothing\n";
  result = Run("--image " + Path("demo.img") + " --input " + Path("script.txt"));
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.output.find("script.txt:2: unknown control 'nothing'"), std::string::npos)
      << result.output;

  result = Run("--frames many");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(result.output.find("usage:"), std::string::npos);
}

}  // namespace
