// varnowel-compose run as a program: exit statuses, what it prints, and the files it writes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "bmp_fixture.h"
#include "program_run.h"

namespace varnowel::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHelpHint = "Try 'varnowel-compose --help'.\n";

// The program under test: the one built beside these tests, or the Windows build run through
// Wine when VARNOWEL_COMPOSE_LAUNCHER and VARNOWEL_COMPOSE_PROGRAM name them.
std::vector<std::string> ProgramCommand() {
  std::vector<std::string> command;
  if (const char* launcher = std::getenv("VARNOWEL_COMPOSE_LAUNCHER")) command.push_back(launcher);
  const char* program = std::getenv("VARNOWEL_COMPOSE_PROGRAM");
  command.push_back(program ? program : VARNOWEL_COMPOSE_PROGRAM);
  return command;
}

// What the program printed, with the line ends of a Windows console program's text-mode output
// read as plain new lines.
std::string Lines(std::string text) {
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
  return lines;
}

class ComposeProgramTest : public testing::Test {
 protected:
  // Runs the program with `args` in the work folder, its output caught elsewhere.
  RunResult Run(const std::vector<std::string>& args) {
    std::vector<std::string> command = ProgramCommand();
    command.insert(command.end(), args.begin(), args.end());
    RunResult result = RunProgram(command, work_.path(), capture_.path());
    result.out = Lines(result.out);
    result.err = Lines(result.err);
    return result;
  }

  fs::path InWork(const std::string& name) const { return work_.path() / name; }

  void WriteLayer(const std::string& name, const Picture& picture,
                  const BmpVariant& variant = {}) {
    WriteBytes(InWork(name), EncodeBmp(picture, variant));
  }

  Picture ReadPicture(const std::string& name) const { return DecodeBmp(ReadBytes(InWork(name))); }

  TempDir work_;
  TempDir capture_;
};

// 3 x 2, so rows carry fill bytes; the marks sit asymmetrically so flips and swaps show.
constexpr Pixel kGreen{0, 255, 0};

Picture Plain(Pixel mark) {
  Picture picture(3, 2);
  picture.at(0, 0) = mark;
  picture.at(2, 1) = kGreen;
  return picture;
}

