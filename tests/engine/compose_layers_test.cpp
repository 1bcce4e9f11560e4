// Composing layer files into a BMP: exact bytes, round trips, bands, layer order, header kinds.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine_helpers.h"
#include "native_platform.h"
#include "test_host.h"
#include "varnowel/bmp_layout.h"
#include "varnowel/composition.h"

namespace varnowel::test {
namespace {

std::string SizeName(const ::testing::TestParamInfo<std::pair<std::int32_t, std::int32_t>>& info) {
  return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
}

// An asymmetric picture whose three channels differ everywhere: a mirrored row order, a
// mirrored column or swapped blue and red all show. Never pure white.
Picture Pattern(std::int32_t width, std::int32_t height) {
  Picture picture(width, height);
  for (std::int32_t row = 0; row < height; ++row) {
    for (std::int32_t x = 0; x < width; ++x) {
      picture.at(x, row) = {std::uint8_t((40 + 3 * x + 50 * row) % 250), std::uint8_t(7 * x + row / 256),
                            std::uint8_t(200 - 11 * row)};
    }
  }
  return picture;
}

Status ComposeFiles(Geometry size, const std::vector<LayerSource>& layers, const std::string& output) {
  NativePlatform platform;
  return ComposeLayers(size, layers, output, platform);
}

class Compose : public ::testing::Test {
 protected:
  TempDir dir;
  const std::string output = dir / "out.bmp";
};

TEST_F(Compose, OnePixelWideTwoRowsHighExactBytes) {
  Picture picture(1, 2);
  picture.at(0, 0) = kRed;  // bottom row
  picture.at(0, 1) = kBlue;
  const std::string layer = WriteLayer(dir, "layer.bmp", picture);
  ASSERT_TRUE(ComposeFiles({1, 2}, {{layer}}, output).ok());

  const auto header = bmp::MakeHeader(1, 2);
  std::vector<std::uint8_t> expected(header.begin(), header.end());
  expected.insert(expected.end(), {0, 0, 255, 0, 255, 0, 0, 0});  // B, G, R, one fill byte
  const auto bytes = ReadBytes(output);
  EXPECT_EQ(bytes, expected);
  ASSERT_EQ(bytes.size(), 62u);
  EXPECT_EQ(bytes[2], 62);  // bfSize
}

class RoundTrip : public Compose,
                  public ::testing::WithParamInterface<std::pair<std::int32_t, std::int32_t>> {};

TEST_P(RoundTrip, OpaqueLayerComesBackUnchanged) {
  const auto [width, height] = GetParam();
  const Picture picture = Pattern(width, height);
  ASSERT_TRUE(ComposeFiles({width, height}, {{WriteLayer(dir, "layer.bmp", picture)}}, output).ok());
  const auto bytes = ReadBytes(output);
  EXPECT_EQ(bytes.size(), bmp::FileSize(width, height));
  EXPECT_EQ(DecodeBmp(bytes), picture);
  const std::size_t stride = bmp::RowStride(width);
  for (std::int32_t row = 0; row < height; ++row) {
    for (std::size_t fill = bmp::RowBytes(width); fill < stride; ++fill)
      EXPECT_EQ(bytes[54 + row * stride + fill], 0) << "row " << row << " byte " << fill;
  }
}

INSTANTIATE_TEST_SUITE_P(OddAndEvenWidths, RoundTrip,
                         ::testing::Values(std::pair{1, 1}, std::pair{2, 3}, std::pair{3, 2},
                                           std::pair{4, 1}, std::pair{5, 3}, std::pair{7, 5}),
                         SizeName);

TEST_F(Compose, FillBytesOfALayerDoNotReachTheOutput) {
  const Picture picture = Pattern(3, 2);
  auto bytes = EncodeBmp(picture);
  bytes[54 + 9] = bytes[54 + 10] = bytes[54 + 11] = 0xEE;
  bytes[54 + 21] = 0xEE;
  WriteBytes(dir / "layer.bmp", bytes);
  ASSERT_TRUE(ComposeFiles({3, 2}, {{dir / "layer.bmp"}}, output).ok());
  const auto written = ReadBytes(output);
  ASSERT_EQ(written.size(), 54u + 24u);
  for (std::size_t at : {63u, 64u, 65u, 75u, 76u, 77u}) EXPECT_EQ(written[at], 0) << at;
  EXPECT_EQ(DecodeBmp(written), picture);
}

TEST_F(Compose, NoLayersGiveAWhiteCanvas) {
  ASSERT_TRUE(ComposeFiles({3, 2}, {}, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)), Picture(3, 2, kWhite));
}

class ZeroSize : public Compose,
                 public ::testing::WithParamInterface<std::pair<std::int32_t, std::int32_t>> {};

TEST_P(ZeroSize, HeaderAlone) {
  const auto [width, height] = GetParam();
  std::vector<LayerSource> layers;
  layers.push_back({WriteLayer(dir, "layer.bmp", Picture(width, height))});
  for (std::size_t count : {0u, 1u}) {
    SCOPED_TRACE(::testing::Message() << count << " layers");
    const std::vector<LayerSource> some(layers.begin(), layers.begin() + count);
    ASSERT_TRUE(ComposeFiles({width, height}, some, output).ok());
    const auto header = bmp::MakeHeader(width, height);
    EXPECT_EQ(ReadBytes(output), std::vector<std::uint8_t>(header.begin(), header.end()));
    EXPECT_EQ(header[2], 54);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ZeroSize,
                         ::testing::Values(std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 4}),
                         SizeName);

// Bands hold about 1 MiB of rows; these pictures take two or more, the last one partly filled.
class TallPicture : public Compose,
                    public ::testing::WithParamInterface<std::pair<std::int32_t, std::int32_t>> {};

TEST_P(TallPicture, EveryBandIsReadBlendedAndWritten) {
  const auto [width, height] = GetParam();
  // White rows in every band: each band must start from a white canvas of its own.
  Picture base = Pattern(width, height);
  for (std::int32_t row = 0; row < height; row += 3) {
    for (std::int32_t x = 0; x < width; ++x) base.at(x, row) = kWhite;
  }
  Picture marks(width, height, kWhite);
  Picture expected = base;
  for (std::int32_t row = 0; row < height; row += 7) {
    const Pixel mark{0, std::uint8_t(row), std::uint8_t(row >> 8)};
    marks.at(row % width, row) = mark;
    expected.at(row % width, row) = mark;
  }
  const std::vector<LayerSource> layers = {{WriteLayer(dir, "base.bmp", base)},
                                           {WriteLayer(dir, "marks.bmp", marks)}};
  ASSERT_TRUE(ComposeFiles({width, height}, layers, output).ok());
  EXPECT_TRUE(DecodeBmp(ReadBytes(output)) == expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TallPicture,
                         ::testing::Values(std::pair{3000, 200}, std::pair{1, 262144 + 5}),
                         SizeName);

TEST_F(Compose, LaterLayersEndOnTopAndWhiteShowsThrough) {
  const Pixel a{10, 20, 30}, b{40, 50, 60}, c{70, 80, 90};
  Picture layer0(3, 1, a), layer1(3, 1), layer2(3, 1);
  layer1.at(0, 0) = b;
  layer1.at(1, 0) = b;
  layer2.at(0, 0) = c;
  layer0.at(2, 0) = kWhite;
  const std::vector<LayerSource> layers = {{WriteLayer(dir, "0.bmp", layer0)},
                                           {WriteLayer(dir, "1.bmp", layer1)},
                                           {WriteLayer(dir, "2.bmp", layer2)}};

  ASSERT_TRUE(ComposeFiles({3, 1}, {layers[0], layers[1]}, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)).pixels, (std::vector<Pixel>{b, b, kWhite}));
  ASSERT_TRUE(ComposeFiles({3, 1}, layers, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)).pixels, (std::vector<Pixel>{c, b, kWhite}));
}

