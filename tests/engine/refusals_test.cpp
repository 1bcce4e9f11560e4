// Layers and outputs that a run refuses: the message each gets, and nothing lost or left behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine_helpers.h"
#include "test_host.h"
#include "varnowel/composite_job.h"
#include "varnowel/composition.h"
#include "varnowel/messages.h"

namespace varnowel::test {
namespace {

// The message texts as the user reads them.
constexpr const char* kNotFound = "%sが見つかりません.";
constexpr const char* kUnsupported = "現在対応していません";
constexpr const char* kTruncated = "%sの読み込みに失敗しました。";
constexpr const char* kSizesDiffer = "画像の幅高さが異なるため合成できません";
constexpr const char* kTooLarge = "画像が大きすぎるため合成できません";
constexpr const char* kOpenFailed = "file open error";
constexpr const char* kWriteFailed = "file write error";

struct Expected {
  Fault fault;
  const char* text;
  const char* caption;
};

constexpr Expected kLayerNotFound{Fault::LayerNotFound, kNotFound, "File Open Error"};
constexpr Expected kLayerUnsupported{Fault::LayerUnsupported, kUnsupported, "File Error"};
constexpr Expected kLayerTruncated{Fault::LayerTruncated, kTruncated, "File Error"};
constexpr Expected kLayersDiffer{Fault::SizesDiffer, kSizesDiffer, "Error"};
constexpr Expected kPictureTooLarge{Fault::TooLarge, kTooLarge, "Error"};
constexpr Expected kOutputOpen{Fault::OutputOpenFailed, kOpenFailed, "File Open Error"};
constexpr Expected kOutputWrite{Fault::OutputWriteFailed, kWriteFailed, "File Error"};

// A 3 x 2 picture with a fault of its own made by `change`; the picture is a good one without.
using LayerMaker = std::function<std::string(const TempDir&, const std::string& name)>;

LayerMaker Good(std::int32_t width = 3, std::int32_t height = 2) {
  return [=](const TempDir& dir, const std::string& name) {
    return WriteLayer(dir, name, Picture(width, height, {1, 2, 3}));
  };
}

LayerMaker Variant(BmpVariant variant, std::int32_t width = 3, std::int32_t height = 2) {
  return [=](const TempDir& dir, const std::string& name) {
    return WriteLayer(dir, name, Picture(width, height, {1, 2, 3}), variant);
  };
}

LayerMaker Bytes(std::vector<std::uint8_t> bytes) {
  return [=](const TempDir& dir, const std::string& name) {
    WriteBytes(dir / name, bytes);
    return dir / name;
  };
}

// A header declaring width x height over a file of `length` bytes; the length beyond what is
// written is a hole that takes no disk space.
LayerMaker Declared(std::int32_t width, std::int32_t height, std::uintmax_t length) {
  return [=](const TempDir& dir, const std::string& name) {
    auto bytes = EncodeBmp(Picture(0, 0));
    for (int i = 0; i < 4; ++i) {
      bytes[18 + i] = std::uint8_t(std::uint32_t(width) >> (8 * i));
      bytes[22 + i] = std::uint8_t(std::uint32_t(height) >> (8 * i));
    }
    WriteBytes(dir / name, bytes);
    std::filesystem::resize_file(dir / name, length);
    return dir / name;
  };
}

// A good 3 x 2 layer whose bfOffBits says its rows start at `offset`.
LayerMaker PixelsAt(std::uint32_t offset) {
  return [=](const TempDir& dir, const std::string& name) {
    auto bytes = EncodeBmp(Picture(3, 2, kRed));
    for (int i = 0; i < 4; ++i) bytes[10 + i] = std::uint8_t(offset >> (8 * i));
    WriteBytes(dir / name, bytes);
    return dir / name;
  };
}

LayerMaker Missing() {
  return [](const TempDir& dir, const std::string& name) { return dir / name; };
}

LayerMaker Folder() {
  return [](const TempDir& dir, const std::string& name) {
    std::filesystem::create_directory(dir / name);
    return dir / name;
  };
}

LayerMaker NegativeWidth() {
  return [](const TempDir& dir, const std::string& name) {
    auto bytes = EncodeBmp(Picture(3, 2));
    bytes[18] = 0xFD;  // -3
    bytes[19] = bytes[20] = bytes[21] = 0xFF;
    WriteBytes(dir / name, bytes);
    return dir / name;
  };
}

struct LayerCase {
  const char* name;
  std::vector<LayerMaker> layers;  // layer 0 upwards, all on
  Geometry size;                   // as the geometry check hands it to the run
  int culprit;                     // the layer the message is about
  Expected expected;
};

// 3 x 2 rows of 12 bytes: 24 bytes of pixels after the 54-byte header.
constexpr std::uint64_t kHuge = 4'500'000'054;  // 54 + 90000 x 50000: over the 4 GiB of bfSize

const LayerCase kLayerCases[] = {
    {"Missing", {Good(), Missing()}, {3, 2}, 1, kLayerNotFound},
    {"Directory", {Folder()}, {3, 2}, 0, kLayerNotFound},
    {"EmptyFile", {Bytes({})}, {3, 2}, 0, kLayerUnsupported},
    {"TooShortForASize", {Bytes({'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8})}, {3, 2}, 0,
     kLayerUnsupported},
    {"HeaderCutShort", {Good(), Variant({.cutBytes = 24 + 14})}, {3, 2}, 1, kLayerUnsupported},
    {"NotBM", {Variant({.signature = {'B', 'A'}})}, {3, 2}, 0, kLayerUnsupported},
    {"CoreHeader", {Variant({.infoSize = 12})}, {3, 2}, 0, kLayerUnsupported},
    {"EightBit", {Good(), Good(), Variant({.bitCount = 8})}, {3, 2}, 2, kLayerUnsupported},
    {"ThirtyTwoBit", {Variant({.bitCount = 32})}, {3, 2}, 0, kLayerUnsupported},
    {"RunLength", {Variant({.compression = 1})}, {3, 2}, 0, kLayerUnsupported},
    {"BitFields", {Variant({.compression = 3})}, {3, 2}, 0, kLayerUnsupported},
    {"TopDownAlone", {Variant({.topDown = true})}, {3, -2}, 0, kLayerUnsupported},
    {"NegativeWidth", {NegativeWidth()}, {-3, 2}, 0, kLayerUnsupported},
    {"RowsStartInsideTheHeaders", {PixelsAt(0)}, {3, 2}, 0, kLayerUnsupported},
    {"RowsStartInTheInfoHeader", {Good(), PixelsAt(53)}, {3, 2}, 1, kLayerUnsupported},
    {"OneByteShort", {Good(), Variant({.cutBytes = 1})}, {3, 2}, 1, kLayerTruncated},
    {"HeaderWithoutRows", {Variant({.cutBytes = 24})}, {3, 2}, 0, kLayerTruncated},
    {"RowsAfterAGapCutShort", {Variant({.gapBytes = 100, .cutBytes = 30})}, {3, 2}, 0,
     kLayerTruncated},
    {"TooLarge", {Declared(30000, 50000, kHuge)}, {30000, 50000}, 0, kPictureTooLarge},
    // Where one layer has several faults, the first of not found, unsupported, short, too
    // large is told; a size mismatch is told before any of the format faults.
    {"UnsupportedAndShort", {Variant({.bitCount = 32, .cutBytes = 10})}, {3, 2}, 0,
     kLayerUnsupported},
    {"TopDownAndShort", {Variant({.topDown = true, .cutBytes = 10})}, {3, -2}, 0,
     kLayerUnsupported},
    {"TooLargeAndShort", {Declared(30000, 50000, 54)}, {30000, 50000}, 0, kLayerTruncated},
    {"TopDownBesideBottomUp", {Good(), Variant({.topDown = true})}, {3, 2}, 1, kLayersDiffer},
    {"OtherSizeAndUnsupported", {Good(), Variant({.bitCount = 32}, 4, 2)}, {3, 2}, 1,
     kLayersDiffer},
    {"OtherSizeAndShort", {Good(), Variant({.cutBytes = 5}, 3, 3)}, {3, 2}, 1, kLayersDiffer},
    {"TooLargeBesideSmall", {Good(), Declared(30000, 50000, kHuge)}, {3, 2}, 1, kLayersDiffer},
    {"MissingAfterUnsupported", {Variant({.bitCount = 8}), Missing()}, {3, 2}, 1,
     kLayerNotFound},
};

void PrintTo(const LayerCase& c, std::ostream* out) { *out << c.name; }

// The result of an earlier run that a failed run must leave as it was.
std::vector<std::uint8_t> EarlierResult() { return EncodeBmp(Picture(2, 2, kRed)); }

void ExpectMessage(const TestHost& host, const Expected& expected, const std::string& path) {
  ASSERT_EQ(host.messages.size(), 1u);
  const Message& message = host.messages[0];
  EXPECT_EQ(message.text, expected.text);
  EXPECT_EQ(message.caption, expected.caption);
  std::string shown = expected.text;
  if (const auto at = shown.find("%s"); at != std::string::npos) shown.replace(at, 2, path);
  EXPECT_EQ(FormatMessageText(message), shown);
}

class BadLayers : public ::testing::TestWithParam<LayerCase> {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};
};

TEST_P(BadLayers, MessageAndEarlierResultKept) {
  const LayerCase& c = GetParam();
  host.currentDirectory = dir.path().string();
  for (std::size_t i = 0; i < c.layers.size(); ++i)
    EnableLayer(job, int(i), c.layers[i](dir, "layer" + std::to_string(i) + ".bmp"));
  const std::string result = dir / "fwrite.bmp";
  WriteBytes(result, EarlierResult());
  const auto namesBefore = NamesIn(dir.path());

  const Status status = RunComposition(c.size.width, c.size.height, job, {}, host);
  EXPECT_EQ(status.fault, c.expected.fault);
  ExpectMessage(host, c.expected, job.layerPath[c.culprit]);
  EXPECT_EQ(MessageFor(status).text, host.messages.at(0).text);
  EXPECT_EQ(host.temporaryFilesCreated, 0) << "output begun before every layer was checked";
  EXPECT_EQ(ReadBytes(result), EarlierResult());
  EXPECT_EQ(NamesIn(dir.path()), namesBefore);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadLayers, ::testing::ValuesIn(kLayerCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Outputs that cannot be had. The target is given as a preview path, so any path can be tried.
struct OutputCase {
  const char* name;
  Geometry size;  // a layer of this size is on when the size is usable
  std::function<std::string(const TempDir&)> target;
  Expected expected;
};

void PrintTo(const OutputCase& c, std::ostream* out) { *out << c.name; }

const OutputCase kOutputCases[] = {
    {"InsideAMissingFolder", {3, 2}, [](const TempDir& d) { return d / "no-such/out.bmp"; },
     kOutputOpen},
    {"ADirectory", {3, 2},
     [](const TempDir& d) {
       std::filesystem::create_directory(d / "folder");
       return d / "folder";
     },
     kOutputOpen},
    // A small picture fails when the stream is closed, a large one while it is written.
    {"FullDeviceSmall", {3, 2}, [](const TempDir&) { return std::string("/dev/full"); },
     kOutputWrite},
    {"FullDeviceLarge", {1000, 1000}, [](const TempDir&) { return std::string("/dev/full"); },
     kOutputWrite},
    {"BeyondTheBmpSizeField", {4, 357913937}, [](const TempDir& d) { return d / "out.bmp"; },
     kPictureTooLarge},
    {"NegativeWidth", {-1, 2}, [](const TempDir& d) { return d / "out.bmp"; }, kPictureTooLarge},
    {"NegativeHeight", {2, -1}, [](const TempDir& d) { return d / "out.bmp"; },
     kPictureTooLarge},
};

class BadOutputs : public ::testing::TestWithParam<OutputCase> {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};
};

TEST_P(BadOutputs, MessageAndNothingLeftBehind) {
  const OutputCase& c = GetParam();
  WriteBytes(dir / "out.bmp", EarlierResult());
  const std::string target = c.target(dir);
  struct stat before {};
  const bool existed = stat(target.c_str(), &before) == 0;
  if (c.expected.fault != Fault::TooLarge)
    EnableLayer(job, 0, WriteLayer(dir, "layer.bmp", Picture(c.size.width, c.size.height, kRed)));
  const auto namesBefore = NamesIn(dir.path());

  const Status status =
      RunComposition(c.size.width, c.size.height, job, {TargetKind::Preview, target}, host);
  EXPECT_EQ(status.fault, c.expected.fault);
  EXPECT_FALSE(host.replacedSpecialFile);
  ExpectMessage(host, c.expected, target);
  EXPECT_EQ(ReadBytes(dir / "out.bmp"), EarlierResult());
  EXPECT_EQ(NamesIn(dir.path()), namesBefore);
  // A device or folder given as the output is still what it was.
  struct stat after {};
  EXPECT_EQ(stat(target.c_str(), &after) == 0, existed);
  if (existed) {
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, BadOutputs, ::testing::ValuesIn(kOutputCases),
                         [](const auto& info) { return std::string(info.param.name); });

class FailedWrites : public ::testing::Test {
 protected:
  TempDir dir;
  TestHost host;
  CompositeJob job{};
  const std::string target = dir / "out.bmp";

  void SetUp() override {
    WriteBytes(target, EarlierResult());
    EnableLayer(job, 0, WriteLayer(dir, "layer.bmp", Picture(100, 100, kBlue)));
  }
  Status Run() { return RunComposition(100, 100, job, {TargetKind::Preview, target}, host); }
  void ExpectNothingLost() {
    EXPECT_EQ(ReadBytes(target), EarlierResult());
    EXPECT_EQ(NamesIn(dir.path()), (std::set<std::string>{"layer.bmp", "out.bmp"}));
  }
};

// A disk that fills up while the result is written, shown by a limit on the file size.
TEST_F(FailedWrites, DiskFullMidwayKeepsTheEarlierResult) {
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);  // fail the write, not the process
  rlimit limited = previous;
  limited.rlim_cur = 10000;  // the picture needs 30054 bytes
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const Status status = Run();
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(status.fault, Fault::OutputWriteFailed);
  ExpectMessage(host, kOutputWrite, target);
  ExpectNothingLost();
}

TEST_F(FailedWrites, TargetThatCannotBeReplacedKeepsTheEarlierResult) {
  host.refuseReplace = true;
  EXPECT_EQ(Run().fault, Fault::OutputOpenFailed);
  ExpectMessage(host, kOutputOpen, target);
  ExpectNothingLost();
}

}  // namespace
}  // namespace varnowel::test