TEST_F(ComposeProgramTest, HelpAndVersionGoToStandardOutput) {
  const RunResult help = Run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: varnowel-compose [-o FILE] [[-t N] [-g] LAYER]...\n"))
      << help.out;
  EXPECT_EQ(help.err, "");

  const RunResult version = Run({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "varnowel-compose 1.2.0.1\n");
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(NamesIn(work_.path()), std::set<std::string>{});
}

TEST_F(ComposeProgramTest, WritesFwriteBmpInTheCurrentDirectoryByDefault) {
  WriteLayer("layer.bmp", Plain(kRed));
  const RunResult result = Run({"layer.bmp"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "wrote fwrite.bmp\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ReadPicture("fwrite.bmp"), Plain(kRed));
  EXPECT_EQ(NamesIn(work_.path()), (std::set<std::string>{"layer.bmp", "fwrite.bmp"}));
}

TEST_F(ComposeProgramTest, OutputOptionReplacesTheNamedFileOnly) {
  WriteLayer("layer.bmp", Plain(kBlue));
  fs::create_directory(InWork("sub"));
  WriteBytes(InWork("sub/out.bmp"), {'o', 'l', 'd'});
  const RunResult result = Run({"layer.bmp", "--output=sub/out.bmp"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, "wrote sub/out.bmp\n");
  EXPECT_EQ(ReadPicture("sub/out.bmp"), Plain(kBlue));
  EXPECT_EQ(NamesIn(work_.path()), (std::set<std::string>{"layer.bmp", "sub"}));
  EXPECT_EQ(NamesIn(InWork("sub")), std::set<std::string>{"out.bmp"});
}

TEST_F(ComposeProgramTest, DoubleDashLetsALayerNameStartWithADash) {
  WriteLayer("-x.bmp", Plain(kRed));
  const RunResult result = Run({"-g", "--", "-x.bmp"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  Picture gray = Plain({85, 85, 85});  // red (0, 0, 255) grays to 255 / 3
  gray.at(2, 1) = {85, 85, 85};        // and so does green
  EXPECT_EQ(ReadPicture("fwrite.bmp"), gray);
}

// File names beyond ASCII, in the layers, the output's folder and the messages: Japanese,
// accented Latin and Cyrillic, which no single legacy code page holds together.
TEST_F(ComposeProgramTest, ComposesAndNamesFilesWithNonAsciiNames) {
  WriteLayer("背景 レイヤー.bmp", Plain(kRed));
  WriteLayer("Ébauche-ü.bmp", Plain(kBlue));
  WriteLayer("слой.bmp", Picture(3, 2));
  fs::create_directory(InWork("結果"));
  const RunResult result =
      Run({"-o", "結果/合成 ☆.bmp", "背景 レイヤー.bmp", "-t", "100", "Ébauche-ü.bmp", "слой.bmp"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "wrote 結果/合成 ☆.bmp\n");
  EXPECT_EQ(ReadPicture("結果/合成 ☆.bmp"), Plain(kRed));
  EXPECT_EQ(NamesIn(InWork("結果")), std::set<std::string>{"合成 ☆.bmp"});

  const RunResult missing = Run({"背景 レイヤー.bmp", "見つからない-é.bmp"});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(missing.err, "varnowel-compose: 見つからない-é.bmp: cannot open the file\n");
  WriteLayer("幅.bmp", Picture(4, 2));
  const RunResult differ = Run({"背景 レイヤー.bmp", "幅.bmp"});
  EXPECT_EQ(differ.exitStatus, 1);
  EXPECT_EQ(differ.err,
            "varnowel-compose: layers differ in size: 背景 レイヤー.bmp is 3 x 2, 幅.bmp is 4 x 2\n");
  EXPECT_FALSE(fs::exists(InWork("fwrite.bmp")));
}

// The output may be one of the layers: it is read whole before it is replaced, also on Windows,
// where a file still open cannot be replaced.
TEST_F(ComposeProgramTest, OutputThatIsOneOfItsLayersIsComposedFromItsOldContent) {
  WriteLayer("a.bmp", Plain(kRed));
  const RunResult result = Run({"-o", "a.bmp", "-g", "a.bmp"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  Picture gray = Plain({85, 85, 85});  // red and green gray to 255 / 3, white stays
  gray.at(2, 1) = {85, 85, 85};
  EXPECT_EQ(ReadPicture("a.bmp"), gray);
  EXPECT_EQ(NamesIn(work_.path()), std::set<std::string>{"a.bmp"});
}

// Per-layer options: "bottom.bmp" holds red at (0,0) and (1,1), "top.bmp" blue at (1,1) and
// (2,0), so (0,0) shows the bottom alone, (2,0) the top alone and (1,1) both.
struct LayerOptionsCase {
  const char* name;
  std::vector<std::string> args;
  Pixel bottomOnly, topOnly, both;
};

std::ostream& operator<<(std::ostream& out, const LayerOptionsCase& c) { return out << c.name; }

constexpr Pixel kGray85{85, 85, 85};     // red or blue turned gray: 255 / 3
constexpr Pixel kGray85Half{170, 170, 170};  // that gray at 50% on white: 85 + 170 * 50 / 100

const LayerOptionsCase kLayerOptionsCases[] = {
    {"OnTheFirstLayerOnly", {"-g", "-t", "50", "bottom.bmp", "top.bmp"},
     kGray85Half, kBlue, kBlue},
    // Gray 85 at 50% over red (0, 0, 255): 85 + (0 - 85) * 50 / 100 = 43 (truncated toward
    // zero), 85 + (255 - 85) * 50 / 100 = 170.
    {"OnTheSecondLayerOnly", {"bottom.bmp", "-g", "--transparency=50", "top.bmp"},
     kRed, kGray85Half, {43, 43, 170}},
    {"OnTheFirstAndThirdOfThree", {"-t100", "top.bmp", "bottom.bmp", "--grayscale", "top.bmp"},
     kRed, kGray85, kGray85},
};

class LayerOptionsTest : public ComposeProgramTest,
                         public testing::WithParamInterface<LayerOptionsCase> {};

TEST_P(LayerOptionsTest, ApplyToTheNextLayerAlone) {
  Picture bottom(3, 2);
  bottom.at(0, 0) = kRed;
  bottom.at(1, 1) = kRed;
  Picture top(3, 2);
  top.at(1, 1) = kBlue;
  top.at(2, 0) = kBlue;
  WriteLayer("bottom.bmp", bottom);
  WriteLayer("top.bmp", top);

  const RunResult result = Run(GetParam().args);
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  Picture expected(3, 2);
  expected.at(0, 0) = GetParam().bottomOnly;
  expected.at(2, 0) = GetParam().topOnly;
  expected.at(1, 1) = GetParam().both;
  EXPECT_EQ(ReadPicture("fwrite.bmp"), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LayerOptionsTest, testing::ValuesIn(kLayerOptionsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Usage errors: a valid layer is at hand, so only the command line is at fault.
struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  const char* message;  // the first line, without the program name
};

std::ostream& operator<<(std::ostream& out, const UsageCase& c) { return out << c.name; }

const UsageCase kUsageCases[] = {
    {"NoLayer", {}, "no LAYER given"},
    {"OutputButNoLayer", {"-o", "out.bmp"}, "no LAYER given"},
    {"UnknownOption", {"-x", "a.bmp"}, "unknown option '-x'"},
    {"UnknownLongOption", {"a.bmp", "--opaque"}, "unknown option '--opaque'"},
    {"TransparencyAbove100", {"-t", "101", "a.bmp"},
     "transparency '101' is not an integer from 0 to 100"},
    {"TransparencyNotInteger", {"-t", "2.5", "a.bmp"},
     "transparency '2.5' is not an integer from 0 to 100"},
    {"TransparencyWithoutValue", {"a.bmp", "-t"}, "option '-t' needs a value"},
    {"TrailingOption", {"a.bmp", "-g"}, "'-g' has no LAYER after it"},
    {"OutputTwice", {"-o", "x.bmp", "-o", "y.bmp", "a.bmp"},
     "'-o': the output file is given twice"},
    {"TransparencyTwice", {"-t", "1", "-t", "2", "a.bmp"},
     "'-t': the transparency of one layer is given twice"},
    {"EmptyLayerName", {""}, "a file name is empty"},
};

class UsageErrorTest : public ComposeProgramTest,
                       public testing::WithParamInterface<UsageCase> {};

TEST_P(UsageErrorTest, ExitsWithStatus2AndAHint) {
  WriteLayer("a.bmp", Plain(kRed));
  const RunResult result = Run(GetParam().args);
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "varnowel-compose: " + std::string(GetParam().message) + "\n" + kHelpHint);
  EXPECT_EQ(NamesIn(work_.path()), std::set<std::string>{"a.bmp"});
}

INSTANTIATE_TEST_SUITE_P(Cases, UsageErrorTest, testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A layer or the output that cannot be used: one line naming the file, status 1, and the
// result of an earlier run left as it was.
struct FileFaultCase {
  const char* name;
  std::vector<std::string> args;
  const char* message;  // without the program name
};

std::ostream& operator<<(std::ostream& out, const FileFaultCase& c) { return out << c.name; }

const FileFaultCase kFileFaultCases[] = {
    {"MissingLayer", {"a.bmp", "missing.bmp"}, "missing.bmp: cannot open the file"},
    {"LayerIsAFolder", {"folder"}, "folder: cannot open the file"},
    {"NameLikeAPlaceholder", {"{size}.bmp"}, "{size}.bmp: cannot open the file"},
    {"EightBitLayer", {"a.bmp", "eight.bmp"},
     "eight.bmp: not a 24-bit uncompressed bottom-up BMP file"},
    // Same width and height in absolute value: told as a format fault, not as sizes differing.
    {"TopDownLayer", {"a.bmp", "topdown.bmp"},
     "topdown.bmp: not a 24-bit uncompressed bottom-up BMP file"},
    {"ShortFile", {"a.bmp", "short.bmp"},
     "short.bmp: not a 24-bit uncompressed bottom-up BMP file"},
    {"TruncatedRows", {"a.bmp", "cut.bmp"}, "cut.bmp: the file is shorter than its pixel rows"},
    {"SizesDiffer", {"a.bmp", "-g", "a.bmp", "wide.bmp"},
     "layers differ in size: a.bmp is 3 x 2, wide.bmp is 4 x 2"},
    {"TooLargeForABmpFile", {"huge.bmp"},
     "huge.bmp: a picture of 40000 x 40000 pixels is too large to compose"},
    {"OutputFolderMissing", {"-o", "nowhere/out.bmp", "a.bmp"},
     "nowhere/out.bmp: cannot create the output file"},
    {"OutputIsAFolder", {"-o", "folder", "a.bmp"}, "folder: cannot create the output file"},
};

class FileFaultTest : public ComposeProgramTest,
                      public testing::WithParamInterface<FileFaultCase> {};

TEST_P(FileFaultTest, ExitsWithStatus1AndKeepsTheEarlierResult) {
  WriteLayer("a.bmp", Plain(kRed));
  WriteLayer("eight.bmp", Plain(kRed), {.bitCount = 8});
  WriteLayer("topdown.bmp", Plain(kRed), {.topDown = true});
  WriteLayer("cut.bmp", Plain(kRed), {.cutBytes = 1});
  WriteBytes(InWork("short.bmp"), {'B', 'M', 0, 0});
  WriteLayer("wide.bmp", Picture(4, 2));
  // Header of a 40000 x 40000 picture, made as long as its rows claim without using the disk:
  // every layer check passes and only the output size is at fault.
  WriteLayer("huge.bmp", Picture(40000, 0));
  std::vector<std::uint8_t> header = ReadBytes(InWork("huge.bmp"));
  header[22] = std::uint8_t(40000 & 0xFF);
  header[23] = std::uint8_t(40000 >> 8);
  WriteBytes(InWork("huge.bmp"), header);
  fs::resize_file(InWork("huge.bmp"), 54 + 120000ull * 40000ull);
  fs::create_directory(InWork("folder"));
  const std::vector<std::uint8_t> earlier{'e', 'a', 'r', 'l', 'i', 'e', 'r'};
  WriteBytes(InWork("fwrite.bmp"), earlier);
  const std::set<std::string> filesBefore = NamesIn(work_.path());

  const RunResult result = Run(GetParam().args);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "varnowel-compose: " + std::string(GetParam().message) + "\n");
  EXPECT_EQ(ReadBytes(InWork("fwrite.bmp")), earlier);
  EXPECT_EQ(NamesIn(work_.path()), filesBefore);
  EXPECT_TRUE(NamesIn(InWork("folder")).empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, FileFaultTest, testing::ValuesIn(kFileFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace varnowel::test