TEST_F(Compose, EachLayerBlendsOntoWhatTheEarlierOnesLeft) {
  const Picture black(1, 1, {0, 0, 0});
  const std::string layer = WriteLayer(dir, "black.bmp", black);
  // 255 x 50 / 100 = 127, then 127 x 50 / 100 = 63.
  ASSERT_TRUE(ComposeFiles({1, 1}, {{layer, 50}, {layer, 50}}, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)).pixels, (std::vector<Pixel>{{63, 63, 63}}));
}

TEST_F(Compose, GrayscaleTurnsOnlyItsOwnLayerGray) {
  Picture colour(3, 1), grayed(3, 1);
  colour.at(0, 0) = {10, 20, 31};
  grayed.at(1, 0) = {0, 128, 255};
  const std::vector<LayerSource> layers = {{WriteLayer(dir, "colour.bmp", colour), 0, false},
                                           {WriteLayer(dir, "gray.bmp", grayed), 0, true}};
  ASSERT_TRUE(ComposeFiles({3, 1}, layers, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)).pixels,
            (std::vector<Pixel>{{10, 20, 31}, {127, 127, 127}, kWhite}));
}

struct HeaderKind {
  const char* name;
  BmpVariant variant;
};

class LargerHeaders : public Compose, public ::testing::WithParamInterface<HeaderKind> {};

