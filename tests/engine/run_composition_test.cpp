// The record-based run: where the result goes, what the record gets back, which layers count.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "engine_helpers.h"
#include "test_host.h"
#include "varnowel/composite_job.h"
#include "varnowel/composition.h"

namespace varnowel::test {
namespace {

constexpr Pixel kBlack{0, 0, 0};

class RecordRun : public ::testing::Test {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};

  void SetUp() override { host.currentDirectory = dir.path().string(); }

  Status Run(Geometry size, const Target& target = {}) {
    return RunComposition(size.width, size.height, job, target, host);
  }
  Picture Result() { return DecodeBmp(ReadBytes(dir / "fwrite.bmp")); }
};

// Changes the process's current directory for one test.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& path)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

TEST_F(RecordRun, ResultGoesToFwriteBmpInTheCurrentDirectory) {
  EnableLayer(job, 0, WriteLayer(dir, "layer.bmp", Picture(2, 1, kRed)));
  ASSERT_TRUE(Run({2, 1}).ok());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_STREQ(job.workDir, dir.path().c_str());
  EXPECT_EQ(std::string(job.outputPath), dir / "fwrite.bmp");
  EXPECT_EQ(Result(), Picture(2, 1, kRed));
}

TEST_F(RecordRun, ResultTargetAsksThePlatformForTheDirectory) {
  host.currentDirectory.reset();
  WorkingDirectory inside(dir.path());
  const std::string cwd = std::filesystem::current_path().string();
  ASSERT_TRUE(Run({1, 1}).ok());
  EXPECT_EQ(std::string(job.workDir), cwd);
  EXPECT_EQ(std::string(job.outputPath), cwd + "/fwrite.bmp");
  EXPECT_EQ(Result(), Picture(1, 1, kWhite));
}

TEST_F(RecordRun, PreviewWritesItsOwnFileAndLeavesWorkDir) {
  std::strcpy(job.workDir, "earlier");
  const std::string preview = dir / "preview.bmp";
  EnableLayer(job, 1, WriteLayer(dir, "layer.bmp", Picture(1, 2, kBlue)));
  ASSERT_TRUE(Run({1, 2}, {TargetKind::Preview, preview}).ok());
  EXPECT_STREQ(job.workDir, "earlier");
  EXPECT_EQ(std::string(job.outputPath), preview);
  EXPECT_EQ(DecodeBmp(ReadBytes(preview)), Picture(1, 2, kBlue));
  EXPECT_FALSE(std::filesystem::exists(dir / "fwrite.bmp"));
}

// The previous result is a layer of the next run, read whole before it is replaced.
TEST_F(RecordRun, PreviousResultAsALayer) {
  Picture first(3, 2, kBlue);
  first.at(0, 0) = kRed;
  EnableLayer(job, 0, WriteLayer(dir, "first.bmp", first));
  ASSERT_TRUE(Run({3, 2}).ok());

  Picture mark(3, 2);
  mark.at(2, 1) = {1, 2, 3};
  EnableLayer(job, 0, job.outputPath);
  EnableLayer(job, 1, WriteLayer(dir, "mark.bmp", mark));
  ASSERT_TRUE(Run({3, 2}).ok());
  first.at(2, 1) = {1, 2, 3};
  EXPECT_EQ(Result(), first);
  EXPECT_EQ(NamesIn(dir.path()), (std::set<std::string>{"first.bmp", "fwrite.bmp", "mark.bmp"}));
}

// What the commands pass when no layer is on.
TEST_F(RecordRun, NoLayerOnGivesTheHeaderAlone) {
  ASSERT_TRUE(Run({0, 0}).ok());
  const auto bytes = ReadBytes(dir / "fwrite.bmp");
  ASSERT_EQ(bytes.size(), 54u);
  EXPECT_EQ(bytes[2], 54);
  EXPECT_EQ(bytes[18], 0);
  EXPECT_EQ(bytes[22], 0);
}

// What an earlier command left in a row that is now off must not be used.
TEST_F(RecordRun, LayerThatIsOffIsNeitherReadNorConverted) {
  Picture lower(3, 1), upper(3, 1);
  lower.at(0, 0) = lower.at(1, 0) = {10, 20, 31};
  upper.at(1, 0) = kBlue;
  EnableLayer(job, 0, WriteLayer(dir, "lower.bmp", lower));
  EnableLayer(job, 1, dir / "gone.bmp", 0, true);
  job.enabled[1] = 0;
  job.width[1] = job.height[1] = 77;
  EnableLayer(job, 2, WriteLayer(dir, "upper.bmp", upper));

  ASSERT_TRUE(Run({3, 1}).ok());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Result().pixels, (std::vector<Pixel>{{10, 20, 31}, kBlue, kWhite}));
}