TEST_P(LargerHeaders, RowsAreReadFromTheirOffset) {
  const Picture picture = Pattern(5, 3);
  const std::string layer = WriteLayer(dir, "layer.bmp", picture, GetParam().variant);
  ASSERT_TRUE(ComposeFiles({5, 3}, {{layer}}, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)), picture);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LargerHeaders,
    ::testing::Values(HeaderKind{"V4Header", {.infoSize = 108}},
                      HeaderKind{"V5Header", {.infoSize = 124}},
                      HeaderKind{"GapAfterHeader", {.gapBytes = 1024}},
                      HeaderKind{"V5HeaderAndOddGap", {.infoSize = 124, .gapBytes = 7}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Compose, ThePreviousOutputCanBeALayerOfTheNext) {
  const Picture first = Pattern(3, 2);
  ASSERT_TRUE(ComposeFiles({3, 2}, {{WriteLayer(dir, "first.bmp", first)}}, output).ok());
  Picture marks(3, 2);
  marks.at(2, 1) = {1, 2, 3};
  Picture expected = first;
  expected.at(2, 1) = {1, 2, 3};
  ASSERT_TRUE(ComposeFiles({3, 2}, {{output}, {WriteLayer(dir, "marks.bmp", marks)}}, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)), expected);
}

TEST_F(Compose, ReplacesAnExistingFileAndLeavesNothingElse) {
  WriteBytes(output, {'o', 'l', 'd'});
  const std::string layer = WriteLayer(dir, "layer.bmp", Pattern(2, 2));
  ASSERT_TRUE(ComposeFiles({2, 2}, {{layer}}, output).ok());
  EXPECT_EQ(DecodeBmp(ReadBytes(output)), Pattern(2, 2));
  EXPECT_EQ(NamesIn(dir.path()), (std::set<std::string>{"layer.bmp", "out.bmp"}));
}

TEST_F(Compose, ResultHasTheModeOfANewlyCreatedFile) {
  ASSERT_TRUE(ComposeFiles({1, 1}, {}, output).ok());
  const mode_t mask = umask(0);
  umask(mask);
  struct stat info {};
  ASSERT_EQ(stat(output.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST_F(Compose, DeviceOutputIsWrittenInPlace) {
  TestHost host;
  const LayerSource layers[] = {{WriteLayer(dir, "layer.bmp", Pattern(2, 2))}};
  EXPECT_TRUE(ComposeLayers({2, 2}, layers, "/dev/null", host).ok());
  EXPECT_FALSE(host.replacedSpecialFile);
  struct stat info {};
  ASSERT_EQ(stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  for (const std::string& name : NamesIn("/dev"))
    EXPECT_EQ(name.find(".varnowel"), std::string::npos) << name;
}

}  // namespace
}  // namespace varnowel::test