// Switches hold 0 or 1, and only 1 counts.
TEST_F(RecordRun, OnlyOneSwitchesOn) {
  EnableLayer(job, 0, WriteLayer(dir, "black.bmp", Picture(2, 1, kBlack)));
  job.enabled[0] = 2;
  Picture colour(2, 1);
  colour.at(0, 0) = {10, 20, 31};
  EnableLayer(job, 1, WriteLayer(dir, "colour.bmp", colour));
  job.grayscale[1] = 2;
  ASSERT_TRUE(Run({2, 1}).ok());
  EXPECT_EQ(Result().pixels, (std::vector<Pixel>{{10, 20, 31}, kWhite}));
}

TEST_F(RecordRun, RecordSettingsReachTheBlend) {
  const std::string black = WriteLayer(dir, "black.bmp", Picture(1, 1, kBlack));
  const std::string colour = WriteLayer(dir, "colour.bmp", Picture(1, 1, {10, 20, 31}));
  struct Setting {
    std::int32_t transparency;
    bool grayscale;
    Pixel expected;
  };
  const Setting settings[] = {{50, false, {127, 127, 127}},
                              {150, false, kWhite},  // clamped to 100
                              {-5, true, {20, 20, 20}},  // clamped to 0, then gray
                              {0, true, {20, 20, 20}}};
  for (const Setting& s : settings) {
    EnableLayer(job, 0, s.grayscale ? colour : black, s.transparency, s.grayscale);
    ASSERT_TRUE(Run({1, 1}).ok());
    EXPECT_EQ(Result().pixels, (std::vector<Pixel>{s.expected}))
        << "T=" << s.transparency << " gray=" << s.grayscale;
  }
}

// Makes a real folder whose path is exactly `length` characters long.
std::string FolderOfLength(const TempDir& dir, std::size_t length) {
  std::string path = dir.path().string();
  while (path.size() < length) {
    const std::size_t room = length - path.size() - 1;  // less the separator
    // Never leave a remainder too short for a name of its own.
    const std::size_t name = room > 200 ? (room - 200 < 2 ? 150 : 200) : room;
    path += '/';
    path.append(name, 'd');
  }
  std::filesystem::create_directories(path);
  return path;
}

struct DirectoryCase {
  std::size_t length;
  bool fits;
};

class LongDirectory : public RecordRun,
                      public ::testing::WithParamInterface<DirectoryCase> {};

// The directory and the output path must each fit the record's 256 bytes with the terminator:
// a directory of 244 characters leaves exactly room for "/fwrite.bmp".
TEST_P(LongDirectory, OutputPathMustFitTheRecord) {
  const DirectoryCase& c = GetParam();
  const std::string folder = FolderOfLength(dir, c.length);
  ASSERT_EQ(folder.size(), c.length);
  host.currentDirectory = folder;
  EnableLayer(job, 0, WriteLayer(dir, "layer.bmp", Picture(1, 1, kRed)));
  const Status status = Run({1, 1});
  if (c.fits) {
    EXPECT_TRUE(status.ok());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(std::string(job.outputPath), folder + "/fwrite.bmp");
    EXPECT_EQ(DecodeBmp(ReadBytes(folder + "/fwrite.bmp")), Picture(1, 1, kRed));
  } else {
    EXPECT_EQ(status.fault, Fault::OutputOpenFailed);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "file open error");
    EXPECT_EQ(host.messages[0].caption, "File Open Error");
    EXPECT_TRUE(std::filesystem::is_empty(folder));
  }
}

// Layers are checked before the output: a bad layer is what a too long directory reports.
TEST_F(RecordRun, LayerFaultComesBeforeAnOutputPathThatDoesNotFit) {
  host.currentDirectory = FolderOfLength(dir, 300);
  EnableLayer(job, 0, dir / "missing.bmp");
  const Status status = Run({1, 1});
  EXPECT_EQ(status.fault, Fault::LayerNotFound);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "File Open Error");
  EXPECT_EQ(host.messages[0].path, dir / "missing.bmp");
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongDirectory,
                         ::testing::Values(DirectoryCase{244, true}, DirectoryCase{245, false},
                                           DirectoryCase{255, false}, DirectoryCase{256, false},
                                           DirectoryCase{300, false}),
                         [](const auto& info) { return std::to_string(info.param.length); });

}  // namespace
}  // namespace varnowel::test
